#include "link/serial_devices.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace brevik::link {

namespace fs = std::filesystem;

namespace {

// The first line of a sysfs attribute; empty when it is missing. Attributes
// are short: anything longer is cut.
std::string attribute(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::string line;
  std::getline(in, line);
  if (line.size() > 256) line.resize(256);
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
  return line;
}

fs::path canonicalOrEmpty(const fs::path& p) {
  std::error_code ec;
  fs::path c = fs::canonical(p, ec);
  return ec ? fs::path() : c;
}

// The USB device a tty hangs from: the nearest directory above its device
// that has a vendor id, without leaving the sysfs root.
fs::path usbDeviceAbove(const fs::path& deviceDir, const fs::path& sysRoot) {
  std::error_code ec;
  for (fs::path dir = deviceDir; !dir.empty() && dir != sysRoot && dir != dir.root_path(); dir = dir.parent_path()) {
    if (fs::is_regular_file(dir / "idVendor", ec)) return dir;
  }
  return {};
}

void describeFromSysfs(SerialDevice& d, const fs::path& classEntry, const fs::path& sysRoot) {
  const fs::path deviceDir = canonicalOrEmpty(classEntry / "device");
  std::error_code ec;
  const fs::path driver = fs::read_symlink(deviceDir / "driver", ec);
  if (!ec) d.driver = driver.filename().string();
  const fs::path usb = usbDeviceAbove(deviceDir, sysRoot);
  if (usb.empty()) return;
  d.vendorId = attribute(usb / "idVendor");
  d.productId = attribute(usb / "idProduct");
  d.manufacturer = attribute(usb / "manufacturer");
  d.product = attribute(usb / "product");
  d.serialNumber = attribute(usb / "serial");
}

// Whether a tty of the class is a port: it has a device behind it, and an
// 8250 UART of unknown type (type 0) is a name the kernel keeps for a port
// that is not fitted.
bool isPort(const fs::path& classEntry) {
  std::error_code ec;
  if (!fs::exists(classEntry / "device", ec)) return false;
  return attribute(classEntry / "type") != "0";
}

}  // namespace

std::vector<SerialDevice> listSerialDevices(const DeviceRoots& roots) {
  std::vector<SerialDevice> devices;
  const fs::path sysRoot = canonicalOrEmpty(roots.sys);
  std::error_code ec;
  for (auto it = fs::directory_iterator(roots.sys / "class" / "tty", ec);
       !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::path entry = it->path();
    if (!isPort(entry)) continue;
    SerialDevice d;
    d.name = entry.filename().string();
    d.path = (roots.dev / d.name).string();
    describeFromSysfs(d, entry, sysRoot);
    devices.push_back(std::move(d));
  }
  std::sort(devices.begin(), devices.end(),
            [](const SerialDevice& a, const SerialDevice& b) { return a.name < b.name; });

  const fs::path byIdDir = roots.dev / "serial" / "by-id";
  std::vector<fs::path> links;
  for (auto it = fs::directory_iterator(byIdDir, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
    links.push_back(it->path());
  std::sort(links.begin(), links.end());
  for (const fs::path& link : links) {
    std::error_code linkError;
    const fs::path target = fs::read_symlink(link, linkError);
    if (linkError) continue;
    const std::string name = target.filename().string();
    for (SerialDevice& d : devices)
      if (d.name == name) d.byId.push_back(link.string());
  }
  return devices;
}

std::optional<std::string_view> usbSerialOf(std::string_view device) {
  constexpr std::string_view prefix = "usb:";
  if (device.size() <= prefix.size() || device.substr(0, prefix.size()) != prefix) return std::nullopt;
  return device.substr(prefix.size());
}

std::optional<std::string> pathOfUsbSerial(const std::vector<SerialDevice>& devices,
                                           std::string_view serialNumber) {
  if (serialNumber.empty()) return std::nullopt;
  for (const SerialDevice& d : devices) {
    if (!d.isUsb() || d.serialNumber != serialNumber) continue;
    return d.byId.empty() ? d.path : d.byId.front();
  }
  return std::nullopt;
}

const SerialDevice* deviceAtPath(const std::vector<SerialDevice>& devices, const std::string& path) {
  const fs::path resolved = canonicalOrEmpty(path);
  for (const SerialDevice& d : devices) {
    if (d.path == path || std::find(d.byId.begin(), d.byId.end(), path) != d.byId.end()) return &d;
    if (!resolved.empty() && canonicalOrEmpty(d.path) == resolved) return &d;
  }
  return nullptr;
}

std::string describeDevice(const SerialDevice& d) {
  if (!d.isUsb()) return d.driver.empty() ? "serial port" : "serial port, driver " + d.driver;
  std::string text = d.manufacturer;
  if (!d.product.empty()) text += (text.empty() ? "" : " ") + d.product;
  if (text.empty()) text = "USB device";
  if (!d.serialNumber.empty()) text += ", serial " + d.serialNumber;
  return text + " (" + d.vendorId + ":" + d.productId + ")";
}

}  // namespace brevik::link
