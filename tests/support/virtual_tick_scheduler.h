#pragma once
// Tests drive the link in virtual time with the same scheduler that
// `kaldo --port sim` uses.

#include "link/virtual_ticks.h"

namespace brevik::testing {

using VirtualTickScheduler = link::VirtualTicks;

}  // namespace brevik::testing
