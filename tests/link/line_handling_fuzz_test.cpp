// The fuzz entry of the receive path on random and cut-short inputs: the
// engine never crashes, and whatever arrives, the exchange comes to its end
// and lets the port go.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "../protocol/status_reply_builder.h"
#include "support/line_handling_entry.h"

namespace brevik::testing {
namespace {

void expectEnded(const LineHandlingOutcome& o, const std::string& what) {
  EXPECT_TRUE(o.ended) << what;
  EXPECT_TRUE(o.portClosed) << what;
}

TEST(LineHandlingFuzz, RandomBytesInEveryState) {
  std::mt19937 random(20240603);
  for (int run = 0; run < 60; ++run) {
    std::string input(random() % 400, '\0');
    for (char& c : input) {
      // Mostly printable, with CRs and any byte now and then.
      const auto r = random() % 100;
      c = r < 8 ? '\r' : r < 20 ? static_cast<char>(random() % 256) : static_cast<char>(0x20 + random() % 95);
    }
    input.insert(input.begin(), static_cast<char>(run));
    expectEnded(runLineHandling(reinterpret_cast<const std::uint8_t*>(input.data()), input.size()),
                "run " + std::to_string(run));
  }
  expectEnded(runLineHandling(nullptr, 0), "empty input");
}

TEST(LineHandlingFuzz, ValidRepliesCutShort) {
  const std::string status = protocol::testing::StatusReplyBuilder{}.build() + "\r";
  const std::string reading = ">0123456789AB00\r";
  for (std::size_t cut = 0; cut <= status.size(); cut += 7) {
    const std::string part = status.substr(0, cut);
    expectEnded(runLineHandling(LineHandlingState::StatusReply, part + "\r"), "status cut at " + std::to_string(cut));
    expectEnded(runLineHandling(LineHandlingState::Identification, part, 3), "ident " + std::to_string(cut));
  }
  for (std::size_t cut = 0; cut <= reading.size(); ++cut)
    expectEnded(runLineHandling(LineHandlingState::ReadingLines, reading.substr(0, cut) + "\r" + reading, 1),
                "reading cut at " + std::to_string(cut));
}

TEST(LineHandlingFuzz, AWholeStatusReplyIsTakenAndTheScheduleAskedFor) {
  // A sanity check of the entry itself: a good reply does not end in a
  // message (the schedule request then times out quietly).
  const std::string status = protocol::testing::StatusReplyBuilder{}.build() + "\r";
  const LineHandlingOutcome o = runLineHandling(LineHandlingState::StatusReply, status);
  EXPECT_TRUE(o.ended);
  EXPECT_EQ(o.messages, 0u);
  EXPECT_GT(runLineHandling(LineHandlingState::StatusReply, "garbage\r").messages, 0u);
}

}  // namespace
}  // namespace brevik::testing
