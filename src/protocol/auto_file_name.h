#pragma once
// The data file name of an auto-answered call: the site part of the session
// description, a six-digit counter and ".qx1".

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace brevik::protocol {

inline constexpr std::uint32_t kAutoFileCounterLimit = 999999;

// The base name: the text after the first ';' with trailing blanks removed,
// or "A" without ';'. The description comes from the logger, so characters a
// file name cannot hold (path separators, ':', '*', '?', '"', '<', '>', '|',
// control characters) and ".." become '_'; an ordinary name is kept as it is.
std::string autoFileBaseName(std::string_view sessionDescription);

struct AutoFileName {
  std::string fileName;       // e.g. "siteB000001.qx1"
  std::uint32_t counter = 0;  // the AutoFileCounter to store
};

// Counts on from `counter` (999999 wraps to 0) until `exists` says no file
// of that name is there. When every number is taken the last one tried is
// returned.
AutoFileName nextAutoFileName(std::string_view sessionDescription, std::uint32_t counter,
                              const std::function<bool(const std::string&)>& exists);

}  // namespace brevik::protocol
