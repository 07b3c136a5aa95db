#pragma once
// Modal messages to the user, as a port: the windows show message boxes, the
// console prints, tests script the answers. Texts are Windows-1252.

#include <string>
#include <string_view>

namespace brevik {

enum class MessageKind { Information, Warning, Error, Confirmation };

// The fixed button sets of the program's message boxes.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, OkRetry };

enum class Answer { Ok, Cancel, Yes, No, Retry };

struct Message {
  MessageKind kind = MessageKind::Information;
  std::string text;
  Buttons buttons = Buttons::Ok;
  int helpTopic = 0;  // topic of KVL.HLP behind a Help button; 0: no Help button

  friend bool operator==(const Message&, const Message&) = default;
};

// The answer of a box that nobody is there to click (an unattended run, a
// console): the box counts as closed.
constexpr Answer answerOfClosedBox(Buttons buttons) {
  switch (buttons) {
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
      return Answer::Cancel;
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::Ok:
    case Buttons::OkRetry:
      return Answer::Ok;
  }
  return Answer::Ok;
}

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Shows the message and returns the button chosen. Closing the box counts
  // as Cancel where there is one, else No, else Ok.
  virtual Answer ask(const Message& message) = 0;
};

}  // namespace brevik
