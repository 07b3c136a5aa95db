#pragma once
// What kaldo receive writes about the blocks received. On a terminal, one bar
// redrawn in place; anywhere else (a log, a pipe, a CI capture) redrawing
// only piles up carriage returns, so at most one plain line per tenth of the
// work is written, the last at 100 %.

#include <cstdint>
#include <optional>
#include <string>

namespace brevik::cli {

class DownloadProgress {
 public:
  explicit DownloadProgress(bool terminal) : terminal_(terminal) {}

  // The text to write now that `done` of `total` blocks have arrived, or
  // nothing. A total of 0, or a count past it, is the end of the work.
  std::optional<std::string> update(std::uint32_t done, std::uint32_t total);

 private:
  bool terminal_;
  int tenthsWritten_ = 0;
};

}  // namespace brevik::cli
