#include "setup/setup_model.h"

#include <algorithm>
#include <cstdio>

#include "common/bytes.h"
#include "protocol/vocabulary.h"
#include "protocol/scale_tables.h"
#include "setup/setup_items.h"
#include "setup/start_texts.h"

namespace brevik::setup {

namespace {

constexpr std::size_t kDescriptionWidth = config_layout::kChannelDescriptionWidth;
constexpr std::size_t kSessionWidth = config_layout::kSessionDescriptionWidth;

bool validChannel(int channel) { return channel >= 1 && channel <= kChannelCount; }
std::size_t slot(int channel) { return static_cast<std::size_t>(channel - 1); }

bool validIndex(const BoxState& box, int index) { return index >= 0 && index < static_cast<int>(box.items.size()); }

void select(BoxState& box, int index) {
  if (validIndex(box, index)) box.index = index;
}

std::string cut(std::string_view text, std::size_t width) {
  return std::string(text.substr(0, std::min(text.size(), width)));
}

// Descriptions from a status may hold anything the logger sent; the edits
// show them without their padding.
std::string editText(std::string_view stored, std::size_t width) { return bytes::trimmedRight(cut(stored, width)); }

}  // namespace

const std::string& BoxState::text() const {
  static const std::string empty;
  return index >= 0 && index < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(index)] : empty;
}

SetupModel::SetupModel() {
  rateBox.items = rateItems();
  rateBox.index = kRateItemForUnknownCode;
  startBox.items = initialStartItems();
  runBox.items = initialStopItems();
  modelBox.items = modelItems();
  modelBox.index = kModelItemKaldo;
  resolutionBox.items = resolutionItems();
  for (int ch = 1; ch <= kChannelCount; ++ch) {
    scalingBoxes[slot(ch)].items = initialScaleItems(ch);
    scalingBoxes[slot(ch)].index = kScaleItemDefault;
    inputBoxes[slot(ch)].items = inputItems(ch);
    onOffCaptions[slot(ch)] = std::string(kOnCaption);
    remembered_[slot(ch)] = kScaleItemDefault;
  }
  recomputeDuration();
}

void SetupModel::clearModified() {
  modified_ = false;
  modifiedLabelVisible = false;
}

void SetupModel::markModified() {
  modified_ = true;
  modifiedLabelVisible = true;
}

int SetupModel::rememberedScaling(int channel) const {
  return validChannel(channel) ? remembered_[slot(channel)] : 0;
}

std::int32_t SetupModel::memoryReadings() const { return memoryReadingsOf(modelBox.index, resolutionBox.index); }

void SetupModel::applyFirmwareTexts(char lastRevision) {
  const ChannelEventTexts texts = channelEventTexts(lastRevision);
  startBox.items[kStartOnChannel] = std::string(texts.startItem);
  runBox.items[kStopOnChannel] = std::string(texts.stopItem);
}

void SetupModel::setLabelsOnly(bool labelsOnly) {
  labelsOnly_ = labelsOnly;
  const bool enabled = !labelsOnly;
  onOffEnabled = enabled;
  for (BoxState& box : inputBoxes) box.enabled = enabled;
  startBox.enabled = enabled;
  runBox.enabled = enabled;
  rateBox.enabled = enabled;
  resolutionBox.enabled = enabled;
}

void SetupModel::applyStation(bool networkMode, int address) {
  stationVisible = networkMode;
  if (networkMode) stationAddress = std::clamp(address, 0, 255);
}

void SetupModel::setResolutionBoxForModel(std::uint8_t resolution) {
  resolutionBox.visible = modelHasResolutionChoice(modelBox.index);
  if (resolutionBox.visible) resolutionBox.index = resolution >= 1 && resolution <= 3 ? resolution - 1 : 0;
}

void SetupModel::applyModel(int lastModelCode, const LoggerConfiguration& config) {
  if (const auto item = modelItemOfSettingsCode(lastModelCode)) modelBox.index = *item;
  setResolutionBoxForModel(config.resolution());
}

void SetupModel::prepare(const PrepareInputs& inputs, LoggerConfiguration& config) {
  setLabelsOnly(inputs.labelsOnly);
  applyStation(inputs.networkMode, inputs.stationAddress);
  applyModel(inputs.lastModelCode, config);
  // Older models have no resolution choice and the record says so.
  config.setResolution(resolutionBox.visible ? static_cast<std::uint8_t>(resolutionBox.index + 1)
                                             : kResolutionNotApplicable);
  recomputeDuration();
}

void SetupModel::rememberScalingSelections() {
  for (int ch = 1; ch <= kChannelCount; ++ch) remembered_[slot(ch)] = scalingBoxes[slot(ch)].index;
}

void SetupModel::selectScalingFromCode(int channel, char code, std::string_view text) {
  BoxState& box = scalingBoxes[slot(channel)];
  const auto item = scaleItemOfCode(channel, code);
  if (!item) return;  // a code this box does not offer leaves it as it was
  if (*item == kScaleItemLinear) box.items[kScaleItemLinear] = protocol::linearCaption(text);
  else if (*item == kScaleItemContact) box.items[kScaleItemContact] = protocol::contactCaption(text);
  else if (*item == kScaleItemTable) box.items[kScaleItemTable] = tableItemTextOfName(text);
  box.index = *item;
}

void SetupModel::selectInputsFromWord(std::uint16_t word) {
  for (int ch = 1; ch <= kChannelCount; ++ch)
    if (const auto item = inputItemOfMode(protocol::inputModeOf(word, ch))) inputBoxes[slot(ch)].index = *item;
}

void SetupModel::populateFromRecord(LoggerConfiguration& config, const Clock& clock) {
  const int stop = config.stopMode();
  const int start = config.startMode();
  runBox.index = stop <= kStopOnChannel ? stop : kStopAtMemoryEnd;
  startBox.index = start <= kStartWithDialOut ? start : kStartImmediate;
  if (start == kStartPreset) {
    startBox.items[kStartPreset] = presetStartItemText(config, clock);
  } else if (start == kStartWithDialOut) {
    if (auto text = storedDialOutItemText(config, clock)) startBox.items[kStartWithDialOut] = *text;
  } else {
    startBox.items[kStartPreset] = std::string(presetStartPlaceholder());
    config.setDialOutKind(kDialOutNone);
  }

  for (int ch = 1; ch <= kChannelCount; ++ch) {
    onOffCaptions[slot(ch)] = std::string(config.channelOn(ch) ? kOnCaption : kOffCaption);
    const char code = config.scaleCode(ch);
    selectScalingFromCode(ch, code, code == '1' ? config.tableName(ch) : config.scaleText(ch));
    channelDescriptions[slot(ch)] = editText(config.channelDescription(ch), kDescriptionWidth);
  }
  sessionDescription = editText(config.sessionDescription(), kSessionWidth);
  selectInputsFromWord(config.inputModes());

  rateBox.index = rateItemOfCode(config.rateCode());
  const std::uint8_t resolution = config.resolution();
  resolutionBox.visible = resolution >= 1 && resolution <= 3;
  if (resolutionBox.visible) resolutionBox.index = resolution - 1;
  recomputeDuration();

  rememberScalingSelections();
  clearModified();
}

void SetupModel::populateFromStatus(const StatusSetupView& status) {
  fileNameLabel = std::string(kLastStatusLabel);
  for (int ch = 1; ch <= kChannelCount; ++ch) {
    const bool on = (status.channelBits >> (ch - 1)) & 1;
    onOffCaptions[slot(ch)] = std::string(on ? kOnCaption : kOffCaption);
    channelDescriptions[slot(ch)] = editText(status.descriptions[slot(ch)], kDescriptionWidth);
    const char code = status.typeCodes[slot(ch)];
    // A record names a table padded with blanks; the name is what precedes them.
    const std::string& record = status.channelRecords[slot(ch)];
    selectScalingFromCode(ch, code, code == '1' ? editText(record, config_layout::kTableNameWidth) : record);
  }
  sessionDescription = editText(status.session, kSessionWidth);
  selectInputsFromWord(status.inputModes);
  rateBox.index = rateItemOfCode(status.rateCode);

  startBox.index = (status.flags & 16) ? kStartOnChannel : kStartImmediate;
  startBox.items[kStartPreset] = std::string(presetStartResourceText());
  runBox.index = (status.flags & 32) ? kStopOnChannel : (status.flags & 1) ? kStopNever : kStopAtMemoryEnd;

  if (status.modelCode == '5') modelBox.index = kModelItemKaldo;
  else if (status.modelCode == '6') modelBox.index = kModelItemKaldoM;
  else modelBox.index = status.twelveBit ? 2 : status.tenBit ? 1 : 0;
  resolutionBox.visible = modelHasResolutionChoice(modelBox.index);
  resolutionBox.index = status.twelveBit ? 0 : status.tenBit ? 1 : 2;
  recomputeDuration();

  rememberScalingSelections();
  clearModified();
}

void SetupModel::collect(LoggerConfiguration& config) const {
  config.setModes(startBox.index, runBox.index);
  if (startBox.index != kStartWithDialOut) config.setDialOutKind(kDialOutNone);

  for (int ch = 1; ch <= kChannelCount; ++ch) {
    config.setChannelOn(ch, onOffCaptions[slot(ch)] != kOffCaption);
    const BoxState& box = scalingBoxes[slot(ch)];
    const auto code = scaleCodeOfItem(ch, box.index);
    if (code) {
      config.setScaleCode(ch, *code);
      if (box.index == kScaleItemLinear) config.setScaleText(ch, scaleTextOfItem(box.text(), kLinearPrefix));
      else if (box.index == kScaleItemContact) config.setScaleText(ch, scaleTextOfItem(box.text(), kContactPrefix));
      else if (box.index == kScaleItemTable) config.setTableName(ch, tableNameOfItem(box.text()));
    }
    config.setChannelDescription(ch, channelDescriptions[slot(ch)]);
  }

  config.setRateCode(rateCodeOfItem(rateBox.index));
  config.setResolution(modelHasResolutionChoice(modelBox.index) ? static_cast<std::uint8_t>(resolutionBox.index + 1)
                                                                : kResolutionNotApplicable);
  config.setSessionDescription(sessionDescription);

  std::uint16_t word = 0;
  for (int ch = 1; ch <= kChannelCount; ++ch)
    word = protocol::withInputMode(word, ch, inputModeOfItem(ch, inputBoxes[slot(ch)].index));
  config.setInputModes(word);
}

void SetupModel::selectRate(int index) {
  select(rateBox, index);
  markModified();
  recomputeDuration();
}

void SetupModel::selectStop(int index) {
  select(runBox, index);
  markModified();
}

StartAction SetupModel::selectStart(int index) {
  select(startBox, index);
  markModified();
  if (index == kStartWithDialOut) return StartAction::DialOutDialog;
  if (index == kStartPreset) return StartAction::PresetDialog;
  return StartAction::None;
}

void SetupModel::selectInput(int channel, int index) {
  if (!validChannel(channel)) return;
  select(inputBoxes[slot(channel)], index);
  markModified();
}

void SetupModel::setChannelDescription(int channel, std::string_view text) {
  if (!validChannel(channel)) return;
  channelDescriptions[slot(channel)] = cut(text, kDescriptionWidth);
  markModified();
}

void SetupModel::setSessionDescription(std::string_view text) {
  sessionDescription = cut(text, kSessionWidth);
  markModified();
}

void SetupModel::toggleChannel(int channel) {
  if (!validChannel(channel)) return;
  std::string& caption = onOffCaptions[slot(channel)];
  caption = std::string(caption == kOffCaption ? kOnCaption : kOffCaption);
  markModified();
  recomputeDuration();
}

void SetupModel::selectResolution(int index, LoggerConfiguration& config) {
  select(resolutionBox, index);
  config.setResolution(static_cast<std::uint8_t>(resolutionBox.index + 1));
  markModified();
  recomputeDuration();
}

void SetupModel::setStationAddress(int address) { stationAddress = std::clamp(address, 0, 255); }

void SetupModel::selectModel(int index, LoggerConfiguration& config) {
  select(modelBox, index);
  resolutionBox.visible = modelHasResolutionChoice(modelBox.index);
  config.setResolution(resolutionBox.visible ? static_cast<std::uint8_t>(resolutionBox.index + 1)
                                             : kResolutionNotApplicable);
  markModified();
  recomputeDuration();
}

ScalingAction SetupModel::selectScaling(int channel, int index) {
  if (!validChannel(channel)) return ScalingAction::None;
  editedChannel_ = channel;
  select(scalingBoxes[slot(channel)], index);
  markModified();
  switch (index) {
    case kScaleItemNewLinear: return ScalingAction::LinearDialog;
    case kScaleItemNewContact: return ScalingAction::ContactDialog;
    case kScaleItemChooseTable: return ScalingAction::TableChooser;
    default:
      if (validIndex(scalingBoxes[slot(channel)], index)) remembered_[slot(channel)] = index;
      return ScalingAction::None;
  }
}

void SetupModel::linearAccepted(const ScalePair& pair) {
  BoxState& box = scalingBoxes[slot(editedChannel_)];
  box.items[kScaleItemLinear] = linearItemText(pair);
  box.index = kScaleItemLinear;
  remembered_[slot(editedChannel_)] = kScaleItemLinear;
}

void SetupModel::contactAccepted(const ScalePair& pair) {
  BoxState& box = scalingBoxes[slot(editedChannel_)];
  box.items[kScaleItemContact] = contactItemText(pair);
  box.index = kScaleItemContact;
  remembered_[slot(editedChannel_)] = kScaleItemContact;
}

void SetupModel::tableChosen(std::string_view fileName) {
  BoxState& box = scalingBoxes[slot(editedChannel_)];
  box.items[kScaleItemTable] = tableItemText(fileName);
  box.index = kScaleItemTable;
  remembered_[slot(editedChannel_)] = kScaleItemTable;
}

void SetupModel::scalingDialogCancelled() {
  for (int ch = 1; ch <= kChannelCount; ++ch) scalingBoxes[slot(ch)].index = remembered_[slot(ch)];
}

void SetupModel::presetStartChosen(std::string itemText) {
  startBox.items[kStartPreset] = std::move(itemText);
  startBox.index = kStartPreset;
}

void SetupModel::dialOutChosen(std::string itemText) {
  startBox.items[kStartWithDialOut] = std::move(itemText);
  startBox.index = kStartWithDialOut;
}

void SetupModel::dateDialogCancelled(const LoggerConfiguration& config) {
  const int start = config.startMode();
  startBox.index = start <= kStartWithDialOut ? start : kStartImmediate;
}

void SetupModel::recomputeDuration() {
  int on = 0;
  for (const std::string& caption : onOffCaptions) on += caption != kOffCaption ? 1 : 0;
  durationText = setup::durationText(memoryReadings(), on, rateCodeOfItem(rateBox.index),
                                     modelHasResolutionChoice(modelBox.index));
}

std::string durationText(std::int32_t memoryReadings, int channelsOn, char rateCode, bool correctApproximateRates) {
  if (channelsOn <= 0) return "0";
  float interval = protocol::rateInterval(rateCode);
  if (correctApproximateRates) interval = protocol::correctedInterval(interval);
  const double minutes = static_cast<double>(memoryReadings) / channelsOn * static_cast<double>(interval);
  double value = 0;
  const char* unit = "";
  if (minutes < 1) { value = minutes * 60; unit = " secs  "; }
  else if (minutes < 60) { value = minutes; unit = " mins  "; }
  else if (minutes < 2880) { value = minutes / 60; unit = " heure "; }
  else if (minutes < 86400) { value = minutes / 1440; unit = " Jour  "; }
  else if (minutes <= 1576972.8) { value = minutes / 43804.8; unit = " mois  "; }
  else { value = minutes / 525600; unit = " ans   "; }
  char buf[48];
  std::snprintf(buf, sizeof buf, "%4.1f", value);
  return std::string(buf) + unit;
}

}  // namespace brevik::setup
