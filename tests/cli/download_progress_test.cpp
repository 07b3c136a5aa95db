// What kaldo receive writes about the blocks received, on a terminal and off.

#include "cli/download_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace brevik::cli {
namespace {

TEST(DownloadProgress, ABarOnATerminalAndAtMostALinePerTenthElsewhere) {
  struct Case {
    bool terminal;
    std::uint32_t total;
    std::size_t writes;  // most writes a whole download may make
  };
  for (const Case c : {Case{false, 336, 10}, Case{false, 1720, 10}, Case{false, 7, 7}, Case{false, 1, 1},
                       Case{true, 336, 336}, Case{true, 1, 1}}) {
    SCOPED_TRACE(std::to_string(c.total) + (c.terminal ? " blocks on a terminal" : " blocks"));
    DownloadProgress progress(c.terminal);
    std::string written;
    std::size_t writes = 0;
    for (std::uint32_t done = 1; done <= c.total; ++done)
      if (auto text = progress.update(done, c.total)) written += *text, ++writes;
    EXPECT_LE(writes, c.writes);
    const auto returns = std::count(written.begin(), written.end(), '\r');
    EXPECT_EQ(returns, c.terminal ? static_cast<long>(c.total) : 0) << "a bar redraws in place, a line does not";
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), c.terminal ? 1 : static_cast<long>(writes));
    const std::string end = (c.terminal ? "] " : "  100% ") + std::to_string(c.total) + "/" +
                            std::to_string(c.total) + " blocks\n";
    EXPECT_TRUE(written.ends_with(end)) << written;
  }
}

TEST(DownloadProgress, PlainLinesTellThePercentDoneAndNeverGoBack) {
  DownloadProgress progress(false);
  EXPECT_FALSE(progress.update(33, 336)) << "below the first tenth";
  EXPECT_EQ(progress.update(134, 336), "  39% 134/336 blocks\n");
  EXPECT_EQ(progress.update(135, 336), "  40% 135/336 blocks\n");
  EXPECT_FALSE(progress.update(136, 336)) << "the same tenth again";
  EXPECT_FALSE(progress.update(140, 400)) << "a larger total does not go back a tenth";
  EXPECT_EQ(progress.update(9, 0), "  100% 9/0 blocks\n") << "no total: the work is done";
}

}  // namespace
}  // namespace brevik::cli
