// Loading, decimating and exporting 8-bit four-channel data files: one full
// bank (8,064 samples per channel) and four banks (32,256 per channel, which
// go through the table copy), written by bench_data_files.h into a fresh
// temporary directory.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench_data_files.h"
#include "export/data_export.h"
#include "datafile/data_file_reader.h"
#include "graph/display_values.h"
#include "graph/get_data.h"

namespace {

namespace fs = std::filesystem;
using namespace brevik;

struct Workspace {
  fs::path dir;
  fs::path oneBank;
  fs::path fourBanks;

  Workspace() {
    dir = bench::freshDirectory("brevik-bench");
    oneBank = bench::writeBenchDataFile(dir, "one.QX1", 1);
    fourBanks = bench::writeBenchDataFile(dir, "four.QX1", 4);
  }
  ~Workspace() {
    std::error_code ec;
    fs::remove_all(dir, ec);
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
