#pragma once
// An up/down spinner without a value of its own: two small arrow buttons,
// named after the spinner ("OvcSpinner1Up", "OvcSpinner1Down"), that say
// which way the user clicked.

#include <QWidget>

class QToolButton;

namespace brevik::ui {

class UpDownSpinner final : public QWidget {
  Q_OBJECT

 public:
  UpDownSpinner(const QString& name, QWidget* parent = nullptr);

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 Q_SIGNALS:
  void clicked(bool up);

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace brevik::ui
