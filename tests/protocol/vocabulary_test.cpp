#include "protocol/vocabulary.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace brevik::protocol {
namespace {

TEST(Resolution, TextsAndFactsForEveryCodeAndModel) {
  struct Row { int code; int bits; const char* text; int fullScale; int memory; int memoryModel6; };
  const Row rows[] = {
      {1, 8, "8 bit", 255, 32256, 129024},
      {2, 10, "10 bit", 1023, 25800, 103200},
      {3, 12, "12 bit", 4095, 21504, 86016},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.code);
    EXPECT_EQ(resolutionText(r.code), r.text);
    EXPECT_EQ(resolutionCodeFromBits(r.bits), r.code);
    auto f = resolutionFacts(r.code, '5');
    ASSERT_TRUE(f);
    EXPECT_EQ(f->fullScale, r.fullScale);
    EXPECT_EQ(f->memoryReadings, r.memory);
    auto f6 = resolutionFacts(r.code, '6');
    ASSERT_TRUE(f6);
    EXPECT_EQ(f6->fullScale, r.fullScale);
    EXPECT_EQ(f6->memoryReadings, r.memoryModel6);
  }
  EXPECT_FALSE(resolutionFacts(0, '5'));
  EXPECT_FALSE(resolutionFacts(5, '5'));  // a model digit stored in place of a resolution
  EXPECT_EQ(resolutionText(4), "");
  EXPECT_FALSE(resolutionCodeFromBits(16));
  EXPECT_EQ(resolutionCodeFromFlags(true, true), 3);
  EXPECT_EQ(resolutionCodeFromFlags(false, true), 2);
  EXPECT_EQ(resolutionCodeFromFlags(false, false), 1);
}

TEST(ModelName, EveryModelAndResolution) {
  struct Row { char model; bool twelve; bool ten; const char* name; };
  const Row rows[] = {
      {'1', false, false, "MT610"},
      {'1', false, true, "MT611"},
      {'1', true, false, "MT612"},
      {'5', false, false, "KALDO     8 bit"},
      {'5', false, true, "KALDO     10 bit"},
      {'5', true, false, "KALDO     12 bit"},
      {'6', false, false, "KALDO-M 8 bit"},
      {'6', false, true, "KALDO-M 10 bit"},
      {'6', true, true, "KALDO-M 12 bit"},
      {'0', false, false, "MT520"},
      {'2', false, true, "MT532"},
      {'4', true, false, "MT544"},
      {'9', true, false, "MT549"},
  };
  for (const Row& r : rows) EXPECT_EQ(modelName(r.model, r.twelve, r.ten), r.name) << r.model;
}

TEST(Revision, BelowACountsAsAAndOldFirmware) {
  for (char c : {'\0', '\x01', '0', '9', '@'}) {
    EXPECT_EQ(effectiveRevision(c), 'A') << int(c);
    EXPECT_TRUE(isOldFirmware(c));
  }
  for (char c : {'A', 'Z', 'a', 'z', '\xE9'}) {
    EXPECT_EQ(effectiveRevision(c), c);
    EXPECT_FALSE(isOldFirmware(c));
  }
  EXPECT_EQ(compareRevisions('0', 'A'), 0);
  EXPECT_EQ(compareRevisions('Z', 'a'), -1);
  EXPECT_EQ(compareRevisions('\xE9', 'z'), 1);  // bytes, not signed chars
}

TEST(Revision, EveryGateAtItsBoundaryAndJustBelow) {
  // `last` is the newest revision a gate holds for; most hold from `first` on.
  struct Gate { const char* name; std::function<bool(char)> allowed; char first; char last = '\xFF'; };
  const Gate gates[] = {
      {"model code", revisionSendsModelCode, 'J'},
      {"station address", revisionSendsStationAddress, 'O'},
      {"input modes", revisionSendsInputModes, 'Q'},
      {"real time", [](char r) { return revisionSupportsRealTime(r, false); }, 'O'},
      {"real time by modem", [](char r) { return revisionSupportsRealTime(r, true); }, 'p'},
      {"battery", revisionShowsBattery, 'c'},
      {"header '0'", [](char r) { return configurationHeaderCommand(r) == '0'; }, 'I'},
      {"faster than 2 s", revisionSupportsRatesFasterThan2Seconds, 'H'},
      {"200/s to ~2 s", revisionSupportsRatesUpTo2Seconds, 'F'},
      {"3 hours", revisionSupports3Hours, 'H'},
      {"late rates", revisionSupportsLateRates, 'L'},
      {"channel 1", revisionSaysChannel1, 'o'},
      {"30100 ohms", referenceResistorIs30100, 'q'},
      {"30015 ohms by battery", referenceResistorMayBe30015, 'G'},
      {"addressed frames", revisionTakesStationAddress, 'S'},
      {"readings on request", revisionSendsReadingsOnRequest, 'p'},
      {"labels only", revisionSupportsLabelsOnly, 'U'},
      {"short replies", revisionGivesShortReplies, 'A', 'G'},
  };
  for (const Gate& g : gates) {
    SCOPED_TRACE(g.name);
    EXPECT_TRUE(g.allowed(g.first));
    EXPECT_FALSE(g.allowed(static_cast<char>(g.first - 1)));
    EXPECT_TRUE(g.allowed(g.last));
    const bool open = g.last == '\xFF';
    if (!open) {
      EXPECT_FALSE(g.allowed(static_cast<char>(g.last + 1)));
    }
    EXPECT_EQ(g.allowed('\xF0'), open);  // high bytes are the newest revisions
    EXPECT_FALSE(g.allowed('0'));
  }
  EXPECT_EQ(configurationHeaderCommand('H'), '1');
}

TEST(Revision, RateSupportCombinesTheRows) {
  // Fast codes need both 'F' and 'H'; "~2 seconds" only 'F'.
  EXPECT_FALSE(revisionSupportsRate('G', '4'));
  EXPECT_TRUE(revisionSupportsRate('H', '4'));
  EXPECT_TRUE(revisionSupportsRate('H', ';'));
  EXPECT_FALSE(revisionSupportsRate('E', 'C'));
  EXPECT_TRUE(revisionSupportsRate('F', 'C'));
  EXPECT_FALSE(revisionSupportsRate('G', 'S'));
  EXPECT_TRUE(revisionSupportsRate('H', 'S'));
  for (char c : {'T', 'U', 'V'}) {
    EXPECT_FALSE(revisionSupportsRate('K', c));
    EXPECT_TRUE(revisionSupportsRate('L', c));
  }
  for (char c : {'D', 'M', 'R'}) EXPECT_TRUE(revisionSupportsRate('0', c));
  EXPECT_FALSE(revisionSupportsRate('z', 'A'));  // not a rate code
}

TEST(Rates, AllTwentyEightCodesWithTextAndInterval) {
  struct Row { char code; const char* text; float minutes; };
  const Row rows[] = {
      {'4', "200/second", 0.00008333333f}, {'5', "100/second", 0.00016666666f},
      {'6', " 50/second", 0.00033333333f}, {'7', " 20/second", 0.00083333335f},
      {'8', " 10/second", 0.0016666667f},  {'9', "  5/second", 0.0033333334f},
      {':', "  2/second", 0.008333334f},   {';', "  1/second", 0.016666668f},
      {'C', "~2 seconds", 0.033333335f},   {'D', "10 seconds", 0.16666667f},
      {'E', "20 seconds", 0.33333334f},    {'F', "30 seconds", 0.5f},
      {'G', " 1 minute ", 1.0f},           {'H', " 2 minutes", 2.0f},
      {'I', " 5 minutes", 5.0f},           {'J', "10 minutes", 10.0f},
      {'K', "20 minutes", 20.0f},          {'L', "30 minutes", 30.0f},
      {'M', " 1 hour   ", 60.0f},          {'N', " 2 hours  ", 120.0f},
      {'O', " 4 hours  ", 240.0f},         {'P', " 6 hours  ", 360.0f},
      {'Q', " 8 hours  ", 480.0f},         {'R', "12 hours  ", 720.0f},
      {'S', " 3 hours  ", 180.0f},         {'T', "~4 seconds", 0.06666667f},
      {'U', "15 minutes", 15.0f},          {'V', "~6 seconds", 0.1f},
  };
  ASSERT_EQ(allRateCodes().size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& r = rows[i];
    SCOPED_TRACE(r.code);
    EXPECT_EQ(allRateCodes()[i], r.code);
    ASSERT_TRUE(rateText(r.code));
    EXPECT_EQ(*rateText(r.code), r.text);
    EXPECT_EQ(rateText(r.code)->size(), 10u);
    EXPECT_EQ(rateInterval(r.code), r.minutes);
    EXPECT_TRUE(isRateCode(r.code));
    EXPECT_EQ(isFastRate(r.code), i < 8);
  }
}

TEST(Rates, UnknownCodesHaveNoTextAndSixtyMinutes) {
  for (char c : {'<', 'A', 'B', 'W', '3', '\0', '\xC3'}) {
    EXPECT_FALSE(rateText(c)) << int(c);
    EXPECT_FALSE(isRateCode(c));
    EXPECT_EQ(rateInterval(c), 60.0f);
  }
}

TEST(Rates, IntervalCorrectionBoundaries) {
  struct Row { float before; float after; };
  const Row rows[] = {
      {0.02f, 0.02f},
      {0.0200001f, 0.0383333f},
      {rateInterval('C'), 0.0383333f},
      {0.0399999f, 0.0383333f},
      {0.04f, 0.0766667f},
      {rateInterval('T'), 0.0766667f},
      {0.0799999f, 0.0766667f},
      {0.08f, 0.115f},
      {rateInterval('V'), 0.115f},
      {0.1199999f, 0.115f},
      {0.12f, 0.12f},
      {rateInterval('D'), rateInterval('D')},
      {rateInterval(';'), rateInterval(';')},
      {60.0f, 60.0f},
  };
  for (const Row& r : rows) EXPECT_EQ(correctedInterval(r.before), r.after) << r.before;
}

TEST(ChannelTypes, Classification) {
  struct Row { char code; ChannelKind kind; };
  const Row rows[] = {
      {'0', ChannelKind::Off},          {'1', ChannelKind::NamedTable},
      {'3', ChannelKind::Linear},       {'X', ChannelKind::Contact},
      {'R', ChannelKind::Resistance},   {'L', ChannelKind::Light},
      {'A', ChannelKind::Thermistor},   {'B', ChannelKind::Thermistor},
      {'C', ChannelKind::Thermistor},   {'P', ChannelKind::OtherResistive},
      {'2', ChannelKind::OtherResistive}, {'W', ChannelKind::OtherResistive},
      {'Y', ChannelKind::Thermocouple}, {'~', ChannelKind::Thermocouple},
      {'\x7F', ChannelKind::Unknown},   {'\xE9', ChannelKind::Unknown},
  };
  for (const Row& r : rows) EXPECT_EQ(classifyChannelType(r.code), r.kind) << r.code;
  EXPECT_EQ(resistiveTableFile('C'), "C.Rvt");
  EXPECT_EQ(resistiveTableFile('L'), "L.Rvt");
  EXPECT_EQ(resistiveTableFile('P'), "P.Rvt");
  EXPECT_FALSE(resistiveTableFile('3'));
  EXPECT_FALSE(resistiveTableFile('k'));
  EXPECT_EQ(namedTableFile("PT100"), "PT100.Rvt");
}

TEST(Thermocouples, EveryCodeFromYToTilde) {
  struct Row { char code; const char* label; const char* table; int range; };
  const Row rows[] = {
      {'Y', "B thermocouple", "b.mvt", 1}, {'b', "B thermocouple", "b.mvt", 2}, {'v', "B thermocouple", "b.mvt", 3},
      {'Z', "C thermocouple", "c.mvt", 1}, {'c', "C thermocouple", "c.mvt", 2}, {'w', "C thermocouple", "c.mvt", 3},
      {'d', "E thermocouple", "e.mvt", 1}, {'e', "E thermocouple", "e.mvt", 2}, {'x', "E thermocouple", "e.mvt", 3},
      {'g', "J thermocouple", "j.mvt", 1}, {'j', "J thermocouple", "j.mvt", 2}, {'y', "J thermocouple", "j.mvt", 3},
      {'h', "K thermocouple", "k.mvt", 1}, {'k', "K thermocouple", "k.mvt", 2}, {'z', "K thermocouple", "k.mvt", 3},
      {'^', "N thermocouple", "n.mvt", 1}, {'n', "N thermocouple", "n.mvt", 2}, {'{', "N thermocouple", "n.mvt", 3},
      {'_', "R thermocouple", "r.mvt", 1}, {'r', "R thermocouple", "r.mvt", 2}, {'q', "R thermocouple", "r.mvt", 3},
      {'`', "S thermocouple", "s.mvt", 1}, {'s', "S thermocouple", "s.mvt", 2}, {'}', "S thermocouple", "s.mvt", 3},
      {'a', "T thermocouple", "t.mvt", 1}, {'t', "T thermocouple", "t.mvt", 2}, {'~', "T thermocouple", "t.mvt", 3},
      {'f', "E low temp", "f.mvt", 2},     {'i', "J low temp", "i.mvt", 2},     {'l', "K low temp", "l.mvt", 2},
      {'m', "N low temp", "m.mvt", 2},     {'u', "T low temp", "u.mvt", 2},
      {'[', nullptr, "[.mvt", 2},          {'\\', nullptr, "\\.mvt", 2},        {']', nullptr, "].mvt", 2},
      {'o', nullptr, "o.mvt", 2},          {'p', nullptr, "p.mvt", 2},          {'|', nullptr, "|.mvt", 2},
  };
  std::set<char> seen;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.code);
    seen.insert(r.code);
    auto t = thermocouple(r.code);
    ASSERT_TRUE(t);
    if (r.label == nullptr) EXPECT_FALSE(t->label);
    else EXPECT_EQ(t->label, r.label);
    EXPECT_EQ(t->tableFile, r.table);
    EXPECT_EQ(t->range, r.range);
  }
  EXPECT_EQ(seen.size(), std::size_t('~' - 'Y' + 1));  // every code covered once
  EXPECT_FALSE(thermocouple('X'));
  EXPECT_FALSE(thermocouple('\x7F'));
}

TEST(InputModes, PackingPerChannel) {
  const std::uint16_t word = 0b101'100'010'001;  // ch1=1, ch2=2, ch3=4, ch4=5
  EXPECT_EQ(inputModeOf(word, 1), 1);
  EXPECT_EQ(inputModeOf(word, 2), 2);
  EXPECT_EQ(inputModeOf(word, 3), 4);
  EXPECT_EQ(inputModeOf(word, 4), 5);
  EXPECT_EQ(inputModeOf(word, 0), 0);
  EXPECT_EQ(inputModeOf(word, 5), 0);
  std::uint16_t built = 0;
  built = withInputMode(built, 4, 5);
  built = withInputMode(built, 3, 4);
  built = withInputMode(built, 2, 2);
  built = withInputMode(built, 1, 1);
  EXPECT_EQ(built, word);
  EXPECT_EQ(withInputMode(word, 2, 0), 0b101'100'000'001);
  EXPECT_EQ(withInputMode(word, 9, 7), word);
}

TEST(InputModes, TextsWithBlanksForUnusedModes) {
  const char* status[] = {"standard", "temp/RH", "moyenne", "", "pulse", "0.1s Exc", "", ""};
  const char* setup[] = {"Standard", "Temp/RH", "Moyenne", "", "", "0.1s Excit", "", ""};
  for (int m = 0; m < 8; ++m) {
    EXPECT_EQ(inputModeStatusText(m), status[m]) << m;
    EXPECT_EQ(inputModeSetupItem(m), setup[m]) << m;
  }
}

TEST(InputModes, SixBitWireEncoding) {
  EXPECT_EQ(encodeInputModes(0), (std::array<char, 2>{'@', '@'}));
  EXPECT_EQ(encodeInputModes(0xFFF), (std::array<char, 2>{'\x7F', '\x7F'}));
  // bits 0-5 = 0b010001 = 17, bits 6-11 = 0b101100 = 44
  EXPECT_EQ(encodeInputModes(0b101'100'010'001), (std::array<char, 2>{char(64 + 17), char(64 + 44)}));
  for (unsigned w = 0; w < 4096; ++w) {
    const auto e = encodeInputModes(static_cast<std::uint16_t>(w));
    ASSERT_GE(byteOf(e[0]), 64u);
    ASSERT_LE(byteOf(e[1]), 127u);
    ASSERT_EQ(decodeInputModes(e[0], e[1]), w);
  }
  EXPECT_FALSE(decodeInputModes('?', '@'));
  EXPECT_FALSE(decodeInputModes('@', '\x80'));
}

}  // namespace
}  // namespace brevik::protocol
