// The graph of the four-bank file as the window draws it, offscreen: from
// opening the file to the first paint of its chart, and the rebuild after a
// zoom (zoom in, draw, paint); and the real-time graph's redraw after each
// reading. With --write-inputs DIR it writes the inputs
// of tools/graph-speed.sh instead: the data file and a CSV of the plotted
// times and subsets, which bench/graph_matplotlib.py draws.

#include <benchmark/benchmark.h>

#include <QImage>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "bench_data_files.h"
#include "graph/graph_model.h"
#include "platform/chart_drawing.h"
#include "platform/gui_application.h"
#include "platform/qcustomplot_include.h"
#include "settings/runtime_globals.h"

namespace {

namespace fs = std::filesystem;
using namespace brevik;

constexpr int kWidth = 958;
constexpr int kHeight = 678;

struct Workspace {
  fs::path dir;
  fs::path fourBanks;

  Workspace() {
    dir = bench::freshDirectory("brevik-graph-bench");
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

// The window's model with the settings a fresh home starts with.
struct Model {
  settings::LoggerSettings settings;
  graph::GraphModel model{settings, workspace().dir, std::string(settings::kProductTitle)};
};

void BM_GraphOpenToFirstPaintFourBanks(benchmark::State& state) {
  for (auto _ : state) {
    Model m;
    auto opened = m.model.open(workspace().fourBanks);
    if (!opened) {
      state.SkipWithError(opened.error().message.c_str());
      break;
    }
    const QImage image = platform::chartImage(m.model.plan(), kWidth, kHeight);
    if (image.isNull()) state.SkipWithError("no image");
    benchmark::DoNotOptimize(image.constBits());
  }
}

// A zoom box of `days` days from 10 June, drawn on the window's plot, then
// painted; the undo between rounds is not counted.
void zoomRebuild(benchmark::State& state, int days) {
  Model m;
  if (!m.model.open(workspace().fourBanks)) {
    state.SkipWithError("open failed");
    return;
  }
  QCustomPlot plot;
  plot.resize(kWidth, kHeight);
  platform::drawChart(plot, m.model.plan());
  const DateTime from{2003, 6, 10, 0, 0, 0, 0, 2};
  const DateTime to{2003, 6, 10 + days, 0, 0, 0, 0, weekdayOf(2003, 6, 10 + days)};
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  std::size_t factor = 0;
  for (auto _ : state) {
    auto zoomed = m.model.zoomIn(from, to);
    if (!zoomed || !zoomed->applied) {
      state.SkipWithError("zoom refused");
      break;
    }
    const graph::ChartPlan plan = m.model.plan();
    factor = plan.factor;
    platform::drawChart(plot, plan);
    QCPPainter painter(&image);
    plot.toPainter(&painter, kWidth, kHeight);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
    state.PauseTiming();
    (void)m.model.undoZoom();
    state.ResumeTiming();
  }
  state.counters["F"] = static_cast<double>(factor);
}

void BM_GraphZoomRebuildWeek(benchmark::State& state) { zoomRebuild(state, 7); }
void BM_GraphZoomRebuildDay(benchmark::State& state) { zoomRebuild(state, 1); }

// Four channels of a logger as its status gives them.
protocol::LoggerStatus fourChannelLogger() {
  protocol::LoggerStatus status;
  status.channelBits = 0x0F;
  status.typeCodes = {'A', 'B', '3', '3'};
  status.descriptions = {"Air", "Water", "Flow;l/s", "Level;m"};
  status.session = "Real-time benchmark";
  return status;
}

std::array<float, 4> readingAt(int i) {
  const float x = static_cast<float>(i) * 0.05f;
  return {20.0f + 5.0f * std::sin(x), 12.0f + std::cos(x), -3.0f + 0.5f * std::sin(2.0f * x), 40.0f + x * 0.01f};
}

// A reading a second into a chart already full (between 800 and 999
// points, the window moving every 30 readings): append, plan, draw on the
// window's plot, paint.
void BM_RealTimeAppendAndRedraw(benchmark::State& state) {
  Model m;
  constexpr double kStart = 1054631100;  // 3 June 2003 9:05
  m.model.startRealTime(fourChannelLogger(), kStart);
  int reading = 0;
  for (; reading < 998; ++reading) m.model.appendReading(readingAt(reading), kStart + reading);
  QCustomPlot plot;
  plot.resize(kWidth, kHeight);
  platform::drawChart(plot, m.model.plan());
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  double points = 0.0;
  for (auto _ : state) {
    m.model.appendReading(readingAt(reading), kStart + reading);
    ++reading;
    const graph::ChartPlan plan = m.model.plan();
    points += static_cast<double>(plan.times.size());
    platform::drawChart(plot, plan);
    QCPPainter painter(&image);
    plot.toPainter(&painter, kWidth, kHeight);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["points"] = benchmark::Counter(points, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_GraphOpenToFirstPaintFourBanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphZoomRebuildWeek)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphZoomRebuildDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RealTimeAppendAndRedraw)->Unit(benchmark::kMillisecond);

// The four-bank file in `dir` and, beside it, four.csv: the plotted time of
// each point (chart seconds, UTC) and the four subsets' values, as the
// chart's plan holds them.
int writeInputs(const fs::path& dir) {
  fs::create_directories(dir);
  fs::copy_file(fs::path(BREVIK_DATA_DIR) / "C.Rvt", dir / "C.Rvt", fs::copy_options::overwrite_existing);
  const fs::path file = bench::writeBenchDataFile(dir, "four.QX1", 4);
  settings::LoggerSettings settings;
  graph::GraphModel model(settings, dir, std::string(settings::kProductTitle));
  if (auto opened = model.open(file); !opened) {
    std::cerr << opened.error().message << "\n";
    return 1;
  }
  const graph::ChartPlan plan = model.plan();
  std::ofstream csv(dir / "four.csv");
  csv << "time";
  for (const graph::ChartSubset& s : plan.subsets) csv << "," << s.legend;
  csv << "\n";
  csv.precision(12);
  for (std::size_t i = 0; i < plan.times.size(); ++i) {
    csv << plan.times[i];
    for (const graph::ChartSubset& s : plan.subsets) csv << "," << (i < s.values.size() ? s.values[i] : 0.0);
    csv << "\n";
  }
  std::cout << file.string() << "\n" << (dir / "four.csv").string() << "\n";
  return csv.good() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const platform::GuiApplicationScope application;
  if (argc == 3 && std::strcmp(argv[1], "--write-inputs") == 0) return writeInputs(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
