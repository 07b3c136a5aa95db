#include "cli/status_printing.h"

#include <cstdio>

#include "common/cp1252.h"
#include "protocol/humidity.h"
#include "protocol/status_texts.h"

namespace brevik::cli {

std::string consoleText(std::string_view cp1252) {
  std::string text;
  for (const char c : cp1252) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", b);
      text += buf;
    } else {
      text += c;
    }
  }
  return toUtf8(text);
}

void printStatusForm(std::ostream& out, const protocol::LoggerStatus& status, bool twelveHourClock) {
  const protocol::StatusForm form =
      protocol::buildStatusForm(status, protocol::StatusTextSettings{twelveHourClock});
  for (const protocol::StatusComponent& c : form.components)
    if (c.visible) out << c.name << ": " << consoleText(c.text) << "\n";
}

void printScheduleText(std::ostream& out, std::string_view scheduleText) {
  out << "Schedule: " << consoleText(scheduleText) << "\n";
}

}  // namespace brevik::cli
