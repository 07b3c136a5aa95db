#include "export/export_header.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "export/export_options.h"
#include "protocol/time_stamps.h"

namespace brevik::exporting {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string fitted(std::string_view s, std::size_t width) {
  std::string out(s.substr(0, std::min(s.size(), width)));
  out.resize(width, ' ');
  return out;
}

bool endsWithNoCase(const std::string& s, std::string_view suffix) {
  if (s.size() < suffix.size()) return false;
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    const char a = s[s.size() - suffix.size() + i];
    const char b = suffix[i];
    if ((a >= 'a' && a <= 'z' ? static_cast<char>(a - 32) : a) != b) return false;
  }
  return true;
}

}  // namespace

bool writesHeader(const std::filesystem::path& target, bool noHeader) {
  if (!noHeader) return true;
  const std::string name = target.filename().string();
  return !(endsWithNoCase(name, ".CSV") || endsWithNoCase(name, ".TXT"));
}

std::string formatRate(double rate) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%16.13f", rate);
  std::string s(buf);
  std::replace(s.begin(), s.end(), ',', '.');
  return s;
}

std::string averagingNote(std::uint32_t averaging, std::size_t samples, bool tableSource) {
  averaging = effectiveAveraging(averaging);
  if (averaging == kEveryPoint) return {};
  if (averaging == kOneAverage) {
    if (tableSource) return "Note: Average for the above period.";
    return "Note: Average for the above period (" + std::to_string(samples) + " consecutive samples).";
  }
  return "Note: Each reading is the average of " + std::to_string(averaging) + " consecutive samples.";
}

std::string columnHeading(double rate, const std::vector<int>& channels, const std::array<std::string, 4>& unitTexts) {
  std::string line = "Date,Time,";
  if (protocol::numericStampNeedsMilliseconds(rate)) line += "millisecs,";
  for (int c : channels) {
    if (c < 1 || c > 4) continue;
    line += "Ch" + std::to_string(c) + ":" + unitTexts[static_cast<std::size_t>(c - 1)] + ",";
  }
  line.pop_back();  // the last comma
  return line;
}

std::string formatExportHeader(const HeaderFacts& f) {
  std::string out;
  const std::string p(1, f.prefix);
  const auto put = [&](std::string_view text) {
    out += text;
    out += kLineEnd;
  };
  put(p + f.note);
  put("");
  put(p + "Source File: " + f.sourceFile);
  put(p + "ID: " + fitted(f.session, 31) + "  " + f.modelName);
  for (std::size_t k = 0; k < 4; ++k) {
    const std::string scale = fitted(f.scaleTexts[k], 12);
    put(p + "Ch" + std::to_string(k + 1) + " lbl/scl: " + fitted(f.descriptions[k], 24) + "/" + scale.substr(0, 6) +
        " " + scale.substr(6, 6));
  }
  put(p + "Rate (mins): " + formatRate(f.rate) + "        " + f.batteryText);
  put(p + "First:       " + f.first);
  put(p + "Last:        " + f.last);
  put(p + "Transferred: " + f.transferred);
  put(p + "Eq. PC time: " + f.pcTime);
  put("");
  put(p + f.averagingNote);
  put("");
  put(columnHeading(f.rate, f.channels, f.unitTexts));
  return out;
}

}  // namespace brevik::exporting
