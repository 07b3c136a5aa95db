// What kaldo receive writes about the blocks received, on a terminal and off.

#include "cli/download_progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brevik::cli {
namespace {

struct ProgressCase {
  bool terminal;
  std::uint32_t total;
  std::size_t minTexts, maxTexts;  // how many writes a whole download makes
};

class DownloadProgressRun : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(DownloadProgressRun, WritesABarOnATerminalAndFewPlainLinesElsewhere) {
  const ProgressCase c = GetParam();
  DownloadProgress progress(c.terminal);
  std::vector<std::string> texts;
  for (std::uint32_t done = 1; done <= c.total; ++done)
    if (auto text = progress.update(done, c.total)) texts.push_back(*text);

  ASSERT_GE(texts.size(), c.minTexts);
  ASSERT_LE(texts.size(), c.maxTexts);
  const std::string end = std::to_string(c.total) + "/" + std::to_string(c.total) + " blocks\n";
  EXPECT_TRUE(texts.back().ends_with(end)) << texts.back();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::string& t = texts[i];
    const bool last = i + 1 == texts.size();
    if (c.terminal) {
      EXPECT_EQ(t.front(), '\r') << "the bar is redrawn in place";
      EXPECT_EQ(t.find('\n'), last ? t.size() - 1 : std::string::npos) << t;
    } else {
      EXPECT_EQ(t.find('\r'), std::string::npos) << t;
      EXPECT_EQ(t.find('\n'), t.size() - 1) << "one line per write: " << t;
    }
  }
  if (!c.terminal) {
    EXPECT_EQ(texts.back().rfind("  100% ", 0), 0u) << texts.back();
  }
}

INSTANTIATE_TEST_SUITE_P(Downloads, DownloadProgressRun,
                         ::testing::Values(ProgressCase{false, 336, 10, 11}, ProgressCase{false, 1720, 10, 11},
                                           ProgressCase{false, 7, 7, 7}, ProgressCase{false, 1, 1, 1},
                                           ProgressCase{true, 336, 336, 336}, ProgressCase{true, 1, 1, 1}));

TEST(DownloadProgress, PlainLinesTellThePercentDoneAndNeverGoBack) {
  DownloadProgress progress(false);
  EXPECT_FALSE(progress.update(33, 336)) << "below the first tenth";
  EXPECT_EQ(progress.update(134, 336), "  39% 134/336 blocks\n");
  EXPECT_EQ(progress.update(135, 336), "  40% 135/336 blocks\n");
  EXPECT_FALSE(progress.update(136, 336)) << "the same tenth again";
  EXPECT_FALSE(progress.update(140, 400)) << "a larger total does not go back a tenth";
  EXPECT_EQ(progress.update(9, 0), "  100% 9/0 blocks\n") << "no total: the work is done";
}

TEST(DownloadProgress, TheBarFillsWithTheBlocks) {
  DownloadProgress progress(true);
  EXPECT_EQ(progress.update(84, 336), "\r  [##########..............................] 84/336 blocks");
  EXPECT_EQ(progress.update(400, 336), "\r  [########################################] 400/336 blocks\n");
}

}  // namespace
}  // namespace brevik::cli
