#pragma once
// The graph's colours: eight slots, each holding the index (1-16) of one
// colour of a fixed sixteen-colour palette, kept in graph colour files
// (.gcf): eight lines, one decimal index per slot in slot order, each line
// ended by CR LF.
//
// Reading a colour file is all or nothing: the file must start with eight
// lines that each hold one integer (blanks around it allowed); lines after
// the eighth are ignored. A short file or a line that is not an integer
// refuses the whole file with an Error naming the line, and the slots the
// caller holds stay as they were. An integer outside 0-255 is kept as 255
// ("not a palette colour"); any index outside 1-16 is shown as red.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/cp1252.h"
#include "common/result.h"

namespace brevik::graph {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct PaletteColor {
  std::uint8_t index;           // 1-16
  std::string_view buttonName;  // the palette speed button of the dialog
  Rgb rgb;
};

inline constexpr std::array<PaletteColor, 16> kPalette = {{
    {1, "sbWhite", {255, 255, 255}},  {2, "sbAqua", {0, 255, 255}},
    {3, "sbFuchsia", {255, 0, 255}},  {4, "sbBlue", {0, 0, 255}},
    {5, "sbYellow", {255, 255, 0}},   {6, "sbLime", {0, 255, 0}},
    {7, "sbRed", {255, 0, 0}},        {8, "sbGray", {128, 128, 128}},
    {9, "sbSilver", {192, 192, 192}}, {10, "sbTeal", {0, 128, 128}},
    {11, "sbPurple", {128, 0, 128}},  {12, "sbNavy", {0, 0, 128}},
    {13, "sbOlive", {128, 128, 0}},   {14, "sbGreen", {0, 128, 0}},
    {15, "sbMaroon", {128, 0, 0}},    {16, "sbBlack", {0, 0, 0}},
}};

inline constexpr std::uint8_t kNotInPalette = 255;
inline constexpr std::uint8_t kRedIndex = 7;  // what an index outside 1-16 shows

inline constexpr std::size_t kColorSlotCount = 8;
using ColorSlots = std::array<std::uint8_t, kColorSlotCount>;  // slot n at [n - 1]

// Teal, lime, blue, red, black, teal, white, white.
inline constexpr ColorSlots kFactoryColorSlots = {10, 6, 4, 7, 16, 10, 1, 1};

// The eight slots as the colour dialog shows them.
struct ColorSlotInfo {
  int slot;                      // 1-8
  std::string_view radioButton;  // RadioButton1 ... RadioButton8
  std::string_view panel;        // Panel1 ... Panel8, showing the slot's colour
  std::string_view caption;      // radio button caption (Windows-1252)
  std::string_view usedFor;
};

inline constexpr std::array<ColorSlotInfo, kColorSlotCount> kColorSlotInfo = {{
    {1, "RadioButton1", "Panel1", "Channel 1", "line colour of channel 1"},
    {2, "RadioButton2", "Panel2", "Channel 2", "line colour of channel 2"},
    {3, "RadioButton3", "Panel3", "Channel 3", "line colour of channel 3"},
    {4, "RadioButton4", "Panel4", "Channel 4", "line colour of channel 4"},
    {5, "RadioButton5", "Panel5", "Texte & Echelle", "TextColor: titles, labels, scales"},
    {6, "RadioButton6", "Panel6", "Gril.Ligne", "GraphForeColor: grid lines"},
    {7, "RadioButton7", "Panel7", "Fond arriè"_cp, "GraphBackColor: plot background"},
    {8, "RadioButton8", "Panel8", "Border", "DeskColor and ShadowColor"},
}};

// Texts and names of the colour dialog (TColorSetup).
namespace color_dialog {
inline constexpr std::string_view kCaption = "ChangeCouleurGraph";
inline constexpr int kHelpTopic = 10;
inline constexpr std::string_view kPaletteGroup = "Color Pallet";
inline constexpr std::string_view kSaveButtonName = "SaveColors";
inline constexpr std::string_view kSaveButtonCaption = "&Save As... ";
inline constexpr std::string_view kLoadButtonName = "LoadColors";
inline constexpr std::string_view kLoadButtonCaption = "&Charge.";
inline constexpr std::string_view kFileFilter = "GraphColors|*.gcf";
inline constexpr std::string_view kOpenTitle = "Load GraphColors File";
inline constexpr std::string_view kSaveTitle = "Save current Graph Colors";
inline constexpr std::string_view kDefaultExtension = "gcf";
}  // namespace color_dialog

inline constexpr std::string_view kDefaultColorFileName = "default.gcf";

// The palette colour of an index; red for an index outside 1-16.
Rgb paletteColor(int index);

// The colour of slot 1-8 (red for a slot number outside 1-8).
Rgb slotColor(const ColorSlots& slots, int slot);

// The palette index of a colour, kNotInPalette when the palette lacks it.
std::uint8_t paletteIndexOf(Rgb color);

// The eight indexes as a colour file: "10\r\n6\r\n...".
std::string formatColorFile(const ColorSlots& slots);

// The slots of a colour file's text (see the rule at the top).
Result<ColorSlots> parseColorFile(std::string_view text);

// Reads / writes a colour file. Errors name the file.
Result<ColorSlots> readColorFile(const std::filesystem::path& path);
Status writeColorFile(const std::filesystem::path& path, const ColorSlots& slots);

// The name a colour file is saved under: kept when it already ends in ".gcf"
// in any case, otherwise its extension becomes ".GCF" (added when it has none).
std::filesystem::path colorFileSaveName(const std::filesystem::path& chosen);

// "Graph color file: " + name + " not found; loading factory defaults"
std::string missingColorFileWarning(std::string_view colorFileName);

// What the start-up load decided. The caller shows `warning` (a warning box),
// stores `colorFileName` in the ColorFileName setting when set, and reports
// `writeError` when default.gcf could not be written.
struct StartupColors {
  ColorSlots slots = kFactoryColorSlots;
  std::optional<std::string> warning;
  std::optional<std::string> colorFileName;
  std::optional<Error> writeError;
};

// Loads the file named by the ColorFileName setting, without its directory,
// from `home` (Windows or POSIX directory parts are both removed). When it is
// missing or unusable: the factory defaults, the warning above, default.gcf
// written with them, and ColorFileName to become "default.gcf".
StartupColors loadStartupColors(const std::filesystem::path& home, std::string_view colorFileName);

}  // namespace brevik::graph
