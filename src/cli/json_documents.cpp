#include "cli/json_documents.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "common/bytes.h"
#include "protocol/status_texts.h"
#include "protocol/time_stamps.h"
#include "protocol/vocabulary.h"

namespace brevik::cli::json {

namespace {

std::string trimmed(std::string_view text) {
  const auto from = text.find_first_not_of(' ');
  if (from == std::string_view::npos) return {};
  return std::string(text.substr(from, text.find_last_not_of(' ') - from + 1));
}

Value character(char c) { return Value::text(std::string(1, c)); }

// A single-precision value as its seven significant digits say it, so that
// 6.7f reads 6.7 and not 6.699999809265137.
Value floatNumber(float f) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(f));
  return Value::number(std::strtod(buf, nullptr));
}

Value numberOrNull(std::optional<double> n) { return n ? Value::number(*n) : Value(); }

// A value text such as " -14.49 Deg F", "OFF" or " Open": the text without
// its padding, the number it shows and the unit after it (both null when it
// shows no number).
void setShownValue(Value& object, std::string_view cp1252) {
  const std::optional<double> n = leadingNumber(cp1252);
  object.set("text", Value::text(trimmed(cp1252)));
  object.set("value", numberOrNull(n));
  object.set("unit", n ? Value::text(afterLeadingNumber(cp1252)) : Value());
}

// A stamp text and its ISO 8601 form side by side: `key` and `key`Iso.
void setStamp(Value& object, const std::string& key, std::string_view cp1252, const std::optional<DateTime>& parsed) {
  object.set(key, Value::text(cp1252));
  object.set(key + "Iso", parsed ? Value::iso(*parsed) : Value());
}

void setDisplayStamp(Value& object, const std::string& key, std::string_view cp1252) {
  setStamp(object, key, cp1252, protocol::parseDisplayStamp(cp1252));
}

std::optional<std::int64_t> wholeNumber(std::string_view text) {
  std::int64_t n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

// A field shown as decimal digits is a number; anything else stays text.
Value fieldValue(std::string_view cp1252, bool numeric) {
  if (numeric)
    if (const auto n = wholeNumber(cp1252)) return Value::integer(*n);
  return Value::text(cp1252);
}

// The stamp the state text shows, if any: when the logger stopped, or when
// its memory will be full. Taken only when the text shows it, so the ISO form
// never says more than the text.
std::optional<DateTime> stateStamp(const protocol::LoggerStatus& status, std::string_view state, bool twelveHourClock) {
  if (!status.stopTimeText.empty() && state.find(status.stopTimeText) != std::string_view::npos)
    return protocol::parseDisplayStamp(status.stopTimeText);
  const DateTime full = protocol::addMinutes(status.firstReading, protocol::recordingMinutes(status));
  if (state.find(protocol::formatDisplayStamp(full, twelveHourClock)) != std::string_view::npos) return full;
  return std::nullopt;
}

template <typename Range, typename Make>
Value arrayOf(const Range& range, Make make) {
  Value a = Value::array();
  for (const auto& item : range) a.push(make(item));
  return a;
}

}  // namespace

Value statusDocument(const protocol::LoggerStatus& status, bool twelveHourClock,
                     const std::optional<std::string>& scheduleText) {
  const protocol::StatusForm form = protocol::buildStatusForm(status, protocol::StatusTextSettings{twelveHourClock});
  Value shown = Value::object();
  for (const protocol::StatusComponent& c : form.components)
    if (c.visible) shown.set(c.name, Value::text(c.text));

  Value logger = Value::object();
  logger.set("model", Value::text(form.text("ModelBox")));
  logger.set("modelCode", character(status.modelCode));
  logger.set("revision", character(status.revision));
  logger.set("resolutionBits", Value::integer(static_cast<int>(status.resolution)));
  logger.set("stationAddress", Value::integer(status.stationAddress));
  logger.set("batteryVolts", numberOrNull(leadingNumber(form.text("BatteryBox"))));
  logger.set("batteryLow", Value::boolean(status.batteryLow));
  logger.set("session", Value::text(bytes::trimmedRight(status.session)));
  logger.set("rateCode", character(status.rateCode));
  logger.set("rate", Value::text(form.text("SampRateBox")));
  logger.set("intervalMinutes", floatNumber(status.intervalMinutes));
  const std::string state = form.text("CurrentStateBox");
  logger.set("state", Value::text(state));
  const auto stamp = stateStamp(status, state, twelveHourClock);
  logger.set("stateIso", stamp ? Value::iso(*stamp) : Value());
  logger.set("stopMode", Value::text(form.text("StopModeBox")));
  logger.set("recordingCapacity", Value::text(trimmed(form.text("TimeSpanBox"))));
  setDisplayStamp(logger, "firstReading", form.text("FirstReadingBox"));
  setDisplayStamp(logger, "clock", form.text("ClockBox"));
  logger.set("statusFlags", Value::integer(status.flags));
  logger.set("channelBits", Value::integer(status.channelBits));
  logger.set("memoryPointer", Value::integer(status.memoryPointer));
  logger.set("bank", character(status.bankLetter));
  Value channels = Value::array();
  for (int c = 1; c <= protocol::kChannelCount; ++c) {
    const auto i = static_cast<std::size_t>(c - 1);
    const std::string n = std::to_string(c);
    Value channel = Value::object();
    channel.set("channel", Value::integer(c));
    channel.set("on", Value::boolean(status.channelOn(c)));
    channel.set("typeCode", character(status.typeCodes[i]));
    channel.set("description", Value::text(form.text("Desc" + n + "Box")));
    Value reading = Value::object();
    setShownValue(reading, form.text("Value" + n + "Box"));
    channel.set("reading", std::move(reading));
    channel.set("scale", Value::text(form.text("scal" + n + "box")));
    channel.set("input", Value::text(form.text("inp" + n + "box")));
    channels.push(std::move(channel));
  }
  logger.set("channels", std::move(channels));

  Value document = Value::object();
  document.set("form", std::move(shown));
  document.set("logger", std::move(logger));
  document.set("schedule", scheduleText ? Value::text(*scheduleText) : Value());
  return document;
}

Value dataFileDocument(const std::string& fileName, const datafile::LoggerDataFile& f) {
  const datafile::DataFileHeaderFields& h = f.header;
  Value d = Value::object();
  d.set("file", Value::utf8(fileName));
  d.set("typeLine", Value::utf8(f.typeLineForm == datafile::TypeLineForm::Full         ? "full"
                                : f.typeLineForm == datafile::TypeLineForm::FourCodes ? "four-codes"
                                                                                      : "single-code"));
  d.set("referenceOhms", Value::integer(h.referenceOhms));
  d.set("typeCodes", arrayOf(h.typeCodes, character));
  if (f.typeLineForm == datafile::TypeLineForm::Full) {
    d.set("revision", character(h.revision));
    d.set("modelCode", character(h.modelCode));
    d.set("model", Value::text(protocol::modelName(h.modelCode, f.resolutionCode == protocol::kResolution12Bit,
                                                   f.resolutionCode == protocol::kResolution10Bit)));
    Value modes = Value::array();
    for (int c = 1; c <= 4; ++c) {
      const int mode = protocol::inputModeOf(h.inputModes, c);
      Value m = Value::object();
      m.set("channel", Value::integer(c));
      m.set("mode", Value::integer(mode));
      m.set("text", Value::text(protocol::inputModeStatusText(mode)));
      modes.push(std::move(m));
    }
    d.set("inputModes", std::move(modes));
    char volts[16];
    std::snprintf(volts, sizeof volts, "%.1f", static_cast<double>(h.batteryVolts));
    d.set("batteryVolts", numberOrNull(leadingNumber(volts)));
    d.set("lastBank", character(h.lastBank));
  }
  setStamp(d, "first", h.first, f.firstTime);
  setStamp(d, "last", h.last, f.lastTime);
  d.set("session", Value::text(bytes::trimmedRight(h.session)));
  setStamp(d, "transferred", h.transferred, f.transferredTime);
  setStamp(d, "pcTime", h.pcTime, f.pcTime);
  d.set("descriptions", arrayOf(h.descriptions, [](const std::string& s) { return Value::text(bytes::trimmedRight(s)); }));
  d.set("statusFlags", Value::integer(h.statusFlags));
  d.set("rateCode", Value::integer(protocol::byteOf(h.rateCode)));
  const auto rate = protocol::rateText(h.rateCode);
  d.set("rate", rate ? Value::text(trimmed(*rate)) : Value());
  d.set("channelBits", Value::integer(h.channelBits));
  d.set("memoryPointer", Value::integer(h.memoryPointer));
  d.set("phaseByte", f.hasPhaseByte ? Value::integer(h.phaseByte) : Value());
  d.set("scalings", arrayOf(h.scalingTexts, [](const std::string& s) { return Value::text(s); }));
  d.set("channels", arrayOf(f.channels, [](int c) { return Value::integer(c); }));
  const std::string_view resolution = protocol::resolutionText(f.resolutionCode);
  d.set("resolution", Value::text(resolution));
  d.set("resolutionBits", numberOrNull(leadingNumber(resolution)));
  d.set("wrapMode", Value::boolean(f.wrapMode));
  d.set("phase", f.wrapMode ? Value::integer(f.phase) : Value());
  d.set("banks", arrayOf(f.banks, [](const datafile::DataBank& bank) {
          Value b = Value::object();
          b.set("letter", character(bank.letter));
          b.set("samplesPerChannel", Value::integer(static_cast<std::int64_t>(bank.samplesPerChannel)));
          b.set("samplesInFile", Value::integer(static_cast<std::int64_t>(bank.loadedSamples())));
          return b;
        }));
  return d;
}

Value settingsDocument(const settings::LoggerSettings& settings,
                       const std::vector<const settings::SettingField*>& fields) {
  Value d = Value::object();
  for (const settings::SettingField* f : fields) {
    const std::string text = settings::settingText(settings, *f);
    switch (f->kind) {
      case settings::SettingKind::Number:
      case settings::SettingKind::Flag:
        d.set(f->name, fieldValue(text, true));
        break;
      case settings::SettingKind::Layout: {
        Value layout = Value::array();
        for (const std::uint8_t n : settings.ViewportLayout) layout.push(Value::integer(n));
        d.set(f->name, std::move(layout));
        break;
      }
      case settings::SettingKind::Char:
      case settings::SettingKind::Text:
        d.set(f->name, Value::text(text));
        break;
    }
  }
  return d;
}

Value setupDocument(const NamedTexts& record, const NamedTexts& form) {
  // The record's fields that hold numbers; the others are characters, texts,
  // a date and a time.
  const auto numeric = [](std::string_view name) {
    for (std::string_view prefix : {"ModeByte", "ChannelOn", "InputModes", "DialOutWeekday", "DialOutMonthday",
                                    "StartToday", "Resolution"})
      if (name.substr(0, prefix.size()) == prefix) return true;
    return false;
  };
  Value r = Value::object();
  for (const auto& [name, text] : record) r.set(name, fieldValue(text, numeric(name)));
  Value shown = Value::object();
  for (const auto& [name, text] : form) shown.set(name, Value::text(text));
  Value d = Value::object();
  d.set("record", std::move(r));
  d.set("form", std::move(shown));
  return d;
}

Value chartDocument(const graph::ChartPlan& plan, bool twelveHourClock) {
  Value d = Value::object();
  d.set("caption", Value::text(plan.caption));
  d.set("title", Value::text(plan.title));
  d.set("xAxisLabel", Value::text(plan.xAxisLabel));
  d.set("points", Value::integer(static_cast<std::int64_t>(plan.times.size())));
  d.set("samplesPerPoint", Value::integer(static_cast<std::int64_t>(plan.factor)));
  Value viewports = Value::array();
  for (const graph::ChartViewport& viewport : plan.viewports) {
    Value v = Value::object();
    v.set("channels", arrayOf(viewport.subsets, [&plan](std::size_t k) {
            return k < plan.subsets.size() ? Value::integer(plan.subsets[k].channel) : Value();
          }));
    v.set("axisLabel", Value::text(viewport.axisLabel));
    if (viewport.scale.manual) {
      Value scale = Value::object();
      scale.set("minimum", Value::number(viewport.scale.minimum));
      scale.set("maximum", Value::number(viewport.scale.maximum));
      v.set("scale", std::move(scale));
    } else {
      v.set("scale", Value::utf8("auto"));
    }
    viewports.push(std::move(v));
  }
  d.set("viewports", std::move(viewports));
  d.set("subsets", arrayOf(plan.subsets, [](const graph::ChartSubset& subset) {
          Value s = Value::object();
          s.set("channel", Value::integer(subset.channel));
          s.set("legend", Value::text(subset.legend));
          s.set("colourSlot", Value::integer(subset.colorSlot));
          return s;
        }));
  d.set("markers", Value::boolean(plan.markers));
  Value range = Value::object();
  for (const auto& [key, seconds] : {std::pair{"from", plan.xMin}, std::pair{"to", plan.xMax}}) {
    const DateTime t = graph::dateTimeOfChartSeconds(seconds);
    setStamp(range, key, protocol::formatDisplayStamp(t, twelveHourClock), t);
  }
  d.set("xRange", std::move(range));
  return d;
}

Value readingDocument(const DateTime& now, bool dayFirst, const protocol::LoggerStatus& status,
                      const protocol::ReadingUpdate& reading) {
  DateTime shown = now;
  shown.millisecond = 0;  // the line shows whole seconds
  Value d = Value::object();
  setStamp(d, "stamp", protocol::formatNumericStamp(shown, protocol::NumericStampStyle{dayFirst, true, false}), shown);
  Value channels = Value::array();
  for (int c = 1; c <= protocol::kChannelCount; ++c) {
    if (!status.channelOn(c)) continue;
    Value channel = Value::object();
    channel.set("channel", Value::integer(c));
    setShownValue(channel, reading.texts[static_cast<std::size_t>(c - 1)]);
    channels.push(std::move(channel));
  }
  d.set("channels", std::move(channels));
  return d;
}

Value receiveDocument(const std::string& fileName, const link::ExchangeOutcome& outcome,
                      const std::vector<std::string>& messages, const std::vector<std::string>& exportMessages) {
  Value d = Value::object();
  d.set("file", Value::utf8(fileName));
  d.set("written", Value::text(outcome.fileWritten));
  d.set("blocks", Value::integer(outcome.blocks));
  d.set("badLines", Value::integer(outcome.badLines));
  d.set("timeouts", Value::integer(outcome.timeouts));
  const auto texts = [](const std::vector<std::string>& v) {
    return arrayOf(v, [](const std::string& s) { return Value::text(s); });
  };
  d.set("messages", texts(messages));
  d.set("autoExport", texts(exportMessages));
  return d;
}

Value exportDocument(const std::string& source, const std::string& target, const exporting::ExportOptions& options,
                     const std::vector<std::string>& notices) {
  Value d = Value::object();
  d.set("source", Value::utf8(source));
  d.set("target", Value::utf8(target));
  d.set("format", Value::utf8(options.csv ? "csv" : "text"));
  d.set("averaging", Value::integer(options.averaging));
  d.set("header", Value::boolean(!options.noHeader));
  d.set("note", Value::text(options.note));
  d.set("notices", arrayOf(notices, [](const std::string& s) { return Value::text(s); }));
  return d;
}

}  // namespace brevik::cli::json
