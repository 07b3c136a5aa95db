#include "sim/rate_interval.h"

#include <array>
#include <utility>

namespace brevik::sim {

namespace {

constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kMinute = 60 * kSecond;
constexpr std::int64_t kHour = 60 * kMinute;

constexpr std::array<std::pair<char, std::int64_t>, 28> kIntervals = {{
    {'4', 5},           {'5', 10},          {'6', 20},          {'7', 50},
    {'8', 100},         {'9', 200},         {':', 500},         {';', kSecond},
    {'C', 2 * kSecond}, {'D', 10 * kSecond}, {'E', 20 * kSecond}, {'F', 30 * kSecond},
    {'G', kMinute},     {'H', 2 * kMinute}, {'I', 5 * kMinute}, {'J', 10 * kMinute},
    {'K', 20 * kMinute}, {'L', 30 * kMinute}, {'M', kHour},      {'N', 2 * kHour},
    {'O', 4 * kHour},   {'P', 6 * kHour},   {'Q', 8 * kHour},   {'R', 12 * kHour},
    {'S', 3 * kHour},   {'T', 4 * kSecond}, {'U', 15 * kMinute}, {'V', 6 * kSecond},
}};

}  // namespace

std::int64_t rateIntervalMillis(char code) {
  for (const auto& [rate, millis] : kIntervals)
    if (rate == code) return millis;
  return kHour;
}

}  // namespace brevik::sim
