#pragma once
// Fuzz entry: a virtual-logger profile, and a logger built from a profile
// that reads (its status, schedule and reading lines). The files a profile
// names are looked up in a folder of its own holding one small memory image
// and one status reply; separators are taken out of the text so that no
// name reaches outside that folder.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/clock.h"
#include "entry_support.h"
#include "sim/logger_profile.h"
#include "sim/logger_state.h"
#include "sim/status_reply.h"

namespace brevik::fuzzing {

inline std::filesystem::path profileFilesFolder() {
  static const ScratchFolder folder("brevik-fuzz-profile");
  static const bool written = [] {
    std::ofstream(folder.path() / "memory.bin", std::ios::binary) << std::string(300, '\x5A');
    std::ofstream(folder.path() / "status.txt", std::ios::binary) << std::string(250, '0') << "5\r\n";
    return true;
  }();
  (void)written;
  return folder.path();
}

inline void readLoggerProfile(const std::uint8_t* data, std::size_t size) {
  std::string text(bytesAsText(data, size));
  std::replace(text.begin(), text.end(), '/', '_');
  std::replace(text.begin(), text.end(), '\\', '_');
  const auto profile = sim::parseLoggerProfile(text, "fuzz.logger", profileFilesFolder());
  if (!profile) {
    require(!profile.error().message.empty());
    return;
  }
  require(profile->resolution == 8 || profile->resolution == 10 || profile->resolution == 12);
  require(profile->memoryImage.size() <= 4 * sim::kBankBytes);
  const DateTime june{2003, 6, 3, 9, 5, 0, 0, 2};
  const sim::LoggerState state = sim::LoggerState::fromProfile(*profile, june);
  require(sim::statusReplyText(state, 0).size() >= 250);
  (void)sim::scheduleReplyLine(state);
  (void)sim::readingLine(state, 0);
  (void)profile->effectiveIdent();
}

}  // namespace brevik::fuzzing
