// kaldo graph FILE (--png OUT | --pdf OUT | --svg OUT) [--size WxH] [--from STAMP --to STAMP]
// kaldo graph FILE --describe [--from STAMP --to STAMP]
// Draws a data file as the graph window shows it, with the home's settings
// and colours, into an image file; or prints what the chart shows.

#include <charconv>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/command.h"
#include "cli/json_documents.h"
#include "common/cp1252.h"
#include "common/home_files.h"
#include "graph/chart_plan.h"
#include "graph/graph_colors.h"
#include "graph/graph_model.h"
#include "protocol/time_stamps.h"
#include "settings/logger_settings.h"
#include "settings/runtime_globals.h"

#ifdef BREVIK_HAVE_QT_PLATFORM
#include "platform/chart_drawing.h"
#include "platform/gui_application.h"
#endif

namespace brevik::cli {

namespace {

constexpr const char* kUsage =
    "usage: kaldo graph FILE (--png OUT | --pdf OUT | --svg OUT) [--size WxH] [--from STAMP --to STAMP]\n"
    "       kaldo graph FILE --describe [--from STAMP --to STAMP] [--json]\n"
    "  --size WxH   image size in pixels (default 958x678)\n"
    "  --from, --to the zoomed range as display stamps, e.g. \"Tue  3-Jun-2003  9:05:00\"\n";

constexpr int kDefaultWidth = 958;
constexpr int kDefaultHeight = 678;
constexpr int kMaxSide = 20000;

enum class Output { Png, Pdf, Svg };

struct GraphRequest {
  std::filesystem::path file;
  std::optional<Output> output;
  std::filesystem::path target;
  bool describe = false;
  int width = kDefaultWidth;
  int height = kDefaultHeight;
  std::optional<DateTime> from;
  std::optional<DateTime> to;
};

std::optional<int> sideOf(std::string_view text) {
  int v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < 1 || v > kMaxSide) return std::nullopt;
  return v;
}

// "958x678"
bool parseSize(std::string_view text, int& width, int& height) {
  const auto x = text.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  const auto w = sideOf(text.substr(0, x));
  const auto h = sideOf(text.substr(x + 1));
  if (!w || !h) return false;
  width = *w;
  height = *h;
  return true;
}

// The request, or nothing after a message on ctx.err.
std::optional<GraphRequest> parseRequest(Context& ctx) {
  GraphRequest r;
  std::optional<std::string> file;
  const auto fail = [&ctx](const std::string& why) -> std::optional<GraphRequest> {
    *ctx.err << "kaldo graph: " << why << "\n" << kUsage;
    return std::nullopt;
  };
  for (std::size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    const bool takesValue = a == "--png" || a == "--pdf" || a == "--svg" || a == "--size" || a == "--from" || a == "--to";
    if (takesValue && i + 1 >= ctx.args.size()) return fail(a + " needs a value");
    if (a == "--png" || a == "--pdf" || a == "--svg") {
      if (r.output) return fail("one image file at a time");
      r.output = a == "--png" ? Output::Png : a == "--pdf" ? Output::Pdf : Output::Svg;
      r.target = ctx.args[++i];
    } else if (a == "--size") {
      if (!parseSize(ctx.args[++i], r.width, r.height))
        return fail("--size takes WIDTHxHEIGHT in pixels (1 to " + std::to_string(kMaxSide) + "), not '" +
                    ctx.args[i] + "'");
    } else if (a == "--from" || a == "--to") {
      const std::string& text = ctx.args[++i];
      const auto stamp = protocol::parseDisplayStamp(fromUtf8(text));
      if (!stamp) return fail(a + " takes a display stamp such as \"Tue  3-Jun-2003  9:05:00\", not '" + text + "'");
      (a == "--from" ? r.from : r.to) = stamp;
    } else if (a == "--describe") {
      r.describe = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return fail("unknown option " + a);
    } else if (file) {
      return fail("one data file at a time");
    } else {
      file = a;
    }
  }
  if (!file) return fail("which data file?");
  if (r.describe == r.output.has_value()) return fail("either an image file (--png, --pdf, --svg) or --describe");
  if (r.from.has_value() != r.to.has_value()) return fail("--from and --to go together");
  r.file = *file;
  return r;
}

// The colour file the settings name, looked for in the home without its
// directory; factory colours when it is missing or unreadable. Unlike the
// window's start-up, nothing is written.
graph::ColorSlots homeColors(const std::filesystem::path& home, const std::string& colorFileName) {
  const auto cut = colorFileName.find_last_of("/\\:");
  const std::string name = cut == std::string::npos ? colorFileName : colorFileName.substr(cut + 1);
  if (const auto path = findHomeFile(home, name))
    if (auto slots = graph::readColorFile(*path)) return *slots;
  return graph::kFactoryColorSlots;
}

#ifdef BREVIK_HAVE_QT_PLATFORM
platform::ImageFormat imageFormat(Output output) {
  switch (output) {
    case Output::Pdf: return platform::ImageFormat::Pdf;
    case Output::Svg: return platform::ImageFormat::Svg;
    case Output::Png: break;
  }
  return platform::ImageFormat::Png;
}
#endif

int writeImage(Context& ctx, const GraphRequest& request, const graph::ChartPlan& plan) {
#ifdef BREVIK_HAVE_QT_PLATFORM
  const platform::GuiApplicationScope application;
  if (!application.ready()) {
    *ctx.err << "kaldo graph: drawing needs a GUI application and this process runs another kind\n";
    return kExitFailed;
  }
  auto written = platform::renderChart(plan, request.target, imageFormat(*request.output), request.width, request.height);
  if (!written) {
    *ctx.err << "kaldo graph: " << toUtf8(written.error().message) << "\n";
    return kExitFailed;
  }
  *ctx.out << request.target.string() << " saved to disk\n";
  return kExitOk;
#else
  (void)request;
  (void)plan;
  *ctx.err << "kaldo graph: image output is not available in this build (built without Qt); --describe is\n";
  return kExitFailed;
#endif
}

int runGraph(Context& ctx) {
  const auto request = parseRequest(ctx);
  if (!request) return kExitUsage;
  if (ctx.json && !request->describe) {
    *ctx.err << "kaldo graph: --json goes with --describe\n" << kUsage;
    return kExitUsage;
  }

  settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  graph::GraphModel model(settings, ctx.home, settings::initialGlobals(settings).productTitle);
  model.setColors(homeColors(ctx.home, settings.ColorFileName));
  auto opened = model.open(request->file);
  if (!opened) {
    *ctx.err << "kaldo graph: " << toUtf8(opened.error().message) << "\n";
    return kExitFailed;
  }
  for (const std::string& notice : *opened) *ctx.err << "kaldo graph: " << toUtf8(notice) << "\n";
  if (request->from) {
    auto zoomed = model.zoomIn(*request->from, *request->to);
    if (!zoomed || !zoomed->applied) {
      const std::string message = !zoomed ? zoomed.error().message : zoomed->message;
      *ctx.err << "kaldo graph: " << toUtf8(message) << "\n";
      return kExitFailed;
    }
  }

  const graph::ChartPlan plan = model.plan();
  if (request->describe && ctx.json) {
    json::printDocument(*ctx.out, json::chartDocument(plan, settings.TwelveHourClock != 0));
    return kExitOk;
  }
  if (request->describe) {
    for (const std::string& line : graph::describeChart(plan, settings.TwelveHourClock != 0))
      *ctx.out << toUtf8(line) << "\n";
    return kExitOk;
  }
  return writeImage(ctx, *request, plan);
}

KALDO_COMMAND("graph",
              "FILE (--png OUT | --pdf OUT | --svg OUT) [--size WxH] [--from STAMP --to STAMP] | FILE --describe",
              "draw a data file as the graph window does, into an image or as a description", runGraph,
              kPrintsJson);

}  // namespace

}  // namespace brevik::cli
