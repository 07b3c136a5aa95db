#include "graph/graph_model.h"

#include <algorithm>

#include "common/bytes.h"
#include "graph/display_values.h"
#include "protocol/unit_texts.h"
#include "protocol/vocabulary.h"

namespace brevik::graph {

namespace {

constexpr std::size_t kDataFileNameWidth = 255;
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
  LoadEnvironment env{home_, settings_, {}};
  auto notices = getData(file_, *series_, fileName, env);
  if (!notices) return notices;
  std::string name = fileName.string();
  if (name.size() > kDataFileNameWidth) name.resize(kDataFileNameWidth);
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

ChartPlan GraphModel::plan() const {
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
