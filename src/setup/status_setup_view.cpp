#include "setup/status_setup_view.h"

namespace brevik::setup {

StatusSetupView statusSetupView(const protocol::LoggerStatus& status) {
  setup::StatusSetupView view;
  view.flags = status.flags;
  view.channelBits = status.channelBits;
  view.inputModes = status.inputModes;
  view.rateCode = status.rateCode;
  view.typeCodes = status.typeCodes;
  view.channelRecords = status.channelRecords;
  view.descriptions = status.descriptions;
  view.session = status.session;
  view.modelCode = status.modelCode;
  view.twelveBit = status.twelveBit;
  view.tenBit = status.tenBit;
  return view;
}

}  // namespace brevik::setup
