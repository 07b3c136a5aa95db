// The averaging count the export dialog's controls stand for (the window
// tests run the rest of its rules through the dialog).

#include <gtest/gtest.h>

#include "export/export_dialog.h"

namespace brevik::exporting {
namespace {

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
  // A stored count outside 2-9998 still shows as a count, for the user to mend.
  EXPECT_EQ(averagingSelectionOf(12000), (AveragingSelection{AveragingChoice::Groups, 12000u}));
}


}  // namespace
}  // namespace brevik::exporting
