#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "setup/configuration_validation.h"

namespace brevik::setup {
namespace {

using setup::LoggerConfiguration;

const DateTime kNow{2024, 3, 5, 10, 20, 30, 0, 2};

struct Asked {
  std::vector<int> steps;
  ValidationOutcome outcome;
};

// Answers OK to everything except the steps listed in `cancel`.
Asked validate(const LoggerConfiguration& c, ValidationContext context = {kNow, false, false},
             std::vector<int> cancel = {}) {
  Asked run{{}, ValidationOutcome::Stop};
  run.outcome = validateConfiguration(c, context, [&](const ValidationQuestion& q) {
    run.steps.push_back(q.step);
    return std::find(cancel.begin(), cancel.end(), q.step) == cancel.end();
  });
  return run;
}

LoggerConfiguration record(char rate, int start, int stop) {
  FixedClock clock(kNow);
  LoggerConfiguration c = LoggerConfiguration::builtInDefault(clock);
  c.setRateCode(rate);
  c.setModes(start, stop);
  return c;
}

TEST(Validation, FastRingIsRefusedAtStep1) {
  const Asked r = validate(record('8', 0, 1));
  EXPECT_EQ(r.steps, std::vector<int>{1});
  EXPECT_EQ(r.outcome, ValidationOutcome::Stop);
}

TEST(Validation, FastStopOnChannel1AsksSteps3And6) {
  const Asked r = validate(record('8', 0, 2));
  EXPECT_EQ(r.steps, (std::vector<int>{3, 5, 6}));
  EXPECT_EQ(r.outcome, ValidationOutcome::Send);
  EXPECT_EQ(validate(record('8', 0, 2), {kNow, false, false}, {6}).outcome, ValidationOutcome::Stop);
  EXPECT_EQ(validate(record('8', 0, 2), {kNow, false, false}, {3}).steps, std::vector<int>{3});
}

TEST(Validation, FastWithModemOutputIsRefusedAtStep2) {
  EXPECT_EQ(validate(record('8', 3, 0)).steps, std::vector<int>{2});
}

TEST(Validation, SlowRateAsksOnlyTheMemoryQuestion) {
  const Asked r = validate(record('D', 0, 1));
  EXPECT_EQ(r.steps, std::vector<int>{5});
  EXPECT_EQ(r.outcome, ValidationOutcome::Send);
  EXPECT_EQ(validate(record('D', 0, 1), {kNow, false, false}, {5}).outcome, ValidationOutcome::Stop);
}

TEST(Validation, UnattendedSendsAfterStep3) {
  EXPECT_EQ(validate(record('D', 1, 0), {kNow, true, false}).steps, std::vector<int>{});
  const Asked fast = validate(record('8', 2, 0), {kNow, true, false});
  EXPECT_EQ(fast.steps, std::vector<int>{3});
  EXPECT_EQ(fast.outcome, ValidationOutcome::Send);
}

TEST(Validation, LabelsOnlySkipsEverything) {
  EXPECT_EQ(validate(record('8', 0, 1), {kNow, false, true}).steps, std::vector<int>{});
}

TEST(Validation, PassedPresetStartAsksStep7) {
  LoggerConfiguration c = record('D', 1, 0);
  c.setStartTime(9 * 3600);
  const Asked r = validate(c, {kNow, false, false}, {7});
  EXPECT_EQ(r.steps, (std::vector<int>{5, 7}));
  EXPECT_EQ(r.outcome, ValidationOutcome::Stop);
  c.setStartTime(11 * 3600);
  EXPECT_EQ(validate(c).steps, std::vector<int>{5});
}

TEST(Validation, Texts) {
  const std::string memory = memoryErasedText();
  EXPECT_EQ(memory.substr(0, 47), "La mémoire va être effacée et                  "_cp);
  EXPECT_EQ(memory.substr(47), " son horloge va prendre date/heure de ce PC     .");
  EXPECT_EQ(presetStartPassedText(), "Heure prévue est déjà dépassé;  Enregistrement démarre immédiat."_cp);
  std::vector<ValidationQuestion> asked;
  validateConfiguration(record('8', 0, 1), {kNow, false, false}, [&](const ValidationQuestion& q) {
    asked.push_back(q);
    return true;
  });
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, ringTooFastText());
  EXPECT_EQ(asked[0].buttons, ValidationButtons::Ok);
}

}  // namespace
}  // namespace brevik::setup
