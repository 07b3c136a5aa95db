// kaldo setup-default: writes the program's built-in default set-up (or its
// all-channels-off variant) to a .SET file. The shipped data/default.set and
// data/alloff.set are made with it for a fixed moment:
//
//     kaldo setup-default data/default.set --at "2000-01-01 00:00:00"
//     kaldo setup-default data/alloff.set --all-off --at "2000-01-01 00:00:00"

#include <cstdio>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "common/clock.h"
#include "setup/day_number.h"
#include "setup/setup_file.h"

namespace brevik::cli {

namespace {

// "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS" (also with a 'T' between).
std::optional<DateTime> parseMoment(const std::string& text) {
  DateTime t;
  char sep = ' ';
  int consumed = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &t.year, &t.month, &t.day, &consumed) != 3) return std::nullopt;
  if (static_cast<std::size_t>(consumed) < text.size()) {
    int rest = 0;
    if (std::sscanf(text.c_str() + consumed, "%c%2d:%2d:%2d%n", &sep, &t.hour, &t.minute, &t.second, &rest) != 4 ||
        (sep != ' ' && sep != 'T') || static_cast<std::size_t>(consumed + rest) != text.size())
      return std::nullopt;
  }
  if (t.year < 1600 || !setup::isValidDate(t.year, t.month, t.day)) return std::nullopt;
  if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
    return std::nullopt;
  t.weekday = weekdayOf(t.year, t.month, t.day);
  return t;
}

int runSetupDefault(Context& ctx) {
  std::optional<std::string> target;
  std::optional<DateTime> moment;
  bool allOff = false;
  for (std::size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    if (a == "--all-off") {
      allOff = true;
    } else if (a == "--at") {
      if (i + 1 >= ctx.args.size()) {
        *ctx.err << "kaldo setup-default: --at needs a date (YYYY-MM-DD [HH:MM:SS])\n";
        return kExitUsage;
      }
      moment = parseMoment(ctx.args[++i]);
      if (!moment) {
        *ctx.err << "kaldo setup-default: not a valid date and time: '" << ctx.args[i] << "'\n";
        return kExitUsage;
      }
    } else if (!a.empty() && a[0] == '-') {
      *ctx.err << "kaldo setup-default: unknown option '" << a << "'\n";
      return kExitUsage;
    } else if (target) {
      *ctx.err << "kaldo setup-default: only one FILE may be given\n";
      return kExitUsage;
    } else {
      target = a;
    }
  }
  if (!target) {
    *ctx.err << "usage: kaldo setup-default FILE [--all-off] [--at \"YYYY-MM-DD HH:MM:SS\"]\n";
    return kExitUsage;
  }

  SystemClock systemClock;
  FixedClock fixedClock(moment.value_or(DateTime{}));
  const Clock& clock = moment ? static_cast<const Clock&>(fixedClock) : systemClock;
  const setup::LoggerConfiguration record =
      allOff ? setup::allOffConfiguration(clock) : setup::LoggerConfiguration::builtInDefault(clock);
  if (auto written = setup::writeSetupFile(*target, record); !written) {
    *ctx.err << "kaldo setup-default: " << written.error().message << "\n";
    return kExitFailed;
  }
  *ctx.out << "wrote " << *target << "\n";
  return kExitOk;
}

KALDO_COMMAND("setup-default", "FILE [--all-off] [--at \"YYYY-MM-DD HH:MM:SS\"]",
               "write the built-in default set-up (dated now) to a .SET file", runSetupDefault);

}  // namespace

}  // namespace brevik::cli
