#include "cli/console_writer.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brevik::cli {
namespace {

TEST(ConsoleWriter, EscapesWhatATerminalWouldActOnAndNothingElse) {
  const struct {
    std::string in;
    bool passCarriageReturn;
    std::string out;
  } cases[] = {
      {"plain text, tab\tand line\n", false, "plain text, tab\tand line\n"},
      {"\x1B]0;title\x07", false, "\\x1B]0;title\\x07"},
      {std::string("nul\0del\x7F", 8), false, "nul\\x00del\\x7F"},
      {"over\rwrite", false, "over\\x0Dwrite"},
      {"\r  [####....] 4/8 blocks", true, "\r  [####....] 4/8 blocks"},
      // UTF-8: C1 controls (C2 80-C2 9F) are escaped, other characters kept.
      {"\xC2\x9B" "2J", false, "\\x9B2J"},
      {"\xC2\xA9 caf\xC3\xA9 \xE2\x82\xAC", false, "\xC2\xA9 caf\xC3\xA9 \xE2\x82\xAC"},
      {"end\xC2", false, "end\xC2"},
      // Already escaped text passes as it is.
      {"\\x1B", false, "\\x1B"},
  };
  for (const auto& c : cases) EXPECT_EQ(escapedForConsole(c.in, c.passCarriageReturn), c.out) << c.in;
}

TEST(ConsoleWriter, ACharacterSplitAcrossWritesIsJudgedWhole) {
  std::ostringstream target;
  {
    ConsoleStream console(target, false);
    console << "a\xC2";
    console.flush();
    console << "\x85" "b\xC2";
    console << "\xA9";
  }
  EXPECT_EQ(target.str(), "a\\x85b\xC2\xA9");
}

}  // namespace
}  // namespace brevik::cli
