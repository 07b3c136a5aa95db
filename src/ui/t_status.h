#pragma once
// The status form: the texts of the last status, and the real-time display
// of the same form (caption "Real Time Display", no clock, white value
// boxes). Every text comes from the core's status form; the form only puts
// each into the control of the same name.

#include <QDialog>
#include <QMap>
#include <array>
#include <functional>
#include <string>

#include "program/desktop_session.h"
#include "protocol/status_texts.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace brevik::ui {

class TStatus final : public QDialog {
  Q_OBJECT

 public:
  using Leave = std::function<program::StatusFormExitOutcome(program::StatusFormExit)>;

  explicit TStatus(QWidget* parent = nullptr);

  // What OK and closing do (the session's rule), and what showing the main
  // window means.
  void setLeaveAction(Leave leave) { leave_ = std::move(leave); }
  void setShowMainAction(std::function<void()> showMain) { showMain_ = std::move(showMain); }

  void fill(const protocol::StatusForm& form);
  void setRealTimeAppearance(bool realTime);
  void setValueTexts(const std::array<std::string, 4>& texts);
  void setValueText(const QString& text);  // all four value boxes
  void setScheduleText(const QString& text);
  void setIdentificationText(const QString& text);
  // Hides the form without asking the session (the engine closed it).
  void closeQuietly();

  // The control of a component name (for tests and screenshots).
  QWidget* component(const QString& name) const { return components_.value(name, nullptr); }

 private Q_SLOTS:
  void OKButtonClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLineEdit* box(const QString& name);
  QLabel* label(const QString& name, const QString& caption);

  QMap<QString, QWidget*> components_;
  std::array<QLineEdit*, 4> valueBoxes_{};
  QLabel* clockBoxLabel_ = nullptr;
  QLineEdit* clockBox_ = nullptr;
  QLabel* scheduleLabel_ = nullptr;
  QLabel* identLabel_ = nullptr;
  QPushButton* okButton_ = nullptr;
  Leave leave_;
  std::function<void()> showMain_;
};

}  // namespace brevik::ui
