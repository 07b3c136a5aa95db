#include "ui/locale_clock.h"

#include <QDate>
#include <QTime>

#include "ui/text.h"

namespace brevik::ui {

QString withoutTimeZone(const QString& format) {
  QString kept;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == u'\'') quoted = !quoted;
    if (!quoted && c == u't') continue;
    kept += c;
  }
  return kept.trimmed();
}

QString LocaleClock::longTimeFormat() const { return withoutTimeZone(locale_.timeFormat(QLocale::LongFormat)); }

std::string LocaleClock::shortDate(const DateTime& t) const {
  return toCp(locale_.toString(QDate(t.year, t.month, t.day), QLocale::ShortFormat));
}

std::string LocaleClock::longTime(const DateTime& t) const {
  return toCp(locale_.toString(QTime(t.hour, t.minute, t.second), longTimeFormat()));
}

}  // namespace brevik::ui
