#include "protocol/status_texts.h"

#include <cstdio>

#include "common/bytes.h"
#include "common/cp1252.h"
#include "protocol/time_stamps.h"
#include "protocol/vocabulary.h"

namespace brevik::protocol {

namespace {

constexpr std::size_t kValueTextWidth = 18;
constexpr std::string_view kStopped = "En arrêt     "_cp;
constexpr std::string_view kStoppedDetail = "Enregistre.arrêté: "_cp;
constexpr std::string_view kNoChannels = "TousLesCanauxOff";
// The first reading of a logger that never started: 1 January 1991, midnight.
constexpr std::string_view kNeverStartedText = "Tue  1-Jan-91 12:00:00am";

std::string format(const char* pattern, double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, pattern, value);
  return buf;
}

bool saysChannel1(const LoggerStatus& s) { return revisionSaysChannel1(s.revision); }

bool neverStarted(const LoggerStatus& s) {
  const DateTime& t = s.firstReading;
  return s.firstReadingText == kNeverStartedText ||
         (t.year == 1991 && t.month == 1 && t.day == 1 && t.hour == 0 && t.minute == 0 && t.second == 0);
}

std::string numbered(std::string_view stem, int channel, std::string_view tail = {}) {
  return std::string(stem) + std::to_string(channel) + std::string(tail);
}

}  // namespace

const StatusComponent* StatusForm::find(std::string_view name) const {
  for (const StatusComponent& c : components)
    if (c.name == name) return &c;
  return nullptr;
}

std::string StatusForm::text(std::string_view name) const {
  const StatusComponent* c = find(name);
  return c ? c->text : std::string();
}

double recordingMinutes(const LoggerStatus& s) {
  if (s.activeChannels <= 0) return 0.0;
  return static_cast<double>(s.memorySize) / s.activeChannels * static_cast<double>(s.intervalMinutes);
}

std::string channelValueText(const LoggerStatus& s, int channel) {
  if (channel < 1 || channel > kChannelCount) return {};
  const auto i = static_cast<std::size_t>(channel - 1);
  if (s.typeCodes[i] == '0') return "OFF";
  const float value = s.values[i];
  if (value < -95.0f) return " Open";
  const bool threeDecimals = s.scaled[i] && !s.humidity[i];
  std::string text = format(threeDecimals ? "%7.3f" : "%7.2f", static_cast<double>(value)) + s.unitTexts[i];
  if (text.size() > kValueTextWidth) text.resize(kValueTextWidth);
  return text;
}

std::string scaleBoxText(const LoggerStatus& s, int channel) {
  if (channel < 1 || channel > kChannelCount) return {};
  const auto i = static_cast<std::size_t>(channel - 1);
  const std::string& record = s.channelRecords[i];
  if (s.oldFirmware) return record;
  const char type = s.typeCodes[i];
  if (type == '3') return record.size() > 6 ? record.substr(0, 6) + " " + record.substr(6) : record;
  if (type == 'X') return "c " + record;
  if (const auto tc = thermocouple(type); tc && tc->label) return std::string(*tc->label);
  return record;
}

std::string currentStateText(const LoggerStatus& s, bool twelveHourClock) {
  if (s.activeChannels == 0) return std::string(kStopped);
  const bool notRunning = s.isStopped();
  const bool trigger = s.isWaitingTrigger();
  if ((notRunning || trigger) && trigger) return std::string(kStopped);
  if ((notRunning || trigger) && s.isWaitingPreset()) return std::string("En arrêt (en attente del'heure prévue )"_cp);
  const std::string stopDetail = std::string(kStoppedDetail) + s.stopTimeText;
  if (notRunning && s.stopsOnChannel1Open()) {
    if (s.intervalMinutes < 0.02f) return stopDetail;
    const std::string_view state = s.batteryLow        ? "Défaut pile  - "_cp
                                   : saysChannel1(s) ? "Canal 1 déconnecté - "_cp
                                                       : "Probes detached - ";
    return std::string(state) + stopDetail;
  }
  if (notRunning) return std::string(s.batteryLow ? "Défaut pile ;  "_cp : "Memoi.Plein;  ") + stopDetail;
  if (neverStarted(s) || s.isRing()) return "* En Marche *";
  const DateTime full = addMinutes(s.firstReading, recordingMinutes(s));
  return std::string("* En Marche *  ( memoirPlein ") + (s.intervalMinutes < 0.12f ? "approx. " : "") +
         formatDisplayStamp(full, twelveHourClock) + " )";
}

std::string stopModeText(const LoggerStatus& s) {
  if (!s.isRing()) return std::string("Stop si mémoire pleine"_cp);
  if (!s.stopsOnChannel1Open()) return "Marche continue ";
  return saysChannel1(s) ? std::string("Stop si canal 1 ouvert/sonde coupée"_cp) : "Stop si sondes ouvert";
}

std::string recordingCapacityText(const LoggerStatus& s) {
  if (s.activeChannels <= 0) return format("%4.1f", 0.0) + "      ";
  const double m = recordingMinutes(s);
  struct Unit {
    double below;
    double divisor;
    const char* text;
  };
  static constexpr Unit kUnits[] = {{1, 1.0 / 60, " secs  "},      {60, 1, " mins  "},
                                    {2880, 60, " hours "},         {86400, 1440, " days  "},
                                    {1576972.8, 43804.8, " months"}};
  for (const Unit& u : kUnits)
    if (m < u.below) return format("%4.1f", m / u.divisor) + u.text;
  return format("%4.1f", m / 525600) + " years ";
}

std::string firstReadingLabel(const LoggerStatus& s) {
  if (s.isWaitingTrigger() || s.isWaitingPreset()) return std::string("Début enregis"_cp);
  return std::string("Début mesure "_cp);
}

std::string firstReadingBoxText(const LoggerStatus& s) {
  if (s.isWaitingTrigger())
    return saysChannel1(s) ? std::string("quand canal1 fermé/sonde connect"_cp) : "when all temp. probes are attached";
  return s.activeChannels == 0 ? std::string(kNoChannels) : s.firstReadingText;
}

std::string batteryText(const LoggerStatus& s) {
  if (!revisionShowsBattery(s.revision)) return {};
  return format("%3.1f", static_cast<double>(s.batteryVolts)) + " volts";
}

StatusForm buildStatusForm(const LoggerStatus& s, const StatusTextSettings& settings) {
  StatusForm form;
  auto add = [&form](std::string name, std::string text, bool visible = true) {
    form.components.push_back(StatusComponent{std::move(name), std::move(text), visible});
  };
  add("ModelBox", modelName(s.modelCode, s.twelveBit, s.tenBit));
  add("RevBox", std::string(" ") + s.revision);
  const std::string address = format("%2.0f", s.stationAddress);
  add("StationAddrBox", address, s.stationAddress != 0);
  add("StationLabel", address, s.stationAddress != 0);
  add("BatteryBox", batteryText(s));
  for (int c = 1; c <= kChannelCount; ++c) add(numbered("onoff", c, "box"), s.channelOn(c) ? "ON" : "OFF");
  for (int c = 1; c <= kChannelCount; ++c) add(numbered("Value", c, "Box"), channelValueText(s, c));
  for (int c = 1; c <= kChannelCount; ++c)
    add(numbered("Desc", c, "Box"), bytes::trimmedRight(s.descriptions[static_cast<std::size_t>(c - 1)]));
  add("IdStatBox", bytes::trimmedRight(s.session));
  for (int c = 1; c <= kChannelCount; ++c) add(numbered("scal", c, "box"), scaleBoxText(s, c));
  for (int c = 1; c <= kChannelCount; ++c)
    add(numbered("inp", c, "box"), std::string(inputModeStatusText(inputModeOf(s.inputModes, c))));
  add("SampRateBox", std::string(rateText(s.rateCode).value_or("")));
  add("FirstReadingLabel", firstReadingLabel(s));
  add("FirstReadingBox", firstReadingBoxText(s));
  add("CurrentStateBox", currentStateText(s, settings.twelveHourClock));
  add("StopModeBox", stopModeText(s));
  add("ClockBox", s.clockText);
  add("TimeSpanBox", recordingCapacityText(s));
  if (s.modelCode == '5') form.lastModelCodeOnShow = 5;
  if (s.modelCode == '6') form.lastModelCodeOnShow = 6;
  return form;
}

}  // namespace brevik::protocol
