#include "settings/settings_dialog.h"

namespace brevik::settings {

std::optional<int> baudIndexOf(std::uint32_t baudRate) {
  for (std::size_t i = 0; i < kBaudRates.size(); ++i)
    if (kBaudRates[i] == baudRate) return static_cast<int>(i);
  return std::nullopt;
}

SettingsDialogState settingsDialogStateOf(const LoggerSettings& s) {
  SettingsDialogState state;
  state.portIndex = s.PortNumber >= 1 && s.PortNumber <= 10 ? static_cast<int>(s.PortNumber) - 1 : 0;
  // An unknown rate shows as 19.2k, the program's default.
  state.baudIndex = baudIndexOf(s.BaudRate).value_or(4);
  state.network = s.NetworkMode != 0;
  state.modem = s.UseModem != 0;
  state.autoAnswer = s.AutoAnswer != 0;
  state.wireless = s.Wireless != 0;
  state.fastProtocol = s.FastProtocol != 0;
  state.autoExport = s.AutoExport != 0;
  state.dayFirst = s.ExportDayFirst != 0;
  state.twelveHour = s.TwelveHourClock != 0;
  return state;
}

SettingsDialogOutcome applySettingsDialog(const SettingsDialogState& state, LoggerSettings& s) {
  SettingsDialogOutcome out;
  // A modem line needs network mode: refused before anything is taken.
  if (state.modem && !state.network) {
    out.refusal = std::string(kModemNeedsNetworkText);
    return out;
  }
  // The line's fields are taken first: the baud check below reads them.
  s.Wireless = state.wireless ? 1 : 0;
  s.FastProtocol = state.fastProtocol ? 1 : 0;
  s.PortNumber = static_cast<std::uint32_t>(state.portIndex < 0 || state.portIndex > 9 ? 0 : state.portIndex) + 1;
  // A rate with no item (a stored 28800-57600) is kept while the group
  // shows none of the five; the window passes its index through unchanged.
  if (state.baudIndex >= 0 && static_cast<std::size_t>(state.baudIndex) < kBaudRates.size())
    s.BaudRate = kBaudRates[static_cast<std::size_t>(state.baudIndex)];
  // The rates above 19200 exist only in the fast protocol. The refusal keeps
  // the line's fields just taken, as the dialog always has.
  if (s.FastProtocol == 0 && s.BaudRate > 19200) {
    out.refusal = std::string(kBaudNeedsFastProtocolText);
    return out;
  }
  // Nothing can be refused from here on.
  s.UseModem = state.modem ? 1 : 0;
  // Auto-answer only with a modem; the caller enters or leaves the mode.
  s.AutoAnswer = s.UseModem != 0 && state.autoAnswer ? 1 : 0;
  out.autoAnswer = s.AutoAnswer != 0 ? AutoAnswerChange::Enter : AutoAnswerChange::Leave;
  s.NetworkMode = state.network ? 1 : 0;
  s.TwelveHourClock = state.twelveHour ? 1 : 0;
  out.accepted = true;
  return out;
}

void applyAutoExportClick(bool checked, LoggerSettings& s) { s.AutoExport = checked ? 1 : 0; }

void applyDateFormatClick(bool dayFirst, LoggerSettings& s) { s.ExportDayFirst = dayFirst ? 1 : 0; }

}  // namespace brevik::settings
