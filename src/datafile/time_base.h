#pragma once
// The time base of an image-form data file: how many minutes lie between
// two samples. The rate code gives a nominal interval; the approximate fast
// rates are corrected (wrap mode, where the clock cannot tell) or recomputed
// from the First and Last stamps (where it can).

#include <cstddef>

namespace brevik::datafile {

// Wrap mode, loggers of model code above '4': the approximate rates of about
// 2, 4 and 6 seconds run at 2.3, 4.6 and 6.9 seconds. Other rates unchanged.
double wrapCorrectedRate(double rate, char modelCode);

// Outside wrap mode, an approximate fast rate (0.025 < rate < 0.125) over a
// span of more than a minute is measured from the clock: span over the
// samples recorded. `earlierBanks` full banks of `fullBankSamples` per
// channel precede the last bank's `samples`. Other rates, or no samples,
// leave the rate unchanged.
double recomputedRate(double rate, double spanMinutes, std::size_t samples, int earlierBanks,
                      double fullBankSamples);

// Whether a rate is one of the approximate fast rates.
bool isApproximateRate(double rate);

}  // namespace brevik::datafile
