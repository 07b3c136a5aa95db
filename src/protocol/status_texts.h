#pragma once
// The texts of the status form, computed from a decoded Logger Status: a
// plain list of (component, text, visible) in the form's order, which a
// window fills its controls from and the console prints.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/logger_status.h"

namespace brevik::protocol {

struct StatusTextSettings {
  bool twelveHourClock = true;  // TwelveHourClock
};

struct StatusComponent {
  std::string name;  // the control's name, e.g. "ModelBox"
  std::string text;  // Windows-1252
  bool visible = true;
};

struct StatusForm {
  std::vector<StatusComponent> components;
  // Showing the status of a model '5' or '6' logger stores 5 or 6 as LastModelCode.
  std::optional<int> lastModelCodeOnShow;

  const StatusComponent* find(std::string_view name) const;
  // The text of a component ("" when there is none).
  std::string text(std::string_view name) const;
};

StatusForm buildStatusForm(const LoggerStatus& status, const StatusTextSettings& settings);

// The pieces, for the windows and reports that need one of them.
std::string channelValueText(const LoggerStatus& status, int channel);
std::string scaleBoxText(const LoggerStatus& status, int channel);
std::string currentStateText(const LoggerStatus& status, bool twelveHourClock);
std::string stopModeText(const LoggerStatus& status);
std::string recordingCapacityText(const LoggerStatus& status);
std::string firstReadingLabel(const LoggerStatus& status);
std::string firstReadingBoxText(const LoggerStatus& status);
std::string batteryText(const LoggerStatus& status);

// Minutes the memory lasts: memory size / active channels x interval (0 without channels).
double recordingMinutes(const LoggerStatus& status);

}  // namespace brevik::protocol
