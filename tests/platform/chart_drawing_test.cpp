// The chart drawing on hand-made plans: what QCustomPlot ends up holding
// for each viewport arrangement, viewing style, grid option and scale, and
// the image files written from it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <set>

#include "common/cp1252.h"
#include "platform/chart_drawing.h"
#include "platform/gui_application.h"
#include "platform/qcustomplot_include.h"
#include "support/temp_dir.h"

namespace brevik::platform {
namespace {

// One QApplication for the whole suite, made before any test asks for a
// core application of its own.
class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { scope_ = std::make_unique<GuiApplicationScope>(); }
  void TearDown() override { scope_.reset(); }

 private:
  std::unique_ptr<GuiApplicationScope> scope_;
};
[[maybe_unused]] ::testing::Environment* const kGuiEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

constexpr double kStart = 1054631100.0;  // 3 June 2003 09:05 UTC
constexpr int kPoints = 60;

// Maroon text, gray grid, silver plot area, olive desk; channels in green,
// navy, purple and aqua: none of them factory colours.
constexpr graph::ColorSlots kColors = {14, 12, 11, 2, 15, 8, 9, 13};

// Subsets 0, 1, ... spread over viewports of the given sizes; subset k is
// channel k + 1 with values around 10 * (k + 1).
graph::ChartPlan planOf(const std::vector<int>& perViewport) {
  graph::ChartPlan plan;
  plan.title = "Well4;siteB";
  plan.xAxisLabel = "SITE1A.QX1";
  plan.colors = kColors;
  for (int i = 0; i < kPoints; ++i) plan.times.push_back(kStart + 60.0 * i);
  plan.xMin = plan.times.front();
  plan.xMax = plan.times.back();
  std::size_t next = 0;
  for (int count : perViewport) {
    graph::ChartViewport viewport;
    viewport.axisLabel = "Deg C";
    for (int k = 0; k < count; ++k, ++next) {
      graph::ChartSubset subset;
      subset.channel = static_cast<int>(next) + 1;
      subset.colorSlot = subset.channel;
      subset.legend = "Ch" + std::to_string(subset.channel);
      for (int i = 0; i < kPoints; ++i) subset.values.push_back(10.0 * subset.channel + std::sin(i / 5.0));
      plan.subsets.push_back(subset);
      viewport.subsets.push_back(next);
    }
    plan.viewports.push_back(viewport);
  }
  return plan;
}

QColor rgbOf(std::uint8_t index) {
  const graph::Rgb c = graph::paletteColor(index);
  return QColor(c.red, c.green, c.blue);
}

QCPLegend* legendOf(QCPAxisRect* rect) {
  for (int i = 0; i < rect->insetLayout()->elementCount(); ++i)
    if (auto* legend = qobject_cast<QCPLegend*>(rect->insetLayout()->elementAt(i))) return legend;
  return nullptr;
}

TEST(ChartDrawing, OneAxisRectPerViewportWithItsSubsetsLegendsAndOneSharedXRange) {
  QCustomPlot plot;
  for (const std::vector<int>& layout : {std::vector<int>{4}, {2, 2}, {2, 1, 1}, {1, 1, 1, 1}}) {
    SCOPED_TRACE(::testing::PrintToString(layout));
    graph::ChartPlan plan = planOf(layout);
    plan.title = "Fenétre d'été"_cp;
    plan.options.decimals = 3;
    drawChart(plot, plan);
    auto* title = qobject_cast<QCPTextElement*>(plot.plotLayout()->element(0, 0));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QString::fromUtf8("Fenétre d'été"));
    EXPECT_TRUE(title->font().bold());
    EXPECT_EQ(title->textColor(), rgbOf(kColors[4]));
    ASSERT_EQ(plot.axisRectCount(), static_cast<int>(layout.size()));
    std::size_t subset = 0;
    for (int v = 0; v < plot.axisRectCount(); ++v) {
      QCPAxisRect* rect = plot.axisRect(v);
      const QList<QCPGraph*> graphs = rect->graphs();
      ASSERT_EQ(graphs.size(), layout[static_cast<std::size_t>(v)]);
      QCPLegend* legend = legendOf(rect);
      ASSERT_NE(legend, nullptr);
      EXPECT_EQ(legend->itemCount(), graphs.size());
      EXPECT_EQ(legend->textColor(), rgbOf(kColors[4]));
      for (QCPGraph* g : graphs) {
        EXPECT_EQ(g->name().toStdString(), plan.subsets[subset++].legend);
        EXPECT_EQ(g->data()->size(), kPoints);
        EXPECT_TRUE(legend->hasItemWithPlottable(g));
      }
      const bool bottom = v + 1 == plot.axisRectCount();
      QCPAxis* x = rect->axis(QCPAxis::atBottom);
      QCPAxis* y = rect->axis(QCPAxis::atLeft);
      EXPECT_EQ(x->tickLabels(), bottom);
      EXPECT_EQ(x->label(), bottom ? QString("SITE1A.QX1") : QString());
      EXPECT_EQ(x->range(), QCPRange(plan.xMin, plan.xMax));
      EXPECT_NE(qSharedPointerDynamicCast<QCPAxisTickerDateTime>(x->ticker()), nullptr);
      EXPECT_EQ(y->label(), QString("Deg C"));
      EXPECT_EQ(y->numberPrecision(), 3);
      EXPECT_EQ(y->tickLabelColor(), rgbOf(kColors[4]));
      EXPECT_EQ(y->grid()->pen().color(), rgbOf(kColors[5]));
      EXPECT_EQ(rect->backgroundBrush().color(), rgbOf(kColors[6]));
    }
    EXPECT_EQ(plot.graphCount(), 4);
    // A zoom on the top viewport moves every viewport's X axis.
    plot.axisRect(0)->axis(QCPAxis::atBottom)->setRange(kStart + 600.0, kStart + 1200.0);
    for (int v = 0; v < plot.axisRectCount(); ++v)
      EXPECT_DOUBLE_EQ(plot.axisRect(v)->axis(QCPAxis::atBottom)->range().lower, kStart + 600.0);
  }
}

TEST(ChartDrawing, ViewOptionsSetPensSymbolsAndGrids) {
  using graph::GridLines;
  using graph::ViewingStyle;
  struct Case {
    ViewingStyle style;
    bool markers;
    bool thick;
    GridLines grid;
    bool inFront;
    bool xGrid;
    bool yGrid;
  };
  const Case cases[] = {
      {ViewingStyle::Color, false, false, GridLines::None, false, false, false},
      {ViewingStyle::Color, true, true, GridLines::YAxis, true, false, true},
      {ViewingStyle::Monochrome, false, true, GridLines::XAxis, false, true, false},
      {ViewingStyle::Monochrome, true, false, GridLines::Both, true, true, true},
      {ViewingStyle::MonochromeSymbols, false, false, GridLines::Both, false, true, true},
      {ViewingStyle::MonochromeSymbols, true, true, GridLines::None, true, false, false},
  };
  QCustomPlot plot;
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style) * 10 + c.markers * 2 + c.thick);
    graph::ChartPlan plan = planOf({2, 2});
    plan.options.style = c.style;
    plan.options.thickLines = c.thick;
    plan.options.grid = c.grid;
    plan.options.gridInFront = c.inFront;
    plan.markers = c.markers;
    drawChart(plot, plan);
    ASSERT_EQ(plot.graphCount(), 4);
    const bool symbols = c.style == ViewingStyle::MonochromeSymbols;
    std::set<int> penStyles, shapes;
    for (int k = 0; k < 4; ++k) {
      const QCPGraph* g = plot.graph(k);
      EXPECT_NEAR(g->pen().widthF(), c.thick ? 2.5 : 1.0, 1e-9);
      EXPECT_EQ(g->pen().color(), c.style == ViewingStyle::Color ? rgbOf(kColors[static_cast<std::size_t>(k)]) : Qt::black);
      penStyles.insert(g->pen().style());
      shapes.insert(g->scatterStyle().shape());
      EXPECT_EQ(g->scatterStyle().shape() != QCPScatterStyle::ssNone, c.markers || symbols);
      // Without markers the symbols only name the lines.
      EXPECT_EQ(g->scatterSkip() > 0, symbols && !c.markers);
    }
    EXPECT_EQ(penStyles.size(), c.style == ViewingStyle::Monochrome ? 4u : 1u);
    EXPECT_EQ(shapes.size(), symbols ? 4u : 1u);
    for (int v = 0; v < plot.axisRectCount(); ++v) {
      EXPECT_EQ(plot.axisRect(v)->axis(QCPAxis::atBottom)->grid()->visible(), c.xGrid);
      EXPECT_EQ(plot.axisRect(v)->axis(QCPAxis::atLeft)->grid()->visible(), c.yGrid);
    }
    EXPECT_EQ(plot.layer("grid")->index() > plot.layer("main")->index(), c.inFront);
  }
}

TEST(ChartDrawing, YRangeIsTheFixedScaleElseTheDataWithRoom) {
  struct Case {
    graph::AxisScale scale;
    std::vector<double> values;  // empty: the plan's own
    double lower;                // expected, or NaN: around the data
    double upper;
  };
  const double nan = std::nan("");
  const Case cases[] = {
      {{true, 0.0, 250.0}, {}, 0.0, 250.0},
      {{true, 250.0, 0.0}, {}, 0.0, 250.0},     // given upside down
      {{true, 5.0, 5.0}, {}, 4.0, 6.0},         // an empty scale still shows
      {{false, 0.0, 250.0}, {}, nan, nan},      // automatic: the data
      {{false, 0.0, 0.0}, std::vector<double>(kPoints, 42.0), nan, nan},  // a flat line
  };
  QCustomPlot plot;
  for (const Case& c : cases) {
    graph::ChartPlan plan = planOf({1});
    plan.viewports[0].scale = c.scale;
    if (!c.values.empty()) plan.subsets[0].values = c.values;
    drawChart(plot, plan);
    const QCPRange range = plot.axisRect(0)->axis(QCPAxis::atLeft)->range();
    SCOPED_TRACE(std::to_string(range.lower) + ".." + std::to_string(range.upper));
    if (!std::isnan(c.lower)) {
      EXPECT_DOUBLE_EQ(range.lower, c.lower);
      EXPECT_DOUBLE_EQ(range.upper, c.upper);
      continue;
    }
    const auto [low, high] = std::minmax_element(plan.subsets[0].values.begin(), plan.subsets[0].values.end());
    EXPECT_LT(range.lower, *low);
    EXPECT_GT(range.upper, *high);
    EXPECT_LT(range.size(), std::max(1.0, (*high - *low)) * 4.0);
  }
}

TEST(ChartDrawing, ViewportsGetEqualPlotHeightsAndPixelsMapToChartSeconds) {
  QCustomPlot plot;
  plot.resize(958, 678);
  for (const std::vector<int>& layout : {std::vector<int>{1, 1}, {1, 1, 1}, {1, 1, 1, 1}}) {
    drawChart(plot, planOf(layout));
    plot.replot();
    const int first = plot.axisRect(0)->rect().height();
    EXPECT_GT(first, 60);
    for (int v = 1; v < plot.axisRectCount(); ++v) EXPECT_NEAR(plot.axisRect(v)->rect().height(), first, 1);
    const QRect area = plot.axisRect(0)->rect();
    const ChartSpan span = chartSpanOfPixels(plot, area.right() + 1, area.left());
    EXPECT_NEAR(span.from, kStart, 60.0);
    EXPECT_NEAR(span.to, kStart + 60.0 * (kPoints - 1), 60.0);
  }
}

TEST(ChartDrawing, ImageFormatsByExtensionInAnyCase) {
  EXPECT_EQ(imageFormatOf("a.PNG"), ImageFormat::Png);
  EXPECT_EQ(imageFormatOf("b.jpeg"), ImageFormat::Jpeg);
  EXPECT_EQ(imageFormatOf("b.Jpg"), ImageFormat::Jpeg);
  EXPECT_EQ(imageFormatOf("c.pdf"), ImageFormat::Pdf);
  EXPECT_EQ(imageFormatOf("d.svg"), ImageFormat::Svg);
  EXPECT_EQ(imageFormatOf("e.bmp"), std::nullopt);
  EXPECT_EQ(imageFormatOf("png"), std::nullopt);
}

TEST(ChartDrawing, RenderWritesEachFormatAtTheAskedSizeAndNothingOnFailure) {
  brevik::testing::TempDir dir;
  const graph::ChartPlan plan = planOf({2, 1});
  struct Case {
    const char* name;
    ImageFormat format;
    const char* magic;
  };
  for (const Case& c : {Case{"chart.png", ImageFormat::Png, "\x89PNG"}, Case{"chart.jpg", ImageFormat::Jpeg, "\xFF\xD8"},
                        Case{"chart.pdf", ImageFormat::Pdf, "%PDF"}, Case{"chart.svg", ImageFormat::Svg, "<?xml"}}) {
    ASSERT_TRUE(renderChart(plan, dir / c.name, c.format, 640, 400)) << c.name;
    EXPECT_EQ(dir.read(c.name).rfind(c.magic, 0), 0u) << c.name;
  }
  const QImage png(QString::fromStdString((dir / "chart.png").string()));
  EXPECT_EQ(png.size(), QSize(640, 400));
  EXPECT_EQ(png.pixelColor(1, 1), rgbOf(kColors[7]));  // the desk
  const QImage image = chartImage(plan, 320, 200);
  EXPECT_EQ(image.size(), QSize(320, 200));
  EXPECT_EQ(image.pixelColor(1, 1), rgbOf(kColors[7]));

  std::size_t before = std::distance(std::filesystem::directory_iterator(dir.path()), {});
  const Status missingFolder = renderChart(plan, dir / "no-such" / "chart.png", ImageFormat::Png, 640, 400);
  EXPECT_FALSE(missingFolder);
  EXPECT_FALSE(renderChart(plan, dir / "sized.png", ImageFormat::Png, 0, 400));
  // Drawn, then the rename onto a folder fails: the drawn file goes too.
  std::filesystem::create_directory(dir / "taken.png");
  EXPECT_FALSE(renderChart(plan, dir / "taken.png", ImageFormat::Png, 640, 400));
  ++before;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), static_cast<long>(before));
  EXPECT_FALSE(std::filesystem::exists(dir / "no-such"));
}

}  // namespace
}  // namespace brevik::platform
