// Loading, decimating and exporting 8-bit four-channel data files: one full
// bank (8,064 samples per channel) and four banks (32,256 per channel, which
// go through the table copy). The input files are written here with the data
// file writer, into a fresh temporary directory.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "export/data_export.h"
#include "datafile/data_file_writer.h"
#include "graph/display_values.h"
#include "graph/get_data.h"

namespace {

namespace fs = std::filesystem;
using namespace brevik;

constexpr std::size_t kLineBytes = 96;

struct Workspace {
  fs::path dir;
  fs::path oneBank;
  fs::path fourBanks;

  Workspace() {
    dir = fs::temp_directory_path() / ("brevik-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    // The thermistor table comes from the shipped data.
    fs::copy_file(fs::path(BREVIK_DATA_DIR) / "C.Rvt", dir / "C.Rvt", fs::copy_options::overwrite_existing);
    oneBank = write("one.QX1", 1);
    fourBanks = write("four.QX1", 4);
  }
  ~Workspace() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  fs::path write(const char* name, int banks) const {
    datafile::DataFileHeaderFields h;
    h.referenceOhms = datafile::kReferenceOhms30100;
    h.typeCodes = {'C', '3', 'X', '3'};
    h.revision = 'q';
    h.modelCode = '6';
    h.resolutionCode = 1;
    h.batteryVolts = 3.6f;
    h.lastBank = static_cast<char>('A' + banks - 1);
    h.first = "Tue  3-Jun-2003  9:05:00";
    // One sample a minute: four banks of 8,064 per channel end 32,255 minutes on.
    h.last = banks == 4 ? "Wed 25-Jun-2003 18:40:00" : "Sun  8-Jun-2003 23:28:00";
    h.transferred = "Thu 26-Jun-2003 10:01:02";
    h.pcTime = "Thu 26-Jun-2003 10:01:05";
    h.session = "Bench;site";
    h.descriptions = {"Air", "Level;m", "Door", "Flow;l/s"};
    h.rateCode = 'G';
    h.channelBits = 0x0F;
    h.memoryPointer = memory::kFirstDataAddress + memory::kBankBytes;
    h.scalingTexts = {"C", "  0.00  5.00", "   0.0   1.0", "   0.0 100.0"};
    auto writer = datafile::DataFileWriter::create(dir / name);
    if (!writer) std::abort();
    (void)writer->writeHeader(h);
    std::string line;
    std::size_t sample = 0;
    for (int b = 0; b < banks; ++b) {
      for (std::int32_t at = 0; at < memory::kBankBytes; at += kLineBytes) {
        line.clear();
        unsigned sum = 0;
        for (std::size_t i = 0; i < kLineBytes; ++i, ++sample) {
          // Slow waves with some noise, different on each channel.
          const auto v = static_cast<unsigned>((sample / 4 / 40 + (sample % 4) * 60 + (sample * 7919) % 13) % 230 + 10);
          char pair[3];
          std::snprintf(pair, sizeof pair, "%02X", v & 0xFF);
          line += pair;
          sum += v;
        }
        char check[3];
        std::snprintf(check, sizeof check, "%02X", sum & 0xFF);
        line += check;
        (void)writer->appendDataLine(line);
      }
      (void)writer->endBank(static_cast<char>('A' + b));
    }
    (void)writer->close();
    return dir / name;
  }
};

Workspace& workspace() {
  static Workspace w;
  return w;
}

// A loaded-file state with the home's default settings, as the graph holds it.
struct Loading {
  settings::LoggerSettings settings;
  graph::LoadEnvironment env;
  std::unique_ptr<datafile::LoadedFile> loaded = std::make_unique<datafile::LoadedFile>();
  std::unique_ptr<datafile::DisplaySeries> series = std::make_unique<datafile::DisplaySeries>();

  Loading() {
    env.home = workspace().dir;
    env.settings = &settings;
  }
  // Loads `file` once; false when it could not be loaded.
  bool load(const fs::path& file) { return bool(graph::getData(*loaded, *series, file, env)); }
};

void loadAndDecimate(benchmark::State& state, const fs::path& file) {
  Loading l;
  auto& loaded = l.loaded;
  auto& series = l.series;
  for (auto _ : state) {
    auto r = graph::getData(*loaded, *series, file, l.env);
    if (!r) state.SkipWithError(r.error().message.c_str());
    benchmark::DoNotOptimize(series->points);
  }
  state.counters["points"] = static_cast<double>(series->points);
  state.counters["samples/ch"] = static_cast<double>(loaded->tableForm ? loaded->rowsExpected : loaded->samplesInFile);
}

void BM_LoadAndDecimateOneBank(benchmark::State& state) { loadAndDecimate(state, workspace().oneBank); }
void BM_LoadAndDecimateFourBanks(benchmark::State& state) { loadAndDecimate(state, workspace().fourBanks); }

void BM_DecimateOneBank(benchmark::State& state) {
  Loading l;
  auto& loaded = l.loaded;
  auto& series = l.series;
  if (!l.load(workspace().oneBank)) state.SkipWithError("load failed");
  for (auto _ : state) {
    graph::computeDisplayValues(*loaded, *series);
    benchmark::DoNotOptimize(series->points);
  }
}

void BM_ExportEveryPointFourBanks(benchmark::State& state) {
  Loading l;
  auto& loaded = l.loaded;
  if (!l.load(workspace().fourBanks)) state.SkipWithError("load failed");
  exporting::ExportOptions options;
  const fs::path target = workspace().dir / "four.csv";
  for (auto _ : state) {
    auto s = exporting::exportLoadedFile(*loaded, target, options, workspace().dir);
    if (!s) state.SkipWithError(s.error().message.c_str());
  }
  state.counters["bytes"] = static_cast<double>(fs::file_size(target));
}

// The same export straight from the raw counts, as the table copy writes it.
void BM_TableCopyFourBanks(benchmark::State& state) {
  Loading l;
  auto& loaded = l.loaded;
  if (!l.load(workspace().fourBanks)) state.SkipWithError("load failed");
  auto data = datafile::readLoggerDataFile(workspace().fourBanks);
  if (!data) state.SkipWithError("read failed");
  for (auto _ : state) {
    auto s = exporting::writeTableCopy(*data, *loaded, workspace().dir / "copy.QX2", false);
    if (!s) state.SkipWithError(s.error().message.c_str());
  }
}

BENCHMARK(BM_LoadAndDecimateOneBank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndDecimateFourBanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecimateOneBank)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportEveryPointFourBanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableCopyFourBanks)->Unit(benchmark::kMillisecond);

}  // namespace
