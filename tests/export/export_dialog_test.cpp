// The export dialog's rules: the controls of a stored averaging, the count
// the controls stand for, and the extension rule of its save dialog.

#include <gtest/gtest.h>

#include "export/export_dialog.h"

namespace brevik::exporting {
namespace {

TEST(ExportDialogRules, StoredAveragingChecksItsButtonAndBack) {
  struct Case {
    std::uint32_t stored;
    AveragingSelection shown;
    std::uint32_t storedAgain;
  };
  const Case cases[] = {
      {1, {AveragingChoice::AllPoints, std::nullopt}, 1},
      {0, {AveragingChoice::AllPoints, std::nullopt}, 1},
      {9999, {AveragingChoice::OneAverage, std::nullopt}, 9999},
      {10, {AveragingChoice::Groups, 10u}, 10},
      {2, {AveragingChoice::Groups, 2u}, 2},
      {9998, {AveragingChoice::Groups, 9998u}, 9998},
  };
  for (const Case& c : cases) {
    const AveragingSelection shown = averagingSelectionOf(c.stored);
    EXPECT_EQ(shown, c.shown) << c.stored;
    const std::string field = shown.groupSize ? std::to_string(*shown.groupSize) : "";
    auto back = averagingOf(shown.choice, field);
    ASSERT_TRUE(back.ok()) << c.stored;
    EXPECT_EQ(*back, c.storedAgain) << c.stored;
  }
}

TEST(ExportDialogRules, GroupSizeMustBeAWholeNumberFromTwoTo9998) {
  struct Case {
    const char* field;
    std::optional<std::uint32_t> count;
  };
  const Case cases[] = {
      {"10", 10u}, {" 25 ", 25u}, {"2", 2u}, {"9998", 9998u}, {"1", std::nullopt}, {"0", std::nullopt},
      {"9999", std::nullopt}, {"-5", std::nullopt}, {"", std::nullopt}, {"2.5", std::nullopt},
      {"ten", std::nullopt}, {"99999999999", std::nullopt}, {"12 3", std::nullopt},
  };
  for (const Case& c : cases) {
    auto n = averagingOf(AveragingChoice::Groups, c.field);
    ASSERT_EQ(n.ok(), c.count.has_value()) << c.field;
    if (c.count) {
      EXPECT_EQ(*n, *c.count) << c.field;
    } else {
      EXPECT_EQ(n.error().message, "The number of points to average must be a whole number from 2 to 9998");
    }
  }
  // The other two buttons ignore the field.
  EXPECT_EQ(*averagingOf(AveragingChoice::AllPoints, "junk"), 1u);
  EXPECT_EQ(*averagingOf(AveragingChoice::OneAverage, "junk"), 9999u);
}

TEST(ExportDialogRules, ChosenNameMustEndInTheFormsExtension) {
  struct Case {
    const char* name;
    bool csv;
    std::optional<std::string> refusal;
  };
  const Case cases[] = {
      {"/home/u/site1.CSV", true, std::nullopt},
      {"/home/u/site1.csv", true, std::nullopt},
      {"/home/u/site1.TXT", false, std::nullopt},
      {"/home/u/site1.txt", false, std::nullopt},
      {"/home/u/site1.TXT", true, "File name must end in '.CSV'"},
      {"/home/u/site1.CSV", false, "File name must end in '.TXT'"},
      {"/home/u/site1", true, "File name must end in '.CSV'"},
      {"/home/u/site1.csv.bak", true, "File name must end in '.CSV'"},
  };
  for (const Case& c : cases) EXPECT_EQ(exportNameRefusal(c.name, c.csv), c.refusal) << c.name;
  EXPECT_EQ(exportFilter(true), "CSV File|*.CSV");
  EXPECT_EQ(exportExtension(false), "TXT");
  EXPECT_EQ(savedToDiskText("C:\\a.CSV"), "C:\\a.CSV saved to disk");
}

}  // namespace
}  // namespace brevik::exporting
