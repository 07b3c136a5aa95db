// The dates the virtual logger reports agree with what its memory holds, as
// the PC checks them: first reading = end of recording - samples of one
// channel x the rate's interval (the interval taken from the PC's rate
// table, not the twin's own).

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "protocol/vocabulary.h"
#include "sim/date_code.h"
#include "sim/logger_profile.h"
#include "sim/logger_state.h"
#include "sim/rate_interval.h"
#include "support/temp_dir.h"
#include "twin_script.h"

namespace brevik::sim {
namespace {

struct DatesCase {
  const char* name;
  const char* shipped;      // a shipped profile's name, or null for `text`
  const char* text;
  std::size_t perChannel;   // samples of one channel the memory holds, counted by hand
  const char* recordingEnd; // the profile's stop time, or null: the logger clock
};

class RecordingDates : public ::testing::TestWithParam<DatesCase> {};

TEST_P(RecordingDates, FirstReadingIsTheSamplesHeldBeforeTheEnd) {
  const DatesCase& c = GetParam();
  const auto profile = c.shipped ? loadSimProfile(c.shipped, brevik::testing::dataDir() / "sim")
                                 : parseLoggerProfile(c.text, c.name, ".");
  ASSERT_TRUE(profile.ok()) << profile.error().message;
  const LoggerState s = LoggerState::fromProfile(*profile, testing::june3());

  const auto clock = parseDateCode(s.clockCode(0));
  ASSERT_TRUE(clock.has_value());
  const auto end = c.recordingEnd ? parseDateCode(c.recordingEnd) : clock;
  ASSERT_TRUE(end.has_value());
  const double minutes = protocol::rateInterval(profile->rate);
  const auto seconds = std::llround(static_cast<double>(c.perChannel) * minutes * 60.0);

  EXPECT_EQ(s.stop, dateCode(*end, 'A'));
  EXPECT_EQ(s.first, dateCode(addSeconds(*end, -seconds), 'A'))
      << c.perChannel << " samples at " << minutes << " minutes";
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, RecordingDates,
    ::testing::Values(
        // Banks A and B full, C up to 0x4000; four channels at 10 minutes.
        DatesCase{"Kaldo6EightBit", "kaldo6-8bit", nullptr, (2 * 32256 + 0x3E00) / 4, nullptr},
        // 0xE00 bytes of 12-bit groups end in two lone high bytes.
        DatesCase{"Kaldo5TwelveBit", "kaldo5-12bit", nullptr, (0xE00 / 3 * 2 + 2) / 4, nullptr},
        DatesCase{"Mt53TenBit", "mt53-rev-n", nullptr, 0x1E00 / 5 * 4 / 4, nullptr},
        // A wrapped ring of four 10-bit banks, two channels at 10 seconds,
        // counted from the profile's clock.
        DatesCase{"WrappedRing", nullptr,
                  "model = 6\nresolution = 10\nrate = D\nchannels = 0x05\nflags = 0x09\n"
                  "clock = 0030120306A303\n",
                  4 * 32250 / 5 * 4 / 2, nullptr},
        // Stopped at the profile's stop time, long before its clock.
        DatesCase{"StoppedEarlier", nullptr,
                  "resolution = 12\nrate = G\nchannels = 0x01\nflags = 0x02\npointer = 0x0203\n"
                  "clock = 0000180306A303\nstop = 0000120306A303\n",
                  2, "0000120306A303"},
        DatesCase{"NoChannelOn", nullptr, "channels = 0x00\npointer = 0x4000\n", 0, nullptr}),
    [](const ::testing::TestParamInfo<DatesCase>& p) { return std::string(p.param.name); });

TEST(RecordingDates, TwinsRateTableMatchesThePcs) {
  for (const protocol::RateInfo& rate : protocol::rateTable())
    EXPECT_EQ(rateIntervalMillis(rate.code), std::llround(rate.minutes * 60000.0)) << rate.code;
  EXPECT_EQ(rateIntervalMillis('Z'), std::llround(protocol::rateInterval('Z') * 60000.0));
}

}  // namespace
}  // namespace brevik::sim
