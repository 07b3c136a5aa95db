#include "setup/scale_entry.h"

#include <cstdio>

#include "protocol/scale_tables.h"

namespace brevik::setup {

std::string sixCharacterNumber(std::string_view entry) {
  std::string s(entry.substr(0, std::min<std::size_t>(entry.size(), protocol::kScaleNumberWidth)));
  if (s.empty()) s = "0";
  if (s.size() < protocol::kScaleNumberWidth) {
    if (s.find('.') == std::string::npos) s += '.';
    s.resize(protocol::kScaleNumberWidth, '0');
  }
  return s;
}

std::string calculatorOutput(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%6.3f", value);
  std::string s(buf);
  if (const auto comma = s.find(','); comma != std::string::npos) s[comma] = '.';
  return s.substr(0, std::min<std::size_t>(s.size(), protocol::kScaleNumberWidth));
}

std::variant<ScalePair, ScaleEntryRefused> acceptScaleEntries(std::string_view lowEntry,
                                                              std::string_view highEntry) {
  ScalePair pair{sixCharacterNumber(lowEntry), sixCharacterNumber(highEntry)};
  const auto low = protocol::parseScaleNumber(pair.low);
  if (!low) return ScaleEntryRefused{"Not a number: " + std::string(lowEntry)};
  const auto high = protocol::parseScaleNumber(pair.high);
  if (!high) return ScaleEntryRefused{"Not a number: " + std::string(highEntry)};
  if (*low == 0.0f && *high == 0.0f) return ScaleEntryRefused{std::string(kOneValueNonZeroText)};
  if (*low == *high) return ScaleEntryRefused{std::string(kValuesDifferentText)};
  return pair;
}

std::string linearItemText(const ScalePair& pair) {
  return std::string(kLinearPrefix) + pair.low + std::string(kScaleSeparator) + pair.high;
}

std::string contactItemText(const ScalePair& pair) {
  return std::string(kContactPrefix) + pair.low + std::string(kScaleSeparator) + pair.high;
}

std::string scaleTextOfItem(std::string_view itemText, std::string_view prefix) {
  if (itemText.substr(0, prefix.size()) != prefix) return {};
  std::string rest(itemText.substr(prefix.size()));
  if (const auto sep = rest.find(kScaleSeparator); sep != std::string::npos) rest.erase(sep, kScaleSeparator.size());
  return rest.substr(0, std::min<std::size_t>(rest.size(), protocol::kScaleTextLength));
}

std::string tableItemText(std::string_view chosenFileName) {
  const auto slash = chosenFileName.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? chosenFileName : chosenFileName.substr(slash + 1);
  return std::string(kTablePrefix) + std::string(name) + ")";
}

std::string tableNameOfItem(std::string_view itemText) {
  if (itemText.substr(0, kTablePrefix.size()) != kTablePrefix) return {};
  std::string_view rest = itemText.substr(kTablePrefix.size());
  auto end = rest.find('.');
  if (end == std::string_view::npos) end = rest.find(')');
  rest = rest.substr(0, end);
  return std::string(rest.substr(0, std::min<std::size_t>(rest.size(), 8)));
}

std::string tableItemTextOfName(std::string_view tableName) {
  return std::string(kTablePrefix) + std::string(tableName) + ".rvt)";
}

}  // namespace brevik::setup
