#pragma once
// What the communication status window (TCommStatus) and the windows around
// an exchange show, as a port. The exchange engine only ever tells the view
// what to show; it never asks it anything.

#include <cstdint>
#include <optional>
#include <string_view>

namespace brevik::link {

// The two numbers a four-character identification line carries, shown in the
// status display beside the date code.
struct IdentificationDigits {
  int first = 0;   // code of character 3 minus 48
  int second = 0;  // code of character 4 plus 48
  friend bool operator==(const IdentificationDigits&, const IdentificationDigits&) = default;
};

class LinkView {
 public:
  virtual ~LinkView() = default;

  // ---- TCommStatus ----
  virtual void setStatusText(std::string_view text) = 0;         // StatusBox
  virtual void setMeter(int percent) = 0;                        // ComMeter
  virtual void setMeterVisible(bool visible) = 0;
  virtual void setBlockCountVisible(bool visible) = 0;           // BlockCountLabel + Field
  virtual void setBlockCount(std::uint32_t blocks) = 0;          // BlockCountField
  virtual void setDataFileText(std::string_view fileName) = 0;   // udaFile
  virtual void setAbortVisible(bool visible) = 0;                // AbortBtn
  virtual void setAbortEnabled(bool enabled) = 0;
  virtual void setStatusWindowShown(bool shown) = 0;
  // The system beep that greets a finished download.
  virtual void beep() {}

  // ---- the windows an exchange locks ----
  virtual void setMainWindowEnabled(bool enabled) = 0;
  virtual void setSetupWindowEnabled(bool enabled) = 0;
  virtual void showMainWindow() = 0;
  virtual void closeStationAddressWindow() = 0;  // enabled again and closed

  // ---- the status display ----
  virtual void setIdentificationDigits(std::optional<IdentificationDigits> digits) = 0;
  virtual void setScheduleText(std::string_view text) = 0;
  virtual void showStatusDisplay() = 0;

  // ---- the real-time display ----
  virtual void setReadingError(std::string_view text) = 0;  // all four value boxes
  virtual void closeRealTimeDisplay() = 0;
};

}  // namespace brevik::link
