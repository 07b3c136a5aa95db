#pragma once
// The windows' side of the text boundary: the core holds Windows-1252 bytes,
// Qt holds Unicode.

#include <QString>
#include <string>
#include <string_view>

#include "common/cp1252.h"

namespace brevik::ui {

inline QString fromCp(std::string_view cp1252) { return QString::fromStdString(toUtf8(cp1252)); }

inline std::string toCp(const QString& text) { return fromUtf8(text.toUtf8().toStdString()); }

}  // namespace brevik::ui
