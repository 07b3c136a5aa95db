#include "protocol/conversions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "protocol/channel_tables.h"
#include "protocol/vocabulary.h"

namespace brevik::protocol {
namespace {

ChannelTable tableOf(std::initializer_list<std::array<float, 2>> rows) {
  ChannelTable t;
  for (const auto& r : rows) t.addRow(r[0], r[1]);
  return t;
}

// A thermistor-like table: resistance falls as temperature rises.
ChannelTable thermistor() { return tableOf({{0, 40000}, {25, 15000}, {50, 5000}, {75, 2500}}); }

// 1000 °C down to 0 °C at 25 °C per mV: 101 rows.
ChannelTable thermocoupleTable() {
  ChannelTable t;
  for (int i = 0; i <= 100; ++i) t.addRow(1000.0f - 10.0f * static_cast<float>(i), (1000.0f - 10.0f * static_cast<float>(i)) / 25.0f);
  return t;
}

ChannelTable linear(float low, float high, int fullScale) {
  ChannelTable t = tableOf({{low, 0}, {high, static_cast<float>(fullScale)}});
  t.scaled = true;
  return t;
}

struct Fixture {
  UnitConverter conv;
  ChannelTables tables{};
  Fixture(std::array<char, 4> types, int fullScale, float rref) {
    conv.setTypeCodes(types);
    conv.setFullScale(fullScale);
    conv.setReferenceResistor(rref);
  }
  void apply() { conv.setTables(tables); }
};

TEST(Convert, ResistiveSensorsThroughTheReferenceResistor) {
  Fixture f({'A', 'R', 'L', '0'}, 255, 10000.0f);
  f.tables[0] = thermistor();
  f.tables[2] = thermistor();
  f.apply();
  // raw 85 is 5/3 V: R = 5000 ohms, a table row.
  EXPECT_FLOAT_EQ(f.conv.convert(85, 1), 50.0f);
  EXPECT_FLOAT_EQ(f.conv.convert(51, 1), 75.0f);   // 2500 ohms, the last row
  EXPECT_NEAR(f.conv.convert(30, 1), 86.67f, 0.01f);  // beyond the last row: extrapolated
  EXPECT_NEAR(f.conv.convert(230, 1), -52.0f, 0.01f);  // before the first row
  EXPECT_NEAR(f.conv.convert(102, 2), 6666.67f, 0.01f);  // type 'R' gives ohms
  EXPECT_FLOAT_EQ(f.conv.convert(255, 4), 0.0f);        // channel off
}

TEST(Convert, FullScaleIsLoweredInTheCallersCopy) {
  Fixture f({'R', 'A', '3', '0'}, 255, 10000.0f);
  f.tables[1] = thermistor();
  f.tables[2] = linear(0, 100, 255);
  f.apply();
  std::uint16_t raw = 255;
  EXPECT_NEAR(f.conv.convert(raw, 1), 2540000.0f, 50.0f);  // 10000 x 254 / 1 (single precision): below 7 MOhm
  EXPECT_EQ(raw, 254);
  raw = 255;
  EXPECT_LT(f.conv.convert(raw, 2), -95.0f);  // a table value, not an open circuit
  EXPECT_EQ(raw, 254);
  // Scaled channels take the count as it is.
  raw = 255;
  EXPECT_FLOAT_EQ(f.conv.convert(raw, 3), 100.0f);
  EXPECT_EQ(raw, 255);
}

TEST(Convert, OpenCircuitAt7Megohms) {
  Fixture f({'A', 'L', '0', '0'}, 255, 30100.0f);
  f.tables[0] = thermistor();
  f.tables[1] = thermistor();
  f.apply();
  EXPECT_FLOAT_EQ(f.conv.convert(254, 1), kOpenValue);  // 30100 x 254 ohms
  EXPECT_FLOAT_EQ(f.conv.convert(254, 2), 0.0f);        // the light sensor reads 0
}

TEST(Convert, CoarseStartRowsFindTheSameSegmentAsAFullScan) {
  // A 200-row table in counts: in = 4095 - 20 i, out = i.
  Fixture f({'1', '0', '0', '0'}, 4095, 30100.0f);
  ChannelTable t;
  for (int i = 1; i <= 200; ++i) t.addRow(static_cast<float>(i), 4095.0f - 20.0f * static_cast<float>(i));
  t.scaled = true;
  f.tables[0] = t;
  f.apply();
  for (int raw : {4080, 4000, 2995, 3000, 2800, 2600, 2000, 1200, 1100, 1000, 100, 75, 50}) {
    const float expected = (4095.0f - static_cast<float>(raw)) / 20.0f;
    EXPECT_NEAR(f.conv.convert(raw, 1), expected, 1e-3f) << raw;
  }
}

TEST(Convert, ThermocoupleUsesTheLastChannel1Value) {
  // Channel 1: a linear cold junction of raw / 10 degrees.
  Fixture f({'3', '0', 'z', 'k'}, 4095, 30100.0f);
  f.tables[0] = linear(0, 409.5f, 4095);
  f.tables[2] = thermocoupleTable();
  f.tables[3] = thermocoupleTable();
  f.apply();
  EXPECT_FLOAT_EQ(f.conv.convert(250, 1), 25.0f);
  EXPECT_NEAR(f.conv.reverseLookup(4, 25.0f), 1.0f, 1e-5f);
  // Range 2: 1 mV cold junction + 1 V x 10.
  EXPECT_NEAR(f.conv.convert(819, 4), 275.0f, 0.01f);
  // Range 3: 1 mV + (3 V - 2.5) x 9.9.
  EXPECT_NEAR(f.conv.convert(2457, 3), 148.75f, 0.01f);
  // Channel 4 again before channel 1: still the previous cold junction.
  EXPECT_NEAR(f.conv.convert(819, 4), 275.0f, 0.01f);
  EXPECT_FLOAT_EQ(f.conv.convert(500, 1), 50.0f);
  EXPECT_NEAR(f.conv.convert(819, 4), 300.0f, 0.01f);
}

TEST(Convert, ThermocoupleRange1) {
  Fixture f({'3', '0', '0', 'h'}, 4095, 30100.0f);
  f.tables[0] = linear(0, 409.5f, 4095);
  f.tables[3] = thermocoupleTable();
  f.apply();
  ASSERT_EQ(thermocouple('h')->range, 1);
  f.conv.convert(250, 1);
  EXPECT_NEAR(f.conv.convert(2457, 4), 270.0f, 0.01f);  // 1 + 0.5 x 19.6 mV
}

struct HumidityFixture : Fixture {
  HumidityFixture(HumidityMode mode, bool fahrenheit) : Fixture({'3', '3', '3', 'A'}, 4095, 30100.0f) {
    tables[0] = linear(0, 409.5f, 4095);  // temperature raw / 10
    tables[1] = linear(0, 409.5f, 4095);
    tables[2] = linear(0, 409.5f, 4095);  // raw humidity raw / 10
    tables[3] = thermistor();
    apply();
    conv.setInputModes(withInputMode(withInputMode(0, 1, kInputModeTempRh), 3, kInputModeTempRh));
    conv.setSettings({fahrenheit, mode});
  }
};

TEST(Convert, TempRhPairsAndLimits) {
  HumidityFixture f(HumidityMode::RelativeHumidity, false);
  f.conv.convert(250, 1);  // 25 °C: 77 °F, divisor 1.093 - 0.0924
  EXPECT_NEAR(f.conv.convert(500, 3), 50.0f / 1.0006f, 1e-3f);
  EXPECT_TRUE(f.conv.humidityMark(3));
  EXPECT_FALSE(f.conv.showsFahrenheit(3));
  EXPECT_FLOAT_EQ(f.conv.convert(1040, 3), 100.0f);  // 104 % shows 100
  EXPECT_FLOAT_EQ(f.conv.convert(0, 3), 0.0f);
  EXPECT_FALSE(f.conv.humidityMark(2));  // channel 2/4 are not a pair here
}

TEST(Convert, DewPointAndWetBulbModes) {
  HumidityFixture dew(HumidityMode::DewPoint, false);
  dew.conv.convert(250, 1);
  EXPECT_NEAR(dew.conv.convert(500, 3), dewPoint(25.0f, 50.0f / 1.0006f), 1e-4f);
  HumidityFixture wetF(HumidityMode::WetBulb, true);
  wetF.conv.convert(250, 1);
  EXPECT_NEAR(wetF.conv.convert(500, 3), celsiusToFahrenheit(wetBulb(25.0f, 50.0f / 1.0006f)), 1e-3f);
}

TEST(Humidity, WorkedValuesAndTheFloor) {
  EXPECT_NEAR(dewPoint(25.0f, 50.0f), 13.83f, 0.01f);
  EXPECT_NEAR(wetBulb(25.0f, 50.0f), 18.24f, 0.01f);
  EXPECT_FLOAT_EQ(dewPoint(25.0f, 0.0f), dewPoint(25.0f, 0.01f));
  EXPECT_TRUE(std::isfinite(dewPoint(25.0f, -3.0f)));
  EXPECT_FLOAT_EQ(dewPoint(120.0f, 40.0f), dewPoint(85.0f, 40.0f));  // temperature held to 85
  EXPECT_FLOAT_EQ(relativeHumidity(-10.0f, 25.0f), 0.0f);
  EXPECT_FLOAT_EQ(celsiusToFahrenheit(100.0f), 212.0f);
}

TEST(Convert, FahrenheitRule) {
  Fixture f({'A', 'R', 'X', '1'}, 255, 10000.0f);
  f.tables[0] = thermistor();
  f.tables[2] = tableOf({{0, 0}, {1, 255}});
  f.tables[3] = thermistor();
  f.tables[3].linearKind = true;
  f.apply();
  f.conv.setSettings({true, HumidityMode::RelativeHumidity});
  EXPECT_TRUE(f.conv.showsFahrenheit(1));
  EXPECT_FALSE(f.conv.showsFahrenheit(2));
  EXPECT_FALSE(f.conv.showsFahrenheit(3));
  EXPECT_FALSE(f.conv.showsFahrenheit(4));
  EXPECT_FLOAT_EQ(f.conv.toDisplayUnits(100.0f, 1), 212.0f);
  f.conv.setSettings({false, HumidityMode::RelativeHumidity});
  EXPECT_FALSE(f.conv.showsFahrenheit(1));
}

TEST(Convert, DamagedTablesDoNotMisbehave) {
  Fixture f({'A', '1', '0', '0'}, 255, 10000.0f);
  f.tables[0] = tableOf({{1, 5000}, {2, 5000}, {3, 4000}});  // a repeated row
  f.apply();
  EXPECT_TRUE(std::isfinite(f.conv.convert(85, 1)));
  EXPECT_FLOAT_EQ(f.conv.convert(100, 2), 0.0f);  // no table loaded
  EXPECT_FLOAT_EQ(f.conv.convert(100, 7), 0.0f);
}

TEST(LoadTables, TwoPointKindsAndMarks) {
  int calls = 0;
  const TableReader source = [&](char type, std::string_view record, int) -> Result<TableFileRows> {
    ++calls;
    if (type == '1' && record.substr(0, 3) == "pct") return TableFileRows{"pct.Rvt", 'N', {{0, 1023}, {50, 511.5f}, {100, 0}}};
    if (type == 'L') return TableFileRows{"L.Rvt", 'L', {{0, 9000}, {100, 100}}};
    return TableFileRows{"A.Rvt", 'X', {{0, 0}, {10, 0}}};
  };
  auto t = loadChannelTables({'3', '1', 'L', 'A'}, {" -10.0 110.00", "pct", "L", "A"}, 1023, source);
  ASSERT_TRUE(t);
  EXPECT_EQ(calls, 3);
  const auto& ch = *t;
  EXPECT_TRUE(ch[0].scaled);
  EXPECT_FLOAT_EQ(ch[0].out[1], -10.0f);
  EXPECT_FLOAT_EQ(ch[0].out[2], 110.0f);
  EXPECT_FLOAT_EQ(ch[0].in[2], 1023.0f);
  EXPECT_TRUE(ch[1].scaled);  // kind N: percent of full scale, read into counts
  EXPECT_FALSE(ch[1].linearKind);
  EXPECT_TRUE(ch[2].linearKind);
  EXPECT_FALSE(ch[2].scaled);
  EXPECT_TRUE(ch[3].scaled);  // in[1] = 0: counts; both zero gets the full scale
  EXPECT_FLOAT_EQ(ch[3].in[2], 1023.0f);
}

TEST(LoadTables, ContactAndOffChannels) {
  auto t = loadChannelTables({'X', '0', 'R', '0'}, {"  1.00  0.00", "", "", ""}, 255, nullptr);
  ASSERT_TRUE(t);
  EXPECT_FALSE((*t)[0].scaled);
  EXPECT_EQ((*t)[0].count, 2);
  EXPECT_FLOAT_EQ((*t)[0].out[1], 1.0f);
  EXPECT_EQ((*t)[2].count, 0);
}

TEST(LoadTables, AShortTableStopsTheLoad) {
  int calls = 0;
  const TableReader source = [&](char, std::string_view, int) -> Result<TableFileRows> {
    ++calls;
    return TableFileRows{"Well.Rvt", 'X', {{1, 2}}};
  };
  auto t = loadChannelTables({'A', 'B', 'C', '1'}, {"A", "B", "C", "Well"}, 255, source);
  ASSERT_FALSE(t);
  EXPECT_EQ(t.error().message, "Sensor Table 'Well.Rvt' has improper format");
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace brevik::protocol
