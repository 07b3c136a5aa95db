// kaldo ports [--json] [--dev-root DIR] [--sys-root DIR]: the serial devices
// of this machine - their /dev/serial/by-id names, and for USB adapters the
// vendor, product and serial number that name them for good - then what
// COM1 to COM10 are in the home's ports.ini. The roots stand in for /dev and
// /sys (a chroot, a copy of another machine's tree, a test).

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/status_printing.h"
#include "link/serial_devices.h"
#include "program/port_choice.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "ports";
constexpr const char* kUsage = "usage: kaldo ports [--json] [--dev-root DIR] [--sys-root DIR]\n";

nlohmann::json deviceJson(const link::SerialDevice& d) {
  nlohmann::json usb = nullptr;
  if (d.isUsb())
    usb = {{"vendor_id", d.vendorId},       {"product_id", d.productId},
           {"manufacturer", d.manufacturer}, {"product", d.product},
           {"serial_number", d.serialNumber}};
  return {{"name", d.name}, {"path", d.path}, {"by_id", d.byId}, {"driver", d.driver}, {"usb", usb}};
}

void printJson(const std::vector<link::SerialDevice>& devices, const std::vector<program::PortDevice>& ports,
               unsigned settingsPort, std::ostream& out) {
  nlohmann::json doc;
  doc["devices"] = nlohmann::json::array();
  for (const auto& d : devices) doc["devices"].push_back(deviceJson(d));
  doc["ports"] = nlohmann::json::array();
  for (std::size_t i = 0; i < ports.size(); ++i) {
    const program::PortDevice& p = ports[i];
    const unsigned number = static_cast<unsigned>(i + 1);
    // ports.ini is the user's text: shown as the console shows it.
    doc["ports"].push_back({{"port", "COM" + std::to_string(number)},
                            {"number", number},
                            {"entry", consoleText(p.entry)},
                            {"device", consoleText(p.device)},
                            {"virtual_logger", p.virtualLogger},
                            {"present", p.present},
                            {"device_name", p.known ? nlohmann::json(p.known->name) : nlohmann::json(nullptr)},
                            {"settings_port", number == settingsPort}});
  }
  // sysfs texts come from the adapters themselves: invalid UTF-8 is replaced
  // rather than refused.
  out << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
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
  bool json = false;
  link::DeviceRoots roots;
  for (std::size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    if (a == "--json") {
      json = true;
    } else if ((a == "--dev-root" || a == "--sys-root") && i + 1 < ctx.args.size() && !ctx.args[i + 1].empty()) {
      (a == "--dev-root" ? roots.dev : roots.sys) = ctx.args[++i];
    } else {
      err << "kaldo " << kName << ": unexpected argument '" << a << "'\n" << kUsage;
      return kExitUsage;
    }
  }
  const auto devices = link::listSerialDevices(roots);
  const auto ports = program::programPorts(ctx.home, roots);
  const unsigned settingsPort = settings::loadSettings(ctx.home).PortNumber & 0xFFFF;
  if (json) printJson(devices, ports, settingsPort, *ctx.out);
  else printText(devices, ports, settingsPort, *ctx.out);
  return kExitOk;
}

}  // namespace

KALDO_COMMAND(kName, "[--json] [--dev-root DIR] [--sys-root DIR]",
              "list the serial devices (by-id names, USB vendor, product and serial number) and what COM1-COM10 are",
              run);

}  // namespace brevik::cli
