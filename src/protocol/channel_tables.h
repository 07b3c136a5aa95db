#pragma once
// Loading the four channel tables of a logger or data file from its channel
// type codes and channel records: two-point tables from the 12-character
// scale text of linear and contact channels, table files for the others.
// Table files are read through a TableSource, so this file holds only the
// rules of how a table is set up for conversion.

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "protocol/channel_table.h"

namespace brevik::protocol {

// One table file as read: its kind letter (line 2) and its rows, engineering
// value first, input value second. The input column of a kind 'N' table is
// already in counts (the reader turns its percentages into counts).
struct TableFileRows {
  std::string fileName;
  char kind = ' ';
  std::vector<std::array<float, 2>> rows;  // {out, in}
};

// Reads the table a channel names (type code and channel record); fails with
// the message the user is to see.
using TableReader =
    std::function<Result<TableFileRows>(char typeCode, std::string_view record, int fullScale)>;

// The reader of the table files in the program home.
TableReader homeTableReader(const std::filesystem::path& home);

// The four tables, channel 1 first. Codes '0' and 'R' have no table, '3' and
// 'X' a two-point table from the record, codes up to '~' a table file. A
// table file of fewer than two rows fails with "Sensor Table '<name>' has
// improper format" and the load stops there.
Result<ChannelTables> loadChannelTables(const std::array<char, kChannelCount>& typeCodes,
                                        const std::array<std::string, kChannelCount>& records,
                                        int fullScale, const TableReader& reader);

}  // namespace brevik::protocol
