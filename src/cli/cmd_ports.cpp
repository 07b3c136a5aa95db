// kaldo ports [--json] [--dev-root DIR] [--sys-root DIR]: the serial devices
// of this machine - their /dev/serial/by-id names, and for USB adapters the
// vendor, product and serial number that name them for good - then what
// COM1 to COM10 are in the home's ports.ini. The roots stand in for /dev and
// /sys (a chroot, a copy of another machine's tree, a test).

#include <ostream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/json_output.h"
#include "cli/status_printing.h"
#include "link/serial_devices.h"
#include "program/port_choice.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "ports";
constexpr const char* kUsage = "usage: kaldo ports [--json] [--dev-root DIR] [--sys-root DIR]\n";

json::Value textList(const std::vector<std::string>& texts) {
  json::Value list = json::Value::array();
  for (const std::string& t : texts) list.push(json::Value::utf8(t));
  return list;
}

json::Value deviceJson(const link::SerialDevice& d) {
  json::Value usb;
  // sysfs texts come from the adapters themselves: bytes that are not UTF-8
  // are replaced when printed rather than refused.
  if (d.isUsb())
    usb = json::Value::object()
              .set("vendorId", json::Value::utf8(d.vendorId))
              .set("productId", json::Value::utf8(d.productId))
              .set("manufacturer", json::Value::utf8(d.manufacturer))
              .set("product", json::Value::utf8(d.product))
              .set("serialNumber", json::Value::utf8(d.serialNumber));
  return json::Value::object()
      .set("name", json::Value::utf8(d.name))
      .set("path", json::Value::utf8(d.path))
      .set("byId", textList(d.byId))
      .set("driver", json::Value::utf8(d.driver))
      .set("usb", std::move(usb));
}

void printJson(const std::vector<link::SerialDevice>& devices, const std::vector<program::PortDevice>& ports,
               unsigned settingsPort, std::ostream& out) {
  json::Value deviceList = json::Value::array();
  for (const auto& d : devices) deviceList.push(deviceJson(d));
  json::Value portList = json::Value::array();
  for (std::size_t i = 0; i < ports.size(); ++i) {
    const program::PortDevice& p = ports[i];
    const unsigned number = static_cast<unsigned>(i + 1);
    // ports.ini is the user's text, held as the home's files are.
    portList.push(json::Value::object()
                      .set("port", json::Value::utf8("COM" + std::to_string(number)))
                      .set("number", json::Value::integer(number))
                      .set("entry", json::Value::text(p.entry))
                      .set("device", json::Value::text(p.device))
                      .set("virtualLogger", json::Value::boolean(p.virtualLogger))
                      .set("present", json::Value::boolean(p.present))
                      .set("deviceName", p.known ? json::Value::utf8(p.known->name) : json::Value())
                      .set("settingsPort", json::Value::boolean(number == settingsPort)));
  }
  json::printDocument(out, json::Value::object().set("devices", std::move(deviceList)).set("ports", std::move(portList)));
}

void printText(const std::vector<link::SerialDevice>& devices, const std::vector<program::PortDevice>& ports,
               unsigned settingsPort, std::ostream& out) {
  if (devices.empty()) out << "No serial devices found.\n";
  else out << "Serial devices:\n";
  for (const auto& d : devices) {
    out << "  " << d.path << "  " << link::describeDevice(d) << "\n";
    for (const std::string& byId : d.byId) out << "      " << byId << "\n";
  }
  out << "\nPorts (ports.ini in the home; usb:SERIAL or a by-id path stay with the adapter):\n";
  for (std::size_t i = 0; i < ports.size(); ++i) {
    const unsigned number = static_cast<unsigned>(i + 1);
    std::string head = "  COM" + std::to_string(number);
    head.resize(8, ' ');
    out << head << consoleText(program::describePort(ports[i]))
        << (number == settingsPort ? "   (the settings' port)" : "") << "\n";
  }
}

int run(Context& ctx) {
  std::ostream& err = *ctx.err;
  link::DeviceRoots roots;
  for (std::size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    if ((a == "--dev-root" || a == "--sys-root") && i + 1 < ctx.args.size() && !ctx.args[i + 1].empty()) {
      (a == "--dev-root" ? roots.dev : roots.sys) = ctx.args[++i];
    } else {
      err << "kaldo " << kName << ": unexpected argument '" << a << "'\n" << kUsage;
      return kExitUsage;
    }
  }
  const auto devices = link::listSerialDevices(roots);
  const auto ports = program::programPorts(ctx.home, roots);
  const unsigned settingsPort = settings::loadSettings(ctx.home).PortNumber & 0xFFFF;
  if (ctx.json) printJson(devices, ports, settingsPort, *ctx.out);
  else printText(devices, ports, settingsPort, *ctx.out);
  return kExitOk;
}

}  // namespace

KALDO_COMMAND(kName, "[--dev-root DIR] [--sys-root DIR]",
              "list the serial devices (by-id names, USB vendor, product and serial number) and what COM1-COM10 are",
              run, kPrintsJson);

}  // namespace brevik::cli
