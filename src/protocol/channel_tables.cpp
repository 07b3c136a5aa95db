#include "protocol/channel_tables.h"

#include "protocol/vocabulary.h"
#include "protocol/scale_tables.h"

namespace brevik::protocol {

namespace {

// A number of a scale text; one that does not read as a number counts as 0,
// as the logger would have scaled it.
float scaleNumberOrZero(std::string_view field) {
  const auto value = protocol::parseScaleNumber(field);
  return value ? *value : 0.0f;
}

ChannelTable twoPointTable(std::string_view record, int fullScale, bool scaled) {
  ChannelTable t;
  t.addRow(scaleNumberOrZero(protocol::scaleTextLowPart(record)), 0.0f);
  t.addRow(scaleNumberOrZero(protocol::scaleTextHighPart(record)), static_cast<float>(fullScale));
  t.scaled = scaled;
  return t;
}

Result<ChannelTable> fileTable(char typeCode, std::string_view record, int fullScale, const TableReader& reader) {
  if (!reader) return makeError(ErrorKind::General, "No scaling tables to read from");
  auto file = reader(typeCode, record, fullScale);
  if (!file) return file.error();
  if (file->rows.size() < 2)
    return makeError(ErrorKind::InvalidData, "Sensor Table '" + file->fileName + "' has improper format");
  ChannelTable t;
  for (const auto& r : file->rows)
    if (!t.addRow(r[0], r[1])) break;
  if (file->kind == 'N') {
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

Result<ChannelTables> loadChannelTables(const std::array<char, kChannelCount>& typeCodes,
                                        const std::array<std::string, kChannelCount>& records,
                                        int fullScale, const TableReader& reader) {
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
        auto t = fileTable(type, records[c], fullScale, reader);
        if (!t) return t.error();
        tables[c] = *t;
      }
    }
  }
  for (ChannelTable& t : tables)
    if (t.scaled && t.count >= 2 && t.in[1] == 0.0f && t.in[2] == 0.0f) t.in[2] = static_cast<float>(fullScale);
  return tables;
}

TableReader homeTableReader(const std::filesystem::path& home) {
  return [home](char typeCode, std::string_view record, int fullScale) -> Result<TableFileRows> {
    const std::string name = protocol::tableFileName(typeCode, record);
    auto table = protocol::readTableFile(home, name, fullScale);
    if (!table) return table.error();
    TableFileRows rows;
    rows.fileName = table->fileName;
    rows.kind = table->kindLetter;
    rows.rows.reserve(table->points.size());
    for (const protocol::TablePoint& p : table->points) rows.rows.push_back({p.value, p.raw});
    return rows;
  };
}

}  // namespace brevik::protocol
