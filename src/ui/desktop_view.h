#pragma once
// The Qt windows seen by the link and the desktop session: what the engine
// and the session decide, shown in TMain, TCommStatus and TStatus. Windows
// of later parts of the program open a plain "not available yet" window.

#include <QString>
#include <functional>

#include "program/desktop_session.h"
#include "link/link_view.h"

class QDialog;
class QLabel;

namespace brevik::ui {

class TCommStatus;
class TMain;
class TStatus;

// The window of a part of the program that is not there yet.
class NotAvailableWindow;

class QtDesktopView final : public link::LinkView, public program::DesktopWindows {
 public:
  QtDesktopView(TCommStatus& comm, TStatus& status, std::function<void()> quit);
  void setMainWindow(TMain* main) { main_ = main; }

  // ---- LinkView ----
  void setStatusText(std::string_view text) override;
  void setMeter(int percent) override;
  void setMeterVisible(bool visible) override;
  void setBlockCountVisible(bool visible) override;
  void setBlockCount(std::uint32_t blocks) override;
  void setDataFileText(std::string_view fileName) override;
  void setAbortVisible(bool visible) override;
  void setAbortEnabled(bool enabled) override;
  void setStatusWindowShown(bool shown) override;
  void beep() override;
  void setMainWindowEnabled(bool enabled) override;
  void setSetupWindowEnabled(bool enabled) override;
  void showMainWindow() override;
  void closeStationAddressWindow() override;
  void setIdentificationDigits(std::optional<link::IdentificationDigits> digits) override;
  void setScheduleText(std::string_view text) override;
  void showStatusDisplay() override;
  void setReadingError(std::string_view text) override;
  void closeRealTimeDisplay() override;

  // ---- DesktopWindows ----
  void fillStatusForm(const protocol::StatusForm& form, bool realTimeAppearance) override;
  void showStatusForm() override;
  void hideStatusForm() override;
  void setValueTexts(const std::array<std::string, 4>& texts) override;
  void openWindow(program::WindowId window) override;
  void quitProgram() override;

  // The "not available yet" window (created on first use).
  QDialog* notAvailableWindow() const;
  static QString windowTitleOf(program::WindowId window);

 private:
  TCommStatus& comm_;
  TStatus& status_;
  TMain* main_ = nullptr;
  std::function<void()> quit_;
  QDialog* notAvailable_ = nullptr;
  QLabel* notAvailableText_ = nullptr;
};

}  // namespace brevik::ui
