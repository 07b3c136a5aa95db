// kaldo receive prints the transfer line of the download's completion but
// not the question it cannot ask.

#include "cli/receive_prompter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brevik::cli {
namespace {

TEST(ReceivePrompter, DropsTraceDataOnlyFromAQuestionItAnswersNo) {
  struct Case {
    Buttons buttons;
    Answer policy, answer;
    std::string text, printed;
  };
  const std::string asked = "Done: a.qx1, Temps mis   : 3 seconds\r\rTrace Data?";
  const std::string told = "! Done: a.qx1, Temps mis   : 3 seconds\n";
  const std::string kept = told + "! \n! Trace Data?\n";
  for (const Case& c : {Case{Buttons::YesNo, Answer::No, Answer::No, asked, told},
                        Case{Buttons::YesNo, Answer::No, Answer::No, "All done. Trace Data?", "! All done.\n"},
                        Case{Buttons::YesNo, Answer::No, Answer::No, "Trace Data?", ""},
                        Case{Buttons::YesNo, Answer::No, Answer::No, "NoTrace Data?", "! NoTrace Data?\n"},
                        Case{Buttons::YesNo, Answer::Yes, Answer::Yes, asked, kept},
                        Case{Buttons::Ok, Answer::No, Answer::Ok, asked, kept}}) {
    std::ostringstream out;
    ReceivePrompter prompter(out, ConfirmationPolicy{c.policy});
    EXPECT_EQ(prompter.ask(Message{MessageKind::Information, c.text, c.buttons, 0}), c.answer) << c.text;
    EXPECT_EQ(out.str(), c.printed);
  }
}

}  // namespace
}  // namespace brevik::cli
