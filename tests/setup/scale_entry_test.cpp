#include <gtest/gtest.h>

#include "setup/scale_entry.h"
#include "setup/scaling_calculators.h"

namespace brevik::setup {
namespace {

TEST(SixCharacterNumber, PadsShortEntries) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "0.0000"}, {"5", "5.0000"}, {"-5", "-5.000"}, {"12.5", "12.500"},
      {"123456", "123456"}, {"1234567", "123456"}, {"10", "10.000"}, {"-.5", "-.5000"}};
  for (const auto& [entry, expected] : cases) EXPECT_EQ(sixCharacterNumber(entry), expected) << entry;
}

TEST(CalculatorOutput, WidthSixThreeDecimalsCut) {
  EXPECT_EQ(calculatorOutput(0.0), " 0.000");
  EXPECT_EQ(calculatorOutput(-25.0), "-25.00");
  EXPECT_EQ(calculatorOutput(100.502), "100.50");
  EXPECT_EQ(calculatorOutput(1.23456), " 1.235");
  EXPECT_EQ(calculatorOutput(123456789.0), "123456");
}

TEST(ScaleEntries, LinearAndContactTexts) {
  auto accepted = acceptScaleEntries("5", "10");
  ASSERT_TRUE(std::holds_alternative<ScalePair>(accepted));
  const auto& pair = std::get<ScalePair>(accepted);
  EXPECT_EQ(linearItemText(pair), "Linear: 5.0000 / 10.000");
  EXPECT_EQ(contactItemText(pair), "Fer/ouv: 5.0000 / 10.000");
  EXPECT_EQ(pair.scaleText(), "5.000010.000");
  EXPECT_EQ(scaleTextOfItem(linearItemText(pair), kLinearPrefix), "5.000010.000");
  EXPECT_EQ(scaleTextOfItem(contactItemText(pair), kContactPrefix), "5.000010.000");
  EXPECT_EQ(scaleTextOfItem("Thermistor", kLinearPrefix), "");
}

TEST(ScaleEntries, Refusals) {
  const auto message = [](std::string_view lo, std::string_view hi) {
    auto r = acceptScaleEntries(lo, hi);
    return std::holds_alternative<ScaleEntryRefused>(r) ? std::get<ScaleEntryRefused>(r).message : "accepted";
  };
  EXPECT_EQ(message("0", "0"), "One value must be non-zero");
  EXPECT_EQ(message("", ""), "One value must be non-zero");
  EXPECT_EQ(message("3", "3.0"), "Values must be different");
  EXPECT_EQ(message("abc", "1"), "Not a number: abc");
  EXPECT_EQ(message("-1", "1"), "accepted");
}

TEST(TableChooser, ItemTextAndBaseName) {
  EXPECT_EQ(tableItemText("MYTAB.RVT"), "Table: (MYTAB.RVT)");
  EXPECT_EQ(tableItemText("/home/u/tables/MYTAB.RVT"), "Table: (MYTAB.RVT)");
  EXPECT_EQ(tableNameOfItem("Table: (MYTAB.RVT)"), "MYTAB");
  EXPECT_EQ(tableNameOfItem("Table: (LONGNAME12.RVT)"), "LONGNAME");
  EXPECT_EQ(tableNameOfItem("Table: (NODOT)"), "NODOT");
  EXPECT_EQ(tableNameOfItem(tableItemTextOfName("7")), "7");
  EXPECT_EQ(tableNameOfItem("garbage"), "");
}

TEST(Calculators, CurrentLoopDefaults) {
  const auto r = currentLoop({});
  ASSERT_TRUE(r.values);
  EXPECT_EQ(r.values->low, "-25.00");
  EXPECT_EQ(r.values->high, "100.50");
}

TEST(Calculators, LinearSensorDefaults) {
  const auto r = linearSensor({});
  ASSERT_TRUE(r.values);
  EXPECT_EQ(r.values->low, " 0.000");
  EXPECT_EQ(r.values->high, "100.00");
}

TEST(Calculators, CurrentLoopMessages) {
  CurrentLoopEntries e;
  e.lowMilliamps = "20";
  e.highMilliamps = "4";
  EXPECT_EQ(currentLoop(e).errors, std::vector<std::string>{"Lo Milliamps is greater than Hi Milliamps"});
  e.lowMilliamps = "4";
  e.highMilliamps = "4";
  EXPECT_EQ(currentLoop(e).errors, std::vector<std::string>{"Same value entered for Lo/Hi Milliamps"});
  e = {};
  e.fullScaleValue = "0";
  EXPECT_EQ(currentLoop(e).errors, std::vector<std::string>{"Same value entered for Zero/Full Scale Reading"});
  e = {};
  e.ohms = "x";
  EXPECT_TRUE(currentLoop(e).stoppedSilently());
  // A low current of 0 is nudged below zero and gives finite results.
  e = {};
  e.lowMilliamps = "0";
  EXPECT_TRUE(currentLoop(e).values.has_value());
}

TEST(Calculators, LinearSensorMessages) {
  LinearSensorEntries e;
  e.minimumVolts = "6";
  EXPECT_EQ(linearSensor(e).errors, std::vector<std::string>{"Min dc volts is greater than Max dc volts"});
  e.minimumVolts = "5";
  EXPECT_EQ(linearSensor(e).errors, std::vector<std::string>{"Same value entered for Min/Max dc volts"});
  e = {};
  e.maximumReading = "0";
  EXPECT_EQ(linearSensor(e).errors, std::vector<std::string>{"Same value entered for Zero/Full Scale Reading"});
  e = {};
  e.maximumVolts = "";
  EXPECT_TRUE(linearSensor(e).stoppedSilently());
}

TEST(Calculators, CalibrationOfTheOldScale) {
  const OldScale old = oldScaleOfItem("Linear: 0.0000 / 100.00");
  EXPECT_EQ(old.low, "0.0000");
  EXPECT_EQ(old.high, "100.00");
  // The logger read 10 and 90 where the truth was 12 and 92: the scale moves up by 2.
  const auto r = calibrate({old.low, old.high, "10", "12", "90", "92"});
  ASSERT_TRUE(r.values) << (r.errors.empty() ? "" : r.errors[0]);
  EXPECT_EQ(r.values->low, " 2.000");
  EXPECT_EQ(r.values->high, "102.00");
  EXPECT_EQ(oldScaleOfItem("Linear").low, "");
}

TEST(Calculators, CalibrationMessages) {
  const auto errors = [](CalibrationEntries e) { return calibrate(e).errors; };
  using V = std::vector<std::string>;
  EXPECT_EQ(errors({"0", "100", "90", "12", "10", "92"}), V{"Low logger is higher than High logger reading"});
  EXPECT_EQ(errors({"0", "100", "90", "92", "10", "12"}),
            (V{"Low logger is higher than High logger reading", "Low true value is higher than High true value"}));
  EXPECT_EQ(errors({"0", "100", "10", "92", "90", "12"}), V{"Low true value is higher than High true value"});
  EXPECT_EQ(errors({"0", "100", "10", "12", "10", "92"}), V{"Same value entered for Low and High logger"});
  EXPECT_EQ(errors({"0", "100", "10", "12", "90", "12"}), V{"Same value entered for Low / High true"});
  const auto refused = calibrate({"0", "100", "90", "12", "10", "92"});
  EXPECT_FALSE(refused.values.has_value());
  EXPECT_EQ(errors({"5", "5", "10", "12", "90", "92"}), V{"Values must be different"});
}

TEST(Calculators, EntryParsing) {
  EXPECT_EQ(parseCalculatorEntry(" 2,5 "), 2.5);
  EXPECT_EQ(parseCalculatorEntry("-4"), -4.0);
  EXPECT_FALSE(parseCalculatorEntry("").has_value());
  EXPECT_FALSE(parseCalculatorEntry("1x").has_value());
  EXPECT_FALSE(parseCalculatorEntry("1e999").has_value());
}

}  // namespace
}  // namespace brevik::setup
