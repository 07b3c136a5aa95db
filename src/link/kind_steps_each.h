#pragma once
// The steps of each kind, made by makeKindSteps.

#include <memory>

#include "link/kind_steps.h"

namespace brevik::link {

// status_kinds.cpp: the kinds that begin with a status read.
std::unique_ptr<KindSteps> makeStatusSteps(ExchangeEngine& engine);
std::unique_ptr<KindSteps> makeReceiveSteps(ExchangeEngine& engine);
std::unique_ptr<KindSteps> makeRealTimeSteps(ExchangeEngine& engine);
// configuration_kinds.cpp: the kinds that change the logger.
std::unique_ptr<KindSteps> makeSendSetupSteps(ExchangeEngine& engine);
std::unique_ptr<KindSteps> makeStationAddressSteps(ExchangeEngine& engine);
std::unique_ptr<KindSteps> makeChangeBaudSteps(ExchangeEngine& engine);

}  // namespace brevik::link
