#pragma once
// The item lists of the setup form's boxes and the codes they stand for:
// rate box, start and stop boxes, scaling boxes, input boxes, model and
// resolution boxes. Tables and their inverses only; the setup model decides
// which item is selected and when an item's text is rewritten.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevik::setup {

// ------------------------------------------------------------------ rate box

inline constexpr int kRateItemCount = 28;
inline constexpr int kRateItemForUnknownCode = 11;  // "10 secs"

// The 28 items in box order.
const std::vector<std::string>& rateItems();
// The code of a box index; 'R' for an index outside 0-27.
char rateCodeOfItem(int index);
// The index of a code; 11 ("10 secs") for a code not in the box.
int rateItemOfCode(char code);

// ------------------------------------------------------- start and stop boxes

inline constexpr int kStartImmediate = 0;
inline constexpr int kStartPreset = 1;
inline constexpr int kStartOnChannel = 2;
inline constexpr int kStartWithDialOut = 3;

inline constexpr int kStopAtMemoryEnd = 0;
inline constexpr int kStopNever = 1;
inline constexpr int kStopOnChannel = 2;

// Item lists as the form starts with them; items 1 and 3 of the start box and
// item 2 of both boxes are rewritten later.
std::vector<std::string> initialStartItems();
std::vector<std::string> initialStopItems();

// Item 1 of the start box outside the preset mode, and after a status.
std::string_view presetStartPlaceholder();   // "Heure prévue   "
std::string_view presetStartResourceText();  // "Heure/datePrévu"

// Item 2 of each box depends on what the last logger seen calls its trigger:
// probes before revision 'o', channel 1 from 'o' on.
struct ChannelEventTexts {
  std::string_view startItem;
  std::string_view stopItem;
};
ChannelEventTexts channelEventTexts(char lastRevision);

// ------------------------------------------------------------ scaling boxes

// Items with a meaning of their own.
inline constexpr int kScaleItemLinear = 4;
inline constexpr int kScaleItemNewLinear = 5;   // action: linear scaling dialog
inline constexpr int kScaleItemTable = 6;
inline constexpr int kScaleItemChooseTable = 7;  // action: table file chooser
inline constexpr int kScaleItemContact = 10;
inline constexpr int kScaleItemNewContact = 11;  // action: contact values dialog
inline constexpr int kScaleItemDefault = 2;      // Thermistor "C"

// Channel 3 also offers the thermocouples (items 12-43).
int scaleItemCount(int channel);
std::vector<std::string> initialScaleItems(int channel);

// Whether an item opens a dialog instead of naming a scaling.
bool isScaleActionItem(int item);

// The code an item stores ('3' for item 4, 'X' for 10, '1' for 6); none for
// the action items and items the channel does not have.
std::optional<char> scaleCodeOfItem(int channel, int item);
// The item a code selects on a channel; none when the channel's box does not
// offer it (the box then stays as it was).
std::optional<int> scaleItemOfCode(int channel, char code);

// The texts of items 4, 6 and 10 are written by scale_entry.h.

// ---------------------------------------------------------------- input boxes

inline constexpr int kInputItemCount = 4;
std::vector<std::string> inputItems(int channel);
// The 3-bit mode stored for an item: item 3 is 5 (0.1 s excitation) on
// channels 1-3 and 4 (pulse) on channel 4.
int inputModeOfItem(int channel, int item);
// The item a stored mode selects: 4 and 5 select item 3; 0-2 their own
// number; none for a mode without an item (3, 6, 7).
std::optional<int> inputItemOfMode(int mode);

// -------------------------------------------------- model and resolution boxes

inline constexpr int kModelItemKaldo = 3;
inline constexpr int kModelItemKaldoM = 4;
const std::vector<std::string>& modelItems();
const std::vector<std::string>& resolutionItems();  // 12, 10, 8 bit

// The item `LastModelCode` selects: 1, 2, 3 -> 0, 1, 2; 5 -> 3; 6 -> 4; none
// for other values.
std::optional<int> modelItemOfSettingsCode(int lastModelCode);
// Whether the model has a resolution choice (and the record a `Resolution`).
bool modelHasResolutionChoice(int modelItem);

// Readings in memory of a model item and resolution item (0 12 bit, 1 10 bit,
// 2 8 bit).
std::int32_t memoryReadingsOf(int modelItem, int resolutionItem);

// ------------------------------------------------------------------- captions

inline constexpr std::string_view kOnCaption = "ON";
inline constexpr std::string_view kOffCaption = "OFF";

}  // namespace brevik::setup
