#include "graph/get_data.h"

#include <cmath>
#include <memory>

#include "common/files.h"
#include "export/data_export.h"
#include "datafile/data_file_reader.h"
#include "graph/display_values.h"
#include "datafile/data_file_stamps.h"
#include "datafile/qx2_table.h"
#include "graph/table_reading.h"
#include "datafile/time_base.h"
#include "protocol/time_stamps.h"
#include "protocol/unit_texts.h"
#include "protocol/vocabulary.h"

namespace brevik::graph {

namespace {

bool isTableName(const std::filesystem::path& p) {
  const std::string name = p.string();
  return name.find(".QX2") != std::string::npos || name.find(".qx2") != std::string::npos;
}

Result<std::string> readWithRetry(const std::filesystem::path& name, const std::filesystem::path& home) {
  auto content = files::readBounded(name, datafile::kMaxTableFileBytes);
  if (!content && content.error().kind == ErrorKind::NotFound && !home.empty())
    content = files::readBounded(home / name.filename(), datafile::kMaxTableFileBytes);
  if (!content) return files::dataFileReadError(content.error(), name.string());
  return content;
}

// The settings a table names become the program's settings.
void adoptTableUnits(const datafile::LoadedFile& file, settings::LoggerSettings* settings) {
  if (!settings) return;
  const protocol::UnitSettings units = file.converter.settings();
  if (file.temperatureUnitsFixed) settings->FahrenheitUnits = units.fahrenheit ? 1 : 0;
  if (file.humidityModeFixed) settings->HumidityMode = static_cast<std::uint8_t>(units.humidityMode);
}

Status loadTable(datafile::LoadedFile& file, datafile::DisplaySeries& series, const std::filesystem::path& name,
                 const std::filesystem::path& home, LoadNotices& notices) {
  auto content = readWithRetry(name, home);
  if (!content) return content.error();
  auto tableNotices = readTable(file, series, *content);
  if (!tableNotices) return tableNotices.error();
  notices.insert(notices.end(), tableNotices->begin(), tableNotices->end());
  return {};
}

// Channel tables and conversion set-up of an image-form file. Only active
// channels load a table: an unused channel's missing table is no failure.
Status setUpConversions(datafile::LoadedFile& file, const LoadEnvironment& env) {
  const datafile::DataFileHeaderFields& h = file.header;
  std::array<char, 4> types{'0', '0', '0', '0'};
  for (int c : file.channels) types[static_cast<std::size_t>(c - 1)] = h.typeCodes[static_cast<std::size_t>(c - 1)];
  const protocol::TableReader reader = env.tableReader ? env.tableReader : protocol::homeTableReader(env.home);
  auto tables = protocol::loadChannelTables(types, h.scalingTexts, file.fullScale, reader);
  if (!tables) return tables.error();
  protocol::UnitConverter& conv = file.converter;
  conv.setTypeCodes(types);
  conv.setInputModes(h.inputModes);
  conv.setTables(*tables);
  conv.setReferenceResistor(static_cast<float>(h.referenceOhms));
  conv.setFullScale(file.fullScale);
  const protocol::UnitSettings units = conv.settings();
  for (int c : file.channels) {
    const auto k = static_cast<std::size_t>(c - 1);
    file.unitTexts[k] = protocol::channelUnitText(h.descriptions[k], types[k], protocol::inputModeOf(h.inputModes, c),
                                                  units.fahrenheit, units.humidityMode);
  }
  return {};
}

// The table copy goes beside the data file. Where that cannot be (a
// read-only folder, or a .QX2 there that is not a copy of this file and must
// not be replaced) it goes into the home, and the user is told where.
Result<std::filesystem::path> writeTableCopyWhereItMay(const datafile::LoggerDataFile& data, datafile::LoadedFile& file,
                                                       const std::filesystem::path& name,
                                                       const std::filesystem::path& home, bool dayFirst,
                                                       LoadNotices& notices) {
  std::vector<std::filesystem::path> places{tableCopyName(name)};
  if (!home.empty()) {
    std::filesystem::path inHome = home / places.front().filename();
    std::error_code ec;
    if (std::filesystem::weakly_canonical(inHome, ec) != std::filesystem::weakly_canonical(places.front(), ec))
      places.push_back(std::move(inHome));
  }
  std::string why;
  for (const std::filesystem::path& place : places) {
    std::error_code ec;
    if (std::filesystem::exists(place, ec) && !exporting::isTableCopyOf(place, file)) {
      why += (why.empty() ? "" : "; ") + place.string() + " is another file and is kept";
      continue;
    }
    Status written = exporting::writeTableCopy(data, file, place, dayFirst);
    if (!written) {
      why += (why.empty() ? "" : "; ") + written.error().message;
      continue;
    }
    if (place != places.front())
      notices.push_back("The table copy of " + name.string() + " was written to " + place.string() + " (" + why + ")");
    return place;
  }
  return makeError(ErrorKind::Io, "Cannot write the table copy of " + name.string() + ": " + why);
}

Status loadImage(datafile::LoadedFile& file, datafile::DisplaySeries& series, const std::filesystem::path& name, LoadEnvironment& env,
                 LoadNotices& notices) {
  auto read = datafile::readLoggerDataFile(name, env.home.empty() ? std::nullopt : std::optional(env.home));
  if (!read) return read.error();
  datafile::LoggerDataFile& data = *read;
  notices.insert(notices.end(), data.stampWarnings.begin(), data.stampWarnings.end());
  for (std::string& warning : datafile::shortBankWarnings(data, name.string())) notices.push_back(std::move(warning));

  file.header = data.header;
  file.typeLineForm = data.typeLineForm;
  file.firstTime = data.firstTime;
  file.lastTime = data.lastTime;
  file.channels = data.channels;
  file.resolutionCode = data.resolutionCode;
  file.fullScale = data.fullScale;
  file.wrapMode = data.wrapMode;
  file.memorySamples = datafile::bankSamples(data.resolutionCode);
  for (std::string& d : file.header.descriptions) d.resize(24, ' ');
  file.header.session.resize(31, ' ');
  if (auto status = setUpConversions(file, env); !status) return status;

  file.span = (file.firstTime && file.lastTime)
                  ? static_cast<float>(protocol::minutesBetween(*file.firstTime, *file.lastTime))
                  : 0.0f;
  double rate = protocol::rateInterval(file.header.rateCode);
  const datafile::DataBank& last = data.banks.back();
  const int earlierBanks = static_cast<int>(data.banks.size()) - 1;
  const double fullBank = static_cast<double>(file.memorySamples) / static_cast<double>(file.channels.size());
  if (file.wrapMode)
    rate = datafile::wrapCorrectedRate(rate, file.header.modelCode);
  else
    rate = datafile::recomputedRate(rate, file.span, last.samplesPerChannel, earlierBanks, fullBank);
  file.rate = rate;

  if (data.banks.size() > 1) {
    // Several memories: written out as one table, then shown from it.
    file.sourceFileName = name;
    const bool dayFirst = env.settings && env.settings->ExportDayFirst;
    auto table = writeTableCopyWhereItMay(data, file, name, env.home, dayFirst, notices);
    if (!table) return table.error();
    file.fileName = *table;
    return loadTable(file, series, *table, env.home, notices);
  }
  file.fileName = name;
  file.samplesInFile = last.loadedSamples();
  file.samples = std::move(data.banks.front().samples);
  file.samplesInRange = file.samplesInFile;
  computeDisplayValues(file, series);
  return {};
}

}  // namespace

std::filesystem::path tableCopyName(const std::filesystem::path& dataFile) {
  std::filesystem::path p = dataFile;
  p.replace_extension(".QX2");
  return p;
}

protocol::UnitSettings unitSettingsOf(const settings::LoggerSettings& settings) {
  return {settings.FahrenheitUnits != 0, protocol::humidityModeFromSetting(settings.HumidityMode)};
}

Result<LoadNotices> getData(datafile::LoadedFile& state, datafile::DisplaySeries& series, const std::filesystem::path& fileName,
                            LoadEnvironment& env) {
  auto fresh = std::make_unique<datafile::LoadedFile>();
  auto freshSeries = std::make_unique<datafile::DisplaySeries>();
  if (env.settings) fresh->converter.setSettings(unitSettingsOf(*env.settings));
  LoadNotices notices;
  Status status;
  if (isTableName(fileName)) {
    fresh->fileName = fileName;
    status = loadTable(*fresh, *freshSeries, fileName, env.home, notices);
  } else {
    status = loadImage(*fresh, *freshSeries, fileName, env, notices);
  }
  if (!status) return status.error();
  adoptTableUnits(*fresh, env.settings);
  state = std::move(*fresh);
  series = *freshSeries;
  return notices;
}

Result<ZoomOutcome> zoomIn(datafile::LoadedFile& state, datafile::DisplaySeries& series, const DateTime& from, const DateTime& to,
                           bool twelveHourClock) {
  if (!state.firstTime || !(state.rate > 0.0)) return ZoomOutcome{false, "Maximum Zoom"};
  const DateTime first = *state.firstTime;
  const DateTime currentStart = state.zoomStart.value_or(first);
  DateTime end;
  if (state.zoomEnd) {
    end = *state.zoomEnd;
  } else {
    const std::size_t lastPoint = series.points > 0 ? series.points - 1 : 0;
    end = pointTime(state, series, lastPoint).value_or(first);
  }

  double offset = state.zoomOffsetMinutes;
  DateTime start = currentStart;
  if (protocol::minutesBetween(currentStart, from) > 0.0) {
    offset = protocol::minutesBetween(first, from);
    start = from;
  }
  bool endNotClipped = state.endNotClipped;
  if (protocol::minutesBetween(end, to) < 0.0) {
    end = to;
    endNotClipped = false;
  }
  const double span = protocol::minutesBetween(start, end);
  const double count = std::round(span / state.rate) + 1.0;
  if (!state.tableForm && count > static_cast<double>(kMaxZoomSamples))
    return ZoomOutcome{false, "To many samples: " + std::to_string(static_cast<long long>(count)) + " for QX1 file"};
  if (!(count >= 3.0)) return ZoomOutcome{false, "Maximum Zoom"};

  datafile::LoadedFile next = state;
  next.zoomOffsetMinutes = offset;
  next.zoomStart = start;
  next.zoomEnd = end;
  next.endNotClipped = endNotClipped;
  next.rangeStart = static_cast<std::size_t>(std::max(0.0, std::round(offset / state.rate)));
  next.samplesInRange = static_cast<std::size_t>(count);
  next.rangeFirst = protocol::formatDisplayStamp(protocol::addMinutes(first, offset), twelveHourClock);
  next.rangeLast = protocol::formatDisplayStamp(protocol::addMinutes(first, offset + span), twelveHourClock);
  if (next.tableForm && endNotClipped) {
    next.samplesInRange = next.rowsExpected > static_cast<long long>(next.rangeStart)
                              ? static_cast<std::size_t>(next.rowsExpected) - next.rangeStart
                              : 0;
    next.rangeLast = state.header.last;
  }
  if (!next.tableForm && next.rangeStart < next.samplesInFile)
    next.samplesInRange = std::min(next.samplesInRange, next.samplesInFile - next.rangeStart);
  next.zoomed = true;

  auto nextSeries = std::make_unique<datafile::DisplaySeries>();
  if (next.tableForm) {
    auto content = readWithRetry(next.fileName, {});
    if (!content) return content.error();
    auto notices = readTable(next, *nextSeries, *content);
    if (!notices) return notices.error();
  } else {
    computeDisplayValues(next, *nextSeries);
  }
  state = std::move(next);
  series = *nextSeries;
  return ZoomOutcome{true, {}};
}

Status undoZoom(datafile::LoadedFile& state, datafile::DisplaySeries& series) {
  datafile::LoadedFile next = state;
  next.zoomOffsetMinutes = 0.0;
  next.zoomed = false;
  next.rangeStart = 0;
  next.zoomStart.reset();
  next.zoomEnd.reset();
  next.rangeFirst.clear();
  next.rangeLast.clear();
  next.endNotClipped = true;
  auto nextSeries = std::make_unique<datafile::DisplaySeries>();
  if (next.tableForm) {
    auto content = readWithRetry(next.fileName, {});
    if (!content) return content.error();
    auto notices = readTable(next, *nextSeries, *content);
    if (!notices) return notices.error();
  } else {
    next.samplesInRange = next.samplesInFile;
    computeDisplayValues(next, *nextSeries);
  }
  state = std::move(next);
  series = *nextSeries;
  return {};
}

}  // namespace brevik::graph
