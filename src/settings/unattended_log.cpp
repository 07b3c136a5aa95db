#include "settings/unattended_log.h"

#include "common/files.h"

namespace brevik::settings {

std::string unattendedLogLine(std::string_view message, const Clock& clock) {
  const DateTime now = clock.now();
  std::string line(message);
  line += ' ';
  line += clock.shortDate(now);
  line += ' ';
  line += clock.longTime(now);
  line += kLogLineEnd;
  return line;
}

void UnattendedLog::entry(std::string_view message) const {
  (void)files::appendToFile(path_, unattendedLogLine(message, *clock_));
}

QuitRequest UnattendedLog::logAndQuit(std::string_view message) const {
  (void)files::writeFileAtomically(path_, unattendedLogLine(message, *clock_));
  return QuitRequest{};
}

}  // namespace brevik::settings
