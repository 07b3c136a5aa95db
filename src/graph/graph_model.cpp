#include "graph/graph_model.h"

#include <algorithm>

#include "common/bytes.h"
#include "graph/display_values.h"
#include "protocol/unit_texts.h"
#include "protocol/vocabulary.h"

namespace brevik::graph {

namespace {

constexpr std::array<bool, 4> kAllVisible{true, true, true, true};

// The .QX1 file a table's values were converted from.
std::filesystem::path sourceOf(const datafile::LoadedFile& file) {
  if (!file.sourceFileName.empty()) return file.sourceFileName;
  std::filesystem::path p = file.fileName;
  p.replace_extension(".QX1");
  return p;
}

}  // namespace

GraphModel::GraphModel(settings::LoggerSettings& settings, std::filesystem::path home, std::string productTitle)
    : settings_(&settings),
      home_(std::move(home)),
      productTitle_(std::move(productTitle)),
      series_(std::make_unique<datafile::DisplaySeries>()),
      options_(viewOptionsOf(settings)) {}

Result<LoadNotices> GraphModel::open(const std::filesystem::path& fileName) {
  // The readings feed the chart while the real-time graph runs; it is
  // stopped before a file is shown.
  if (realTime_) return makeError(ErrorKind::Usage, "No data file is opened while the Real Time Graph runs");
  LoadEnvironment env{home_, settings_, {}};
  auto notices = getData(file_, *series_, fileName, env);
  if (!notices) return notices;
  std::string name = fileName.string();
  if (name.size() > settings::kFileNameCapacity) name.resize(settings::kFileNameCapacity);
  settings_->DataFileName = name;
  loaded_ = true;
  visible_ = kAllVisible;
  keepLayout_ = false;
  chooseLayoutUnlessKept();
  return notices;
}

Result<ZoomOutcome> GraphModel::zoomIn(const DateTime& from, const DateTime& to) {
  if (!loaded_) return ZoomOutcome{};
  // A zoom keeps the layout: the rebuild of a zoomed range does not choose.
  return graph::zoomIn(file_, *series_, from, to, settings_->TwelveHourClock != 0);
}

Status GraphModel::undoZoom() {
  if (!loaded_) return {};
  if (auto status = graph::undoZoom(file_, *series_); !status) return status;
  if (!file_.tableForm) {
    // The whole record comes back as the file first showed it, every channel
    // in one viewport.
    visible_ = kAllVisible;
    settings_->ViewportCount = 1;
    settings_->ViewportLayout = distributeChannels(1, static_cast<int>(visibleChannels().size()));
  }
  keepLayout_ = true;
  chooseLayoutUnlessKept();
  return {};
}

Status GraphModel::setFahrenheit(bool fahrenheit) {
  const UnitsBefore before{settings_->FahrenheitUnits, settings_->HumidityMode};
  settings_->FahrenheitUnits = fahrenheit ? 1 : 0;
  return applyUnits(before);
}

Status GraphModel::setHumidityMode(int mode) {
  if (mode < 0 || mode > 2) return makeError(ErrorKind::Usage, "Humidity mode " + std::to_string(mode) + " is not 0, 1 or 2");
  const UnitsBefore before{settings_->FahrenheitUnits, settings_->HumidityMode};
  settings_->HumidityMode = static_cast<std::uint8_t>(mode);
  return applyUnits(before);
}

Status GraphModel::applyUnits(const UnitsBefore& before) {
  if (!loaded_) return {};
  if (!file_.tableForm) {
    convertImageAgain();
    return {};
  }
  // A table's values were converted when it was written; only its .QX1
  // file can give them in other units.
  if (!file_.temperatureUnitsFixed && !file_.humidityModeFixed) return {};
  if (auto status = reloadSource(); !status) {
    settings_->FahrenheitUnits = before.fahrenheit;
    settings_->HumidityMode = before.humidityMode;
    return status;
  }
  return {};
}

void GraphModel::convertImageAgain() {
  const protocol::UnitSettings units = unitSettingsOf(*settings_);
  file_.converter.setSettings(units);
  const datafile::DataFileHeaderFields& h = file_.header;
  for (int c : file_.channels) {
    if (c < 1 || c > 4) continue;
    const auto k = static_cast<std::size_t>(c - 1);
    file_.unitTexts[k] = protocol::channelUnitText(h.descriptions[k], h.typeCodes[k], protocol::inputModeOf(h.inputModes, c),
                                                   units.fahrenheit, units.humidityMode);
  }
  computeDisplayValues(file_, *series_);
}

Status GraphModel::reloadSource() {
  auto fresh = std::make_unique<datafile::LoadedFile>();
  auto freshSeries = std::make_unique<datafile::DisplaySeries>();
  LoadEnvironment env{home_, settings_, {}};
  auto loaded = getData(*fresh, *freshSeries, sourceOf(file_), env);
  if (!loaded) return loaded.error();
  if (file_.zoomed && file_.zoomStart && file_.zoomEnd) {
    auto zoom = graph::zoomIn(*fresh, *freshSeries, *file_.zoomStart, *file_.zoomEnd, settings_->TwelveHourClock != 0);
    if (!zoom) return zoom.error();
    // A range the reloaded form refuses (an image holds fewer samples per
    // zoom than a table) is shown whole rather than not at all.
  }
  file_ = std::move(*fresh);
  *series_ = *freshSeries;
  visible_ = kAllVisible;
  chooseLayoutUnlessKept();
  return {};
}

void GraphModel::setOptions(const ViewOptions& options) {
  options_ = options;
  storeViewOptions(options, *settings_);
}

int GraphModel::viewportCount() const { return std::clamp<int>(settings_->ViewportCount, 1, kMaxViewports); }

ViewportLayout GraphModel::viewportLayout() const { return settings_->ViewportLayout; }

std::vector<int> GraphModel::visibleChannels() const {
  std::vector<int> shown;
  for (int c : file_.channels)
    if (c >= 1 && c <= 4 && visible_[static_cast<std::size_t>(c - 1)]) shown.push_back(c);
  return shown;
}

void GraphModel::applyViewports(int count, const ViewportLayout& layout, const std::array<bool, 4>& visible) {
  if (realTime_) {
    // Every reading shows all its channels; the new arrangement starts its
    // Y scales over all the points held.
    settings_->ViewportCount = static_cast<std::uint8_t>(std::clamp(count, 1, kMaxViewports));
    settings_->ViewportLayout = layout;
    realTimeGraph_.resetYRanges();
    return;
  }
  const std::array<bool, 4> before = visible_;
  visible_ = visible;
  // The chart always shows a channel: an arrangement hiding all of them is
  // not taken.
  if (loaded_ && visibleChannels().empty()) {
    visible_ = before;
    return;
  }
  settings_->ViewportCount = static_cast<std::uint8_t>(std::clamp(count, 1, kMaxViewports));
  settings_->ViewportLayout = layout;
}

void GraphModel::chooseLayoutUnlessKept() {
  if (keepLayout_) {
    keepLayout_ = false;
    return;
  }
  if (file_.zoomed) return;
  const ViewportChoice choice = chooseViewports(file_, visibleChannels());
  settings_->ViewportCount = static_cast<std::uint8_t>(choice.count);
  settings_->ViewportLayout = choice.layout;
}

void GraphModel::startRealTime(const protocol::LoggerStatus& status, double now) {
  // The logger stands in for the loaded file: the layout, the legends and
  // the axis labels follow the same rules as for a file it wrote.
  datafile::LoadedFile logger;
  datafile::DataFileHeaderFields& h = logger.header;
  h.typeCodes = status.typeCodes;
  h.revision = status.revision;
  h.modelCode = status.modelCode;
  h.inputModes = status.inputModes;
  h.resolutionCode = status.resolutionCode;
  h.session = status.session;
  h.descriptions = status.descriptions;
  h.rateCode = status.rateCode;
  h.channelBits = status.channelBits;
  logger.resolutionCode = status.resolutionCode;
  logger.fullScale = status.fullScale;
  logger.tableForm = false;
  const protocol::UnitSettings units = unitSettingsOf(*settings_);
  logger.converter.setSettings(units);
  for (int c = 1; c <= 4; ++c) {
    const auto k = static_cast<std::size_t>(c - 1);
    if (status.channelOn(c)) logger.channels.push_back(c);
    logger.unitTexts[k] = protocol::channelUnitText(h.descriptions[k], h.typeCodes[k],
                                                    protocol::inputModeOf(h.inputModes, c), units.fahrenheit,
                                                    units.humidityMode);
  }
  file_ = std::move(logger);
  *series_ = datafile::DisplaySeries{};
  loaded_ = false;
  realTime_ = true;
  visible_ = kAllVisible;
  keepLayout_ = false;
  realTimeGraph_.start(file_.channels, now);
  chooseLayoutUnlessKept();
}

RealTimeGraph::Appended GraphModel::appendReading(const std::array<float, 4>& values, double now) {
  if (!realTime_) return {};
  std::vector<float> active;
  active.reserve(realTimeGraph_.channels().size());
  for (int c : realTimeGraph_.channels()) active.push_back(values[static_cast<std::size_t>(c - 1)]);
  return realTimeGraph_.append(active, now);
}

void GraphModel::realTimeZoomIn(double from, double to, double now) {
  if (realTime_) realTimeGraph_.zoomIn(from, to, now);
}

void GraphModel::realTimeUndoZoom(double now) {
  if (realTime_) realTimeGraph_.undoZoom(now);
}

// File mode again: nothing is loaded until a file is opened.
void GraphModel::stopRealTime() { realTime_ = false; }

ChartPlan GraphModel::realTimePlan() const {
  ChartPlan plan;
  plan.caption = productTitle_ + " / Real Time Graph";
  plan.title = bytes::trimmedRight(file_.header.session);
  plan.options = options_;
  plan.colors = colors_;
  plan.realTime = true;
  plan.zoomed = realTimeGraph_.zoomed();
  plan.times = realTimeGraph_.times();

  const std::vector<int>& channels = realTimeGraph_.channels();
  for (std::size_t slot = 0; slot < channels.size(); ++slot) {
    const int c = channels[slot];
    ChartSubset subset;
    subset.channel = c;
    subset.legend = legendOf(file_.header.descriptions[static_cast<std::size_t>(c - 1)]);
    subset.colorSlot = c;
    subset.values = realTimeGraph_.values(slot);
    plan.subsets.push_back(std::move(subset));
  }

  std::size_t next = 0;
  for (const ViewportPlan& v : planViewports(file_, channels, viewportCount(), viewportLayout())) {
    ChartViewport viewport;
    viewport.axisLabel = v.axisLabel;
    if (v.scale) viewport.scale = AxisScale{true, v.scale->minimum, v.scale->maximum};
    // Without a scale written in the descriptions the axis spans the
    // ranges of its channels.
    bool ranged = false;
    for (std::size_t k = 0; k < v.channels.size(); ++k, ++next) {
      viewport.subsets.push_back(next);
      if (v.scale || !realTimeGraph_.hasRange(next)) continue;
      const YRange r = realTimeGraph_.range(next);
      viewport.scale.minimum = ranged ? std::min(viewport.scale.minimum, r.minimum) : r.minimum;
      viewport.scale.maximum = ranged ? std::max(viewport.scale.maximum, r.maximum) : r.maximum;
      ranged = true;
    }
    if (ranged) viewport.scale.manual = true;
    plan.viewports.push_back(std::move(viewport));
  }

  plan.markers = false;
  plan.xMin = realTimeGraph_.xMin();
  plan.xMax = realTimeGraph_.xMax();
  return plan;
}

ChartPlan GraphModel::plan() const {
  if (realTime_) return realTimePlan();
  ChartPlan plan;
  plan.caption = productTitle_ + " Graph";
  plan.options = options_;
  plan.colors = colors_;
  plan.realTime = realTime_;
  if (!loaded_) return plan;

  plan.title = bytes::trimmedRight(file_.header.session);
  switch (options_.fileName) {
    case FileNameShown::NameOnly: plan.xAxisLabel = file_.fileName.filename().string(); break;
    case FileNameShown::PathAndName: plan.xAxisLabel = file_.fileName.string(); break;
    case FileNameShown::None: break;
  }
  plan.zoomed = file_.zoomed;
  plan.factor = series_->factor;

  const std::size_t points = std::min(series_->points, datafile::kMaxPointsPerChannel);
  plan.times.reserve(points);
  for (std::size_t j = 0; j < points; ++j) {
    const auto t = pointTime(file_, *series_, j);
    // Without a readable First stamp the points still stand apart by the rate.
    plan.times.push_back(t ? chartSeconds(*t)
                           : static_cast<double>(j) * static_cast<double>(series_->factor) * file_.rate * 60.0);
  }

  const std::vector<int> shown = visibleChannels();
  for (int c : shown) {
    const auto found = std::find(file_.channels.begin(), file_.channels.end(), c);
    const auto slot = static_cast<std::size_t>(found - file_.channels.begin());
    ChartSubset subset;
    subset.channel = c;
    subset.legend = legendOf(file_.header.descriptions[static_cast<std::size_t>(c - 1)]);
    subset.colorSlot = c;
    subset.values.reserve(points);
    for (std::size_t j = 0; j < points; ++j) subset.values.push_back(slot < 4 ? series_->value(slot, j) : 0.0);
    plan.subsets.push_back(std::move(subset));
  }

  std::size_t next = 0;
  for (const ViewportPlan& v : planViewports(file_, shown, viewportCount(), viewportLayout())) {
    ChartViewport viewport;
    for (std::size_t k = 0; k < v.channels.size(); ++k) viewport.subsets.push_back(next++);
    viewport.axisLabel = v.axisLabel;
    if (v.scale) viewport.scale = AxisScale{true, v.scale->minimum, v.scale->maximum};
    plan.viewports.push_back(std::move(viewport));
  }

  plan.markers = options_.markDataPoints && plan.factor == 1;
  if (!plan.times.empty()) {
    plan.xMin = plan.times.front();
    plan.xMax = plan.times.back();
  }
  return plan;
}

}  // namespace brevik::graph
