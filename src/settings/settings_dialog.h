#pragma once
// The rules of the Settings dialog (TSettings2): what its controls show for
// the Logger Settings, and what OK stores. The window only copies control
// values in and out of SettingsDialogState.

#include <optional>
#include <string>
#include <string_view>

#include "settings/logger_settings.h"

namespace brevik::settings {

inline constexpr std::string_view kModemNeedsNetworkText = "Must check 'Network' if using modems";
inline constexpr std::string_view kBaudNeedsFastProtocolText =
    "Selected baud rate is only supported by MT7xx Protocol.  Check 'MT7xx Protocol' or select a "
    "slower baud rate.";

// The five items of BaudGroup; rates above 19200 have no item.
inline constexpr int kBaudGroupItems = 5;

// What the dialog's controls hold.
struct SettingsDialogState {
  int portIndex = 0;        // PortGroup: COM1 = 0 ... COM10 = 9
  int baudIndex = 4;        // BaudGroup: index into kBaudRates (5-7 have no item)
  bool network = false;     // RG_Network: "Réseau " (true) or "Appareil seul"
  bool modem = false;       // CB_modem
  bool autoAnswer = false;  // AutoAnswerCheckBox (shown only while CB_modem is checked)
  bool wireless = false;    // CB_Wireless
  bool fastProtocol = true; // CB_MT7xx
  bool autoExport = false;  // AutocsvCheckBox
  bool dayFirst = false;    // ExpDateFormatRG: "jj/mm/aaaa" (true)
  bool twelveHour = true;   // TimeFormat: "Am/Pm" (true) or "24 Hour"
  friend bool operator==(const SettingsDialogState&, const SettingsDialogState&) = default;
};

// The controls as the dialog shows them (FormShow).
SettingsDialogState settingsDialogStateOf(const LoggerSettings& settings);

// Index of a baud rate in kBaudRates, or nullopt for a rate the program does
// not know (a kvlog.ini written by something else).
std::optional<int> baudIndexOf(std::uint32_t baudRate);

enum class AutoAnswerChange { None, Enter, Leave };

struct SettingsDialogOutcome {
  bool accepted = false;               // the dialog closes
  std::optional<std::string> refusal;  // the message shown when it stays open
  AutoAnswerChange autoAnswer = AutoAnswerChange::None;
};

// OK: stores the controls in the settings in the dialog's order. A refusal
// after step 2 leaves the fields of step 2 stored, as users of the dialog
// have always seen. `autoAnswer` says whether the main window enters or
// leaves auto-answer mode; an accepted OK always says one of the two.
SettingsDialogOutcome applySettingsDialog(const SettingsDialogState& state, LoggerSettings& settings);

// The two controls that write at once (Cancel does not undo them).
void applyAutoExportClick(bool checked, LoggerSettings& settings);
void applyDateFormatClick(bool dayFirst, LoggerSettings& settings);

}  // namespace brevik::settings
