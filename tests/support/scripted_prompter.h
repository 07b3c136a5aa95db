#pragma once
// A Prompter that records every message and answers from a script (Ok, or
// the first button of the set, when the script has run out).

#include <deque>
#include <vector>

#include "common/prompter.h"

namespace brevik::testing {

class ScriptedPrompter final : public Prompter {
 public:
  Answer ask(const Message& message) override {
    messages.push_back(message);
    if (!answers.empty()) {
      const Answer a = answers.front();
      answers.pop_front();
      return a;
    }
    return message.buttons == Buttons::YesNo || message.buttons == Buttons::YesNoCancel
               ? Answer::Yes
               : Answer::Ok;
  }

  std::vector<Message> messages;
  std::deque<Answer> answers;
};

}  // namespace brevik::testing
