#pragma once
// A clock that writes dates and times as the user's locale does: the short
// date, and the long time without its time zone (the logger's times are
// local ones). "Now" comes from the clock it wraps.

#include <QLocale>
#include <QString>

#include "common/clock.h"

namespace brevik::ui {

class LocaleClock final : public Clock {
 public:
  // `base` must outlive this clock.
  LocaleClock(const Clock& base, QLocale locale) : base_(base), locale_(std::move(locale)) {}

  DateTime now() const override { return base_.now(); }
  std::string shortDate(const DateTime& t) const override;
  std::string longTime(const DateTime& t) const override;

  const QLocale& locale() const { return locale_; }
  // The locale's long time format without its time zone.
  QString longTimeFormat() const;

 private:
  const Clock& base_;
  QLocale locale_;
};

// The format without its unquoted time-zone letters ('t'), trimmed.
QString withoutTimeZone(const QString& format);

}  // namespace brevik::ui
