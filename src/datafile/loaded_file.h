#pragma once
// The loaded-file state: the one data file the graph shows (and the export
// writes out), with its time base, the shown range and the raw samples of
// an image-form file. It lives until the next file is opened.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/logger_memory.h"
#include "datafile/data_file_header.h"
#include "protocol/conversions.h"

namespace brevik::datafile {

struct LoadedFile {
  // The file being shown: the .QX1 file, or the .QX2 table (opened as such,
  // or the table copy of a multi-bank .QX1 file).
  std::filesystem::path fileName;
  // The .QX1 file a table copy was written from (empty otherwise).
  std::filesystem::path sourceFileName;

  DataFileHeaderFields header;
  TypeLineForm typeLineForm = TypeLineForm::Full;
  std::optional<DateTime> firstTime;
  std::optional<DateTime> lastTime;

  std::vector<int> channels;  // active channel numbers, ascending; slot j holds channels[j]
  int resolutionCode = 1;
  int fullScale = memory::kEightBit.fullScale;
  bool wrapMode = false;
  std::int32_t memorySamples = 0;  // M: samples that fill one bank

  double rate = 60.0;  // minutes per sample
  float span = 0.0f;   // minutes from First to Last

  std::size_t samplesInRange = 0;  // S: samples per channel in the shown range
  std::size_t samplesInFile = 0;   // S of the whole file, what undoing a zoom returns to
  std::size_t rangeStart = 0;      // first shown sample, from the file's first sample
  bool zoomed = false;
  std::string rangeFirst;          // display stamps of the shown range
  std::string rangeLast;
  double zoomOffsetMinutes = 0.0;  // from the file's first sample to the zoom start
  std::optional<DateTime> zoomStart;
  std::optional<DateTime> zoomEnd;
  bool endNotClipped = true;  // the shown range reaches the end of the file

  bool tableForm = false;
  long long rowsExpected = 0;              // table form: rows the file is taken to hold
  std::array<std::string, 4> unitTexts;    // table form: 9 characters at most
  bool temperatureUnitsFixed = false;      // table form: the file says Deg F or Deg C
  bool humidityModeFixed = false;          // table form: the file names the humidity mode

  // Image form: the raw counts of the shown bank, samples[slot][k].
  std::vector<std::vector<std::uint16_t>> samples;
  // Conversions of the file's channels (tables loaded, settings applied).
  protocol::UnitConverter converter;

  std::size_t channelCount() const { return channels.size(); }
};

// "Bat: " and the battery voltage for files whose type line carries it, else empty.
std::string batteryText(const LoadedFile& file);
// The model name of the logger that wrote the file (empty for a table).
std::string modelNameOf(const LoadedFile& file);

}  // namespace brevik::datafile
