#pragma once
// Fuzz entry: a ports.ini typed by hand, read for both namings; every COM
// port gets a device, and no entry names an empty one.

#include "entry_support.h"
#include "link/port_map.h"

namespace brevik::fuzzing {

inline void readPortMap(const std::uint8_t* data, std::size_t size) {
  for (const auto naming : {link::DeviceNaming::Posix, link::DeviceNaming::Windows}) {
    const link::PortMap map = link::PortMap::parse(bytesAsText(data, size), naming);
    for (link::PortNumber port = 0; port <= 11; ++port) {
      if (const auto entry = map.entry(port)) require(!entry->empty() && entry->find('\0') == std::string::npos);
      require(!map.deviceFor(port).empty());
    }
    (void)link::isVirtualLoggerDevice(map.deviceFor(1));
  }
}

}  // namespace brevik::fuzzing
