#include "cli/console_link.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/cp1252.h"

namespace brevik::cli {
namespace {

TEST(ConsolePrompter, PrintsEachLineOfAMessageAsABangLineInUtf8) {
  std::ostringstream out;
  ConsolePrompter prompter(out);
  EXPECT_EQ(prompter.ask(Message{MessageKind::Warning,
                                 std::string("Impossible d'ouvrir le PortCom - SVP vérifier   "_cp)}),
            Answer::Ok);
  EXPECT_EQ(out.str(), "! Impossible d'ouvrir le PortCom - SVP v\xC3\xA9rifier   \n");

  out.str("");
  prompter.ask(Message{MessageKind::Information, "Invalid response; Length = 12\r0123\x01\r\n"});
  EXPECT_EQ(out.str(), "! Invalid response; Length = 12\n! 0123\\x01\n") << "a final line end adds no line";
  EXPECT_EQ(prompter.messages().size(), 2u);
}

TEST(ConsolePrompter, NobodyAnswersYesOrRetryUnlessThePolicySaysSo) {
  const ConfirmationPolicy cautious;
  EXPECT_EQ(unattendedAnswer(Buttons::Ok, cautious), Answer::Ok);
  EXPECT_EQ(unattendedAnswer(Buttons::OkRetry, cautious), Answer::Ok);
  EXPECT_EQ(unattendedAnswer(Buttons::OkCancel, cautious), Answer::Cancel);
  EXPECT_EQ(unattendedAnswer(Buttons::YesNo, cautious), Answer::No);
  // The same answer the desktop gives in an unattended run: a closed box.
  EXPECT_EQ(unattendedAnswer(Buttons::YesNoCancel, cautious), Answer::Cancel);
  const ConfirmationPolicy agreeing{Answer::Yes};
  EXPECT_EQ(unattendedAnswer(Buttons::YesNo, agreeing), Answer::Yes);
  EXPECT_EQ(unattendedAnswer(Buttons::YesNoCancel, ConfirmationPolicy{Answer::Cancel}), Answer::Cancel);
  EXPECT_EQ(unattendedAnswer(Buttons::YesNo, ConfirmationPolicy{Answer::Cancel}), Answer::No);
}

TEST(ConsoleObserver, PrintsStepChangesOnceAndTheMeterInFifths) {
  for (const bool meterShown : {true, false}) {
    std::ostringstream progress;
    ConsoleObserver observer(progress);
    link::ExchangeDisplay display;
    display.meterShown = meterShown;
    observer.exchangeStarted(display);
    observer.stepText("Establishing link...");
    observer.stepText("Establishing link...");
    for (int p = 0; p <= 100; p += 4) observer.meter(p);
    EXPECT_EQ(progress.str(), meterShown ? "  Establishing link...\n  wake-up 20 %\n  wake-up 40 %\n  wake-up 60 %\n"
                                           "  wake-up 80 %\n  wake-up 100 %\n"
                                         : "  Establishing link...\n");
  }
}

}  // namespace
}  // namespace brevik::cli
