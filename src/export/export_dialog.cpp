#include "export/export_dialog.h"

#include <charconv>

#include "export/export_options.h"

namespace brevik::exporting {

namespace {

std::string_view trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

std::string upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

}  // namespace

AveragingSelection averagingSelectionOf(std::uint32_t storedAveraging) {
  const std::uint32_t averaging = effectiveAveraging(storedAveraging);
  if (averaging == kEveryPoint) return {AveragingChoice::AllPoints, std::nullopt};
  if (averaging == kOneAverage) return {AveragingChoice::OneAverage, std::nullopt};
  return {AveragingChoice::Groups, averaging};
}

Result<std::uint32_t> averagingOf(AveragingChoice choice, std::string_view groupSizeText) {
  switch (choice) {
    case AveragingChoice::AllPoints:
      return kEveryPoint;
    case AveragingChoice::OneAverage:
      return kOneAverage;
    case AveragingChoice::Groups:
      break;
  }
  const std::string_view text = trimmed(groupSizeText);
  std::uint32_t n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || n < export_dialog::kSmallestGroup ||
      n > export_dialog::kLargestGroup)
    return makeError(ErrorKind::InvalidData,
                     "The number of points to average must be a whole number from " +
                         std::to_string(export_dialog::kSmallestGroup) + " to " +
                         std::to_string(export_dialog::kLargestGroup));
  return n;
}

std::string_view exportExtension(bool csv) { return csv ? "CSV" : "TXT"; }

std::string_view exportFilter(bool csv) { return csv ? export_dialog::kCsvFilter : export_dialog::kTextFilter; }

std::optional<std::string> exportNameRefusal(const std::filesystem::path& chosen, bool csv) {
  const std::string wanted = "." + std::string(exportExtension(csv));
  if (upper(chosen.extension().string()) == wanted) return std::nullopt;
  return "File name must end in '" + wanted + "'";
}

std::string savedToDiskText(std::string_view fileName) {
  return std::string(fileName) + std::string(export_dialog::kSavedSuffix);
}

}  // namespace brevik::exporting
