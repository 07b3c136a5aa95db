#include "ui/qt_prompter.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QMessageBox>

#include "ui/text.h"

namespace brevik::ui {

namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::Information;
}

QMessageBox::StandardButtons buttonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::OkRetry: return QMessageBox::Ok | QMessageBox::Retry;
  }
  return QMessageBox::Ok;
}

// Closing the box counts as Cancel where there is one, else No, else Ok.
Answer closedAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::OkCancel:
    case Buttons::YesNoCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    default: return Answer::Ok;
  }
}

}  // namespace

Answer QtPrompter::ask(const Message& message) {
  QMessageBox box(iconOf(message.kind), "Brevik Logger", fromCp(message.text), buttonsOf(message.buttons),
                  parent_);
  box.setObjectName("PrompterBox");
  QAbstractButton* help = nullptr;
  if (message.helpTopic > 0) help = box.addButton(QMessageBox::Help);
  for (;;) {
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (help && clicked == help) {
      if (openHelp_) openHelp_(message.helpTopic);
      continue;  // the question still waits for its answer
    }
    switch (box.standardButton(clicked)) {
      case QMessageBox::Ok: return Answer::Ok;
      case QMessageBox::Cancel: return Answer::Cancel;
      case QMessageBox::Yes: return Answer::Yes;
      case QMessageBox::No: return Answer::No;
      case QMessageBox::Retry: return Answer::Retry;
      default: return closedAnswer(message.buttons);
    }
  }
}

}  // namespace brevik::ui
