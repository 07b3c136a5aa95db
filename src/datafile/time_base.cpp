#include "datafile/time_base.h"

#include <cmath>

#include "protocol/vocabulary.h"

namespace brevik::datafile {

bool isApproximateRate(double rate) { return rate > 0.025 && rate < 0.125; }

double wrapCorrectedRate(double rate, char modelCode) {
  if (!isApproximateRate(rate) || protocol::byteOf(modelCode) <= protocol::byteOf('4')) return rate;
  const float corrected = protocol::correctedInterval(static_cast<float>(rate));
  if (static_cast<double>(corrected) == static_cast<double>(static_cast<float>(rate))) return rate;
  // The corrected intervals are whole tenths of a second; carry them in
  // double precision so that stamps thousands of samples on do not drift.
  return std::round(static_cast<double>(corrected) * 600.0) / 600.0;
}

double recomputedRate(double rate, double spanMinutes, std::size_t samples, int earlierBanks,
                      double fullBankSamples) {
  if (!isApproximateRate(rate) || !(spanMinutes > 1.0)) return rate;
  const double recorded = earlierBanks * fullBankSamples + static_cast<double>(samples);
  if (!(recorded > 0.0)) return rate;
  return spanMinutes / recorded;
}

}  // namespace brevik::datafile
