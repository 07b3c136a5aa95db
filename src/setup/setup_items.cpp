#include "setup/setup_items.h"

#include <array>

#include "common/cp1252.h"
#include "common/logger_memory.h"
#include "protocol/vocabulary.h"

namespace brevik::setup {

namespace {

struct RateItem {
  std::string_view text;
  char code;
};

// Box order is interval order; the codes are not ('S' to 'V' came late).
constexpr std::array<RateItem, kRateItemCount> kRateItems = {{
    {"(gV) 200/sec", '4'}, {"(gV) 100/sec", '5'}, {"(gV) 50/sec", '6'}, {"(gV) 20/sec", '7'},
    {"(rf) 10/sec", '8'},  {"(gV) 5/sec", '9'},   {"(gV) 2/sec", ':'},  {"(rf) 1/sec", ';'},
    {"~ 2 secs", 'C'},     {"~ 4 secs", 'T'},     {"~ 6 secs", 'V'},    {"10 secs", 'D'},
    {"20 secs", 'E'},      {"30 secs", 'F'},      {"1 minute", 'G'},    {"2 minutes", 'H'},
    {"5 minutes", 'I'},    {"10 minutes", 'J'},   {"15 minutes", 'U'},  {"20 minutes", 'K'},
    {"30 minutes", 'L'},   {"1Heure", 'M'},       {"2Heures", 'N'},     {"3Heures", 'S'},
    {"4Heures", 'O'},      {"6Heures", 'P'},      {"8Heures", 'Q'},     {"12Heures", 'R'},
}};

struct ScaleItem {
  int item;
  char code;
};

// Items 0-11 that store a code (the action items 5, 7, 11 store none).
constexpr std::array<ScaleItem, 9> kCommonScaleItems = {{
    {0, 'A'}, {1, 'B'}, {2, 'C'}, {3, 'L'}, {4, '3'}, {6, '1'}, {8, 'R'}, {9, 'P'}, {10, 'X'},
}};

// Items 12-43 of channel 3, in item order.
constexpr std::string_view kThermocoupleCodes = "bcejknrst" "filmu" "YZdgh^_`a" "vwxyz{q}~";
constexpr std::string_view kThermocoupleLetters = "BCEJKNRST" "EJKNT" "BCEJKNRST" "BCEJKNRST";
constexpr int kFirstThermocoupleItem = 12;
constexpr int kThermocoupleItemCount = 32;

std::string thermocoupleItemText(int index) {
  std::string text(1, kThermocoupleLetters[static_cast<std::size_t>(index)]);
  if (index < 9) return text + " Type & Mvt-50u";
  if (index < 14) return text + " Type & Mvt-50u \"cold\"";
  if (index < 23) return text + " Type & Mvt-22b";
  return text + " Type & Mvt-11b";
}

bool validChannel(int channel) { return channel >= 1 && channel <= 4; }

}  // namespace

const std::vector<std::string>& rateItems() {
  static const std::vector<std::string> items = [] {
    std::vector<std::string> v;
    for (const RateItem& r : kRateItems) v.emplace_back(r.text);
    return v;
  }();
  return items;
}

char rateCodeOfItem(int index) {
  if (index < 0 || index >= kRateItemCount) return 'R';
  return kRateItems[static_cast<std::size_t>(index)].code;
}

int rateItemOfCode(char code) {
  for (std::size_t i = 0; i < kRateItems.size(); ++i)
    if (kRateItems[i].code == code) return static_cast<int>(i);
  return kRateItemForUnknownCode;
}

std::vector<std::string> initialStartItems() {
  const std::array<std::string_view, 4> items = {"immédiat "_cp, presetStartResourceText(),
                                                 "when all thermistor(s) are attached",
                                                 "immédiat , avec sortie modem auto    "_cp};
  return {items.begin(), items.end()};
}

std::vector<std::string> initialStopItems() {
  const std::array<std::string_view, 3> items = {"à la fin de mémoire "_cp, "en continu (FIFO tournant)",
                                                 "quand canal 1 déconncté /ouvert  "_cp};
  return {items.begin(), items.end()};
}

std::string_view presetStartPlaceholder() { return "Heure prévue   "_cp; }
std::string_view presetStartResourceText() { return "Heure/datePrévu"_cp; }

ChannelEventTexts channelEventTexts(char lastRevision) {
  if (!protocol::revisionSaysChannel1(lastRevision))
    return {"when all thermistor(s) are attached", "until thermistor probes detach"};
  return {"quand canal 1 est fermé         "_cp, "quand canal 1 est déconnecté / ouvert"_cp};
}

int scaleItemCount(int channel) {
  if (!validChannel(channel)) return 0;
  return channel == 3 ? kFirstThermocoupleItem + kThermocoupleItemCount : kFirstThermocoupleItem;
}

std::vector<std::string> initialScaleItems(int channel) {
  if (!validChannel(channel)) return {};
  const std::array<std::string_view, kFirstThermocoupleItem> common = {
      "Thermistor \"A\"  (A.rvt)",
      "Thermistor \"B\"  (B.rvt)",
      "Thermistor \"C\"  (C.rvt)",
      "Capteur lumière  (L.rvt)"_cp,
      "Linear: 0.0000 / 100.00",
      "NleEchelLinéaire:"_cp,
      "Table: (1.rvt)",
      channel == 2 ? "Table Dédiée:"_cp : "Table dédiée:"_cp,
      "Resistance",
      "Platinum Rtd 10k (P.rvt)",
      "Fer/Ouv: 0.0000 / 100.00",
      "Nle valeur Fer/Ouv:",
  };
  std::vector<std::string> items(common.begin(), common.end());
  if (channel == 3)
    for (int i = 0; i < kThermocoupleItemCount; ++i) items.push_back(thermocoupleItemText(i));
  return items;
}

bool isScaleActionItem(int item) {
  return item == kScaleItemNewLinear || item == kScaleItemChooseTable || item == kScaleItemNewContact;
}

std::optional<char> scaleCodeOfItem(int channel, int item) {
  if (item < 0 || item >= scaleItemCount(channel)) return std::nullopt;
  for (const ScaleItem& s : kCommonScaleItems)
    if (s.item == item) return s.code;
  if (item >= kFirstThermocoupleItem)
    return kThermocoupleCodes[static_cast<std::size_t>(item - kFirstThermocoupleItem)];
  return std::nullopt;
}

std::optional<int> scaleItemOfCode(int channel, char code) {
  if (!validChannel(channel)) return std::nullopt;
  for (const ScaleItem& s : kCommonScaleItems)
    if (s.code == code) return s.item;
  if (channel == 3) {
    const auto at = kThermocoupleCodes.find(code);
    if (at != std::string_view::npos && code != '\0') return kFirstThermocoupleItem + static_cast<int>(at);
  }
  return std::nullopt;
}

std::vector<std::string> inputItems(int channel) {
  return {"Standard", "Temp/RH", "Moyenne", channel == 4 ? "Pulse" : "0.1s Excit"};
}

int inputModeOfItem(int channel, int item) {
  if (item == 3) return channel == 4 ? protocol::kInputModePulse : protocol::kInputModeExcitation;
  if (item >= 0 && item < 3) return item;
  return protocol::kInputModeStandard;
}

std::optional<int> inputItemOfMode(int mode) {
  if (mode >= 0 && mode <= 2) return mode;
  if (mode == protocol::kInputModePulse || mode == protocol::kInputModeExcitation) return 3;
  return std::nullopt;
}

const std::vector<std::string>& modelItems() {
  static const std::vector<std::string> items = {"-----", "-----", "-----", "KALDO", "KALDO-M"};
  return items;
}

const std::vector<std::string>& resolutionItems() {
  static const std::vector<std::string> items = {"12 bit <High>", "10 bit <Med>", "  8 bit <Low>"};
  return items;
}

std::optional<int> modelItemOfSettingsCode(int lastModelCode) {
  switch (lastModelCode) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    case 5: return kModelItemKaldo;
    case 6: return kModelItemKaldoM;
    default: return std::nullopt;
  }
}

bool modelHasResolutionChoice(int modelItem) { return modelItem >= kModelItemKaldo; }

std::int32_t memoryReadingsOf(int modelItem, int resolutionItem) {
  // Items 0-2 are the older one-bank loggers, whose item names the
  // resolution (8, 10, 12 bit); KALDO and KALDO-M take it from the
  // resolution box, which runs from 12 bit down to 8 bit. A resolution item
  // out of range counts as the box's first (12 bit), a model item out of
  // range as an 8-bit one-bank logger.
  constexpr std::array<int, 3> kResolutionOfItem = {protocol::kResolution12Bit, protocol::kResolution10Bit,
                                                   protocol::kResolution8Bit};
  int resolution = protocol::kResolution8Bit;
  char model = protocol::kModelCodeUnknown;
  if (modelItem >= 0 && modelItem < kModelItemKaldo) {
    resolution = modelItem + 1;
  } else if (modelItem == kModelItemKaldo || modelItem == kModelItemKaldoM) {
    const std::size_t r = resolutionItem >= 0 && resolutionItem <= 2 ? static_cast<std::size_t>(resolutionItem) : 0;
    resolution = kResolutionOfItem[r];
    model = modelItem == kModelItemKaldoM ? '6' : '5';
  }
  return memory::loggerMemory(resolution, model)->capacity();
}

}  // namespace brevik::setup
