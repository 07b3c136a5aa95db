#include "link/port_map.h"

#include <charconv>

#include "common/files.h"

namespace brevik::link {

namespace {

std::string_view trimmed(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

PortMap PortMap::parse(std::string_view text, DeviceNaming naming) {
  PortMap map(naming);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = trimmed(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == '#' || line.front() == ';' || line.front() == '[') continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const auto port = comPortNumber(trimmed(line.substr(0, eq)));
    const std::string_view device = trimmed(line.substr(eq + 1));
    // A NUL would cut the name short at the operating system: not a device.
    if (!port || device.empty() || device.find('\0') != std::string_view::npos) continue;
    map.set(*port, std::string(device));
  }
  return map;
}

PortMap PortMap::load(const std::filesystem::path& homeDir, DeviceNaming naming) {
  // A ports.ini larger than this is not a port map anyone wrote.
  constexpr std::size_t kMaxBytes = 64 * 1024;
  auto text = files::readPrefix(homeDir / kPortMapFileName, kMaxBytes);
  if (!text) return PortMap(naming);
  return parse(*text, naming);
}

std::optional<std::string> PortMap::entry(PortNumber port) const {
  const auto it = entries_.find(port);
  if (it == entries_.end()) return std::nullopt;
  return it->second;
}

std::string PortMap::deviceFor(PortNumber port) const {
  if (auto e = entry(port)) return *e;
  return defaultDeviceName(port, naming_);
}

std::string defaultDeviceName(PortNumber port, DeviceNaming naming) {
  if (naming == DeviceNaming::Windows) return "COM" + std::to_string(port);
  // COM0 does not exist; it keeps a name that no device has.
  if (port == 0) return "COM0";
  return "/dev/ttyS" + std::to_string(port - 1);
}

std::optional<PortNumber> comPortNumber(std::string_view name) {
  if (name.size() < 4) return std::nullopt;
  for (std::size_t i = 0; i < 3; ++i) {
    const char c = static_cast<char>(name[i] | 0x20);
    if (c != "com"[i]) return std::nullopt;
  }
  const std::string_view digits = name.substr(3);
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (value < 1 || value > 0xFFFF) return std::nullopt;
  return static_cast<PortNumber>(value);
}

bool isVirtualLoggerDevice(std::string_view device) {
  return device == "sim" || device.rfind("sim:", 0) == 0;
}

}  // namespace brevik::link
