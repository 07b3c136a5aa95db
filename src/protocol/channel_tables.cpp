#include "protocol/channel_tables.h"

#include <charconv>

#include "protocol/vocabulary.h"

namespace brevik::protocol {

namespace {

constexpr std::size_t kScaleFieldWidth = 6;

ChannelTable twoPointTable(std::string_view record, int fullScale, bool scaled) {
  ChannelTable t;
  const std::string_view low = record.substr(0, std::min(record.size(), kScaleFieldWidth));
  const std::string_view high =
      record.size() > kScaleFieldWidth ? record.substr(kScaleFieldWidth, kScaleFieldWidth) : std::string_view{};
  t.addRow(scaleTextNumber(low), 0.0f);
  t.addRow(scaleTextNumber(high), static_cast<float>(fullScale));
  t.scaled = scaled;
  return t;
}

Result<ChannelTable> fileTable(char typeCode, std::string_view record, int fullScale, const TableSource& source) {
  if (!source) return makeError(ErrorKind::General, "No table source");
  auto file = source(typeCode, record);
  if (!file) return file.error();
  if (file->rows.size() < 2)
    return makeError(ErrorKind::InvalidData, "Sensor Table '" + file->fileName + "' has improper format");
  ChannelTable t;
  for (const auto& r : file->rows)
    if (!t.addRow(r[0], r[1])) break;
  if (file->kind == 'N') {
    for (int i = 1; i <= t.count; ++i)
      t.in[static_cast<std::size_t>(i)] = static_cast<float>(fullScale) * t.in[static_cast<std::size_t>(i)] / 100.0f;
    t.scaled = true;
  } else if (file->kind == 'L') {
    t.linearKind = true;
  } else if (t.in[1] == 0.0f) {
    // Rows past the table are already 0 in a fresh table.
    t.scaled = true;
  }
  return t;
}

}  // namespace

float scaleTextNumber(std::string_view field) {
  const auto first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0.0f;
  field.remove_prefix(first);
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  float value = 0.0f;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  (void)end;
  return ec == std::errc{} ? value : 0.0f;
}

Result<ChannelTables> loadChannelTables(const std::array<char, kChannelCount>& typeCodes,
                                        const std::array<std::string, kChannelCount>& records,
                                        int fullScale, const TableSource& source) {
  ChannelTables tables{};
  for (std::size_t c = 0; c < tables.size(); ++c) {
    const char type = typeCodes[c];
    switch (classifyChannelType(type)) {
      case ChannelKind::Off:
      case ChannelKind::Resistance:
      case ChannelKind::Unknown:
        break;
      case ChannelKind::Linear:
        tables[c] = twoPointTable(records[c], fullScale, true);
        break;
      case ChannelKind::Contact:
        tables[c] = twoPointTable(records[c], fullScale, false);
        break;
      default: {
        auto t = fileTable(type, records[c], fullScale, source);
        if (!t) return t.error();
        tables[c] = *t;
      }
    }
  }
  for (ChannelTable& t : tables)
    if (t.scaled && t.count >= 2 && t.in[1] == 0.0f && t.in[2] == 0.0f) t.in[2] = static_cast<float>(fullScale);
  return tables;
}

}  // namespace brevik::protocol
