// kaldo receive prints the transfer line of the download's completion but
// not the question it cannot ask.

#include "cli/receive_prompter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "common/cp1252.h"

namespace brevik::cli {
namespace {

TEST(WithoutTrailingQuestion, DropsTheQuestionAsALineOrSentenceOnly) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"Transfert done: a.qx1, Temps mis   : 3 seconds\r\rTrace Data?",
       "Transfert done: a.qx1, Temps mis   : 3 seconds"},
      {"Line one\r\nTrace Data?", "Line one"},
      {"All done. Trace Data?", "All done."},
      {"Trace Data?", ""},
      {"Trace Data? Not at the end", "Trace Data? Not at the end"},
      {"NoTrace Data?", "NoTrace Data?"},
      {"Other question?", "Other question?"},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(withoutTrailingQuestion(c.text, kTraceDataQuestion), c.expected) << c.text;
}

struct AskCase {
  Buttons buttons;
  Answer policy;
  std::string text;
  Answer answer;
  std::string printed;
};

TEST(ReceivePrompter, PrintsTheQuestionOnlyWhenItIsNotAnsweredNo) {
  const std::string done(std::string_view("Transfert terminé: a.qx1, Temps mis   : 3 seconds"_cp));
  const std::string asked = done + "\r\rTrace Data?";
  const std::string shownDone = "! " + toUtf8(done) + "\n";
  const AskCase cases[] = {
      {Buttons::YesNo, Answer::No, asked, Answer::No, shownDone},
      {Buttons::YesNo, Answer::Yes, asked, Answer::Yes, shownDone + "! \n! Trace Data?\n"},
      {Buttons::Ok, Answer::No, asked, Answer::Ok, shownDone + "! \n! Trace Data?\n"},
      {Buttons::YesNo, Answer::No, "Trace Data?", Answer::No, ""},
      {Buttons::YesNo, Answer::No, "Effacer?", Answer::No, "! Effacer?\n"},
  };
  for (const AskCase& c : cases) {
    std::ostringstream out;
    ReceivePrompter prompter(out, ConfirmationPolicy{c.policy});
    EXPECT_EQ(prompter.ask(Message{MessageKind::Information, c.text, c.buttons, 0}), c.answer) << c.text;
    EXPECT_EQ(out.str(), c.printed);
  }
}

}  // namespace
}  // namespace brevik::cli
