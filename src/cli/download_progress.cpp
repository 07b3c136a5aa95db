#include "cli/download_progress.h"

namespace brevik::cli {

std::optional<std::string> DownloadProgress::update(std::uint32_t done, std::uint32_t total) {
  const bool finished = total == 0 || done >= total;
  if (terminal_) {
    constexpr std::uint32_t kWidth = 40;
    const auto filled = finished ? kWidth : static_cast<std::uint32_t>(std::uint64_t{done} * kWidth / total);
    return "\r  [" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] " +
           std::to_string(done) + "/" + std::to_string(total) + " blocks" + (finished ? "\n" : "");
  }
  // 64-bit products: a count near the top of its range must not wrap.
  const auto percent = finished ? 100 : static_cast<int>(std::uint64_t{done} * 100 / total);
  const int tenths = percent / 10;
  if (tenths <= tenthsWritten_) return std::nullopt;
  tenthsWritten_ = tenths;
  return "  " + std::to_string(percent) + "% " + std::to_string(done) + "/" + std::to_string(total) +
         " blocks\n";
}

}  // namespace brevik::cli
