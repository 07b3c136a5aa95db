#pragma once
// The text export dialog (TAsciiDlg) without its window: its texts, how the
// stored options show in its controls, the file-name extension rule of its
// save dialog and the averaging count its controls stand for. Texts are
// Windows-1252.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/cp1252.h"
#include "common/result.h"

namespace brevik::exporting {

namespace export_dialog {
inline constexpr std::string_view kCaption = "CréerFichierASCII"_cp;
inline constexpr std::string_view kTypeGroup = "RG_Type";
inline constexpr std::string_view kTextForm = "Tabular Values";
inline constexpr std::string_view kCsvForm = "Comma Separated Values";
inline constexpr std::string_view kAllPoints = "TousLesPts";
inline constexpr std::string_view kOneAverage = "Valeur Moyenne simple / canal  ";
inline constexpr std::string_view kAverageOf = "Moyennage de ";
inline constexpr std::string_view kAverageUnit = "points / canal  ";
inline constexpr std::string_view kNoHeader = "No Header";
inline constexpr std::string_view kNoteLabel = "Note facultatif";
inline constexpr std::string_view kSaveAsLabel = "Save as";
inline constexpr std::string_view kCsvFilter = "CSV File|*.CSV";
inline constexpr std::string_view kTextFilter = "Text File|*.TXT";
inline constexpr std::string_view kEmptyNameText = "Please enter a file name in 'Save as'";
inline constexpr std::string_view kSavedSuffix = " saved to disk";
inline constexpr std::uint32_t kSmallestGroup = 2;
inline constexpr std::uint32_t kLargestGroup = 9998;
}  // namespace export_dialog

// Which averaging radio button is checked.
enum class AveragingChoice { AllPoints, OneAverage, Groups };

struct AveragingSelection {
  AveragingChoice choice = AveragingChoice::AllPoints;
  std::optional<std::uint32_t> groupSize;  // AscField, for Groups only
  friend bool operator==(const AveragingSelection&, const AveragingSelection&) = default;
};

// The controls for a stored ExportAveraging: 1 (and 0) every point, 9999 one
// average, anything else averages of that many samples.
AveragingSelection averagingSelectionOf(std::uint32_t storedAveraging);

// The ExportAveraging the controls stand for. Groups take AscField's text,
// which must be a whole number from 2 to 9998 (blanks around it allowed);
// anything else comes back as the warning to show.
Result<std::uint32_t> averagingOf(AveragingChoice choice, std::string_view groupSizeText);

// "CSV" in CSV form, "TXT" in text form: the save dialog's default extension.
std::string_view exportExtension(bool csv);
// The save dialog's filter: "CSV File|*.CSV" or "Text File|*.TXT".
std::string_view exportFilter(bool csv);

// The warning for a chosen name whose extension is not the form's (compared
// without regard to case): "File name must end in '.CSV'"; nothing when the
// name fits.
std::optional<std::string> exportNameRefusal(const std::filesystem::path& chosen, bool csv);

// "<file name> saved to disk"
std::string savedToDiskText(std::string_view fileName);

}  // namespace brevik::exporting
