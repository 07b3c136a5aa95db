#pragma once
// Paths across the window boundary: Qt holds them as QString, the core as
// std::filesystem::path; both sides agree on Unicode file names.

#include <QString>
#include <filesystem>

namespace brevik::ui {

inline std::filesystem::path pathOf(const QString& name) { return std::filesystem::path(name.toStdU16String()); }

inline QString qPathOf(const std::filesystem::path& path) { return QString::fromStdU16String(path.u16string()); }

}  // namespace brevik::ui
