#pragma once
// The setup form without its window: the state of every control (selected
// items, item texts, captions, edit texts, what is shown and enabled), how
// it is filled from a Logger Configuration or from the last status, and how
// it is written back. The window only shows this state and forwards the
// user's actions; every rule lives here so it can be tested.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/clock.h"
#include "setup/logger_configuration.h"
#include "setup/scale_entry.h"

namespace brevik::setup {

struct BoxState {
  std::vector<std::string> items;
  int index = 0;
  bool enabled = true;
  bool visible = true;

  // The selected item's text ("" when nothing valid is selected).
  const std::string& text() const;
};

// What populate-from-status needs of the last decoded status.
struct StatusSetupView {
  std::uint8_t flags = 0;        // status flags: bit 0 ring, bit 4 trigger, bit 5 stop on channel 1
  std::uint8_t channelBits = 0;  // bits 0-3: channels 1-4 on
  std::uint16_t inputModes = 0;
  char rateCode = 'M';
  std::array<char, kChannelCount> typeCodes{'0', '0', '0', '0'};
  std::array<std::string, kChannelCount> channelRecords;  // table name or scale text
  std::array<std::string, kChannelCount> descriptions;
  std::string session;
  char modelCode = '0';
  bool twelveBit = false;
  bool tenBit = false;
};

inline constexpr std::string_view kLastStatusLabel = "LAST STATUS";

// What a scaling box change asks the window to open.
enum class ScalingAction { None, LinearDialog, ContactDialog, TableChooser };
// What a start box change asks the window to open.
enum class StartAction { None, PresetDialog, DialOutDialog };

class SetupModel {
 public:
  SetupModel();

  // ---- control state
  BoxState rateBox;
  BoxState startBox;
  BoxState runBox;
  BoxState modelBox;
  BoxState resolutionBox;  // `ResBox` with `ResLabel`
  std::array<BoxState, kChannelCount> scalingBoxes;
  std::array<BoxState, kChannelCount> inputBoxes;
  std::array<std::string, kChannelCount> onOffCaptions;
  bool onOffEnabled = true;
  std::array<std::string, kChannelCount> channelDescriptions;  // at most 24 characters
  std::string sessionDescription;                              // at most 31 characters
  std::string fileNameLabel;
  bool modifiedLabelVisible = false;
  std::string durationText;
  bool stationVisible = false;
  int stationAddress = 0;

  // ---- form state besides the controls
  bool modified() const { return modified_; }
  void clearModified();
  bool labelsOnly() const { return labelsOnly_; }
  int channelBeingEdited() const { return editedChannel_; }
  int rememberedScaling(int channel) const;
  std::int32_t memoryReadings() const;

  // ---- operations of the form
  // The start and stop box texts about channel 1 or the probes.
  void applyFirmwareTexts(char lastRevision);
  // Labels-only mode disables everything but descriptions and scaling.
  void setLabelsOnly(bool labelsOnly);
  // The station field is shown in network mode only.
  void applyStation(bool networkMode, int address);
  // The model box from `LastModelCode`; shows the resolution box for the
  // KALDO models with item `Resolution` - 1.
  void applyModel(int lastModelCode, const LoggerConfiguration& config);
  // After populating: labels-only mode, station, model box, `Resolution` from
  // the resolution box, duration.
  struct PrepareInputs {
    bool labelsOnly = false;
    bool networkMode = false;
    int stationAddress = 0;
    int lastModelCode = 5;
    char lastRevision = 'n';
  };
  void prepare(const PrepareInputs& inputs, LoggerConfiguration& config);

  // Fills every control from the record. A start mode other than the preset
  // and dial-out ones clears `DialOutKind` in the record.
  void populateFromRecord(LoggerConfiguration& config, const Clock& clock);
  // Fills every control from the last status; the file label reads
  // "LAST STATUS".
  void populateFromStatus(const StatusSetupView& status);
  // Writes every control back into the record.
  void collect(LoggerConfiguration& config) const;

  // ---- edits (each sets the modified flag)
  void selectRate(int index);
  void selectStop(int index);
  StartAction selectStart(int index);
  void selectInput(int channel, int index);
  void setChannelDescription(int channel, std::string_view text);
  void setSessionDescription(std::string_view text);
  void toggleChannel(int channel);
  // Also writes `Resolution` := index + 1 into the record at once.
  void selectResolution(int index, LoggerConfiguration& config);
  void setStationAddress(int address);
  // The model box: the resolution box is shown for the KALDO models, and
  // `Resolution` follows what the record then means.
  void selectModel(int index, LoggerConfiguration& config);
  ScalingAction selectScaling(int channel, int index);

  // ---- results of the dialogs, for the channel being edited
  void linearAccepted(const ScalePair& pair);
  void contactAccepted(const ScalePair& pair);
  void tableChosen(std::string_view fileName);
  // Cancel of a scaling dialog or the chooser: every scaling box returns to
  // its remembered selection.
  void scalingDialogCancelled();
  // OK of the date dialog: the item text and the item it selects.
  void presetStartChosen(std::string itemText);
  void dialOutChosen(std::string itemText);
  // Cancel of the date dialog: the start box returns to the stored start mode.
  void dateDialogCancelled(const LoggerConfiguration& config);

  // The duration text for the current rate, model, resolution and channels.
  void recomputeDuration();

 private:
  void markModified();
  void rememberScalingSelections();
  void selectScalingFromCode(int channel, char code, std::string_view text);
  void selectInputsFromWord(std::uint16_t word);
  void setResolutionBoxForModel(std::uint8_t resolution);

  bool modified_ = false;
  bool labelsOnly_ = false;
  int editedChannel_ = 1;
  std::array<int, kChannelCount> remembered_{};
};

// The duration estimate: the memory filled at the rate with `channelsOn`
// channels. "0" with no channel; else "%4.1f" and a unit (" secs  ",
// " mins  ", " heure ", " Jour  ", " mois  ", " ans   ").
std::string durationText(std::int32_t memoryReadings, int channelsOn, char rateCode, bool correctApproximateRates);

}  // namespace brevik::setup
