#include "protocol/humidity.h"

#include <algorithm>
#include <cmath>

namespace brevik::protocol {

namespace {

constexpr float kSaturationBase = 0.61078f;

// The formulas hold for -40..85 °C and never see a humidity of 0 (the
// logarithm of the vapour pressure would have no value).
struct VapourState {
  float temperature;  // limited
  float vapourPressure;
  float dewPoint;
};

VapourState vapourState(float temperatureCelsius, float rh) {
  const float t = std::clamp(temperatureCelsius, -40.0f, 85.0f);
  const float h = rh > 0.01f ? rh : 0.01f;
  const float es = kSaturationBase * std::exp(17.294f * t / (238.3f + t));
  const float e = es * h / 100.0f;
  const float l = std::log(e / kSaturationBase);
  return {t, e, 238.3f * l / (17.294f - l)};
}

}  // namespace

HumidityMode humidityModeFromSetting(int value) {
  if (value == 1) return HumidityMode::DewPoint;
  if (value == 2) return HumidityMode::WetBulb;
  return HumidityMode::RelativeHumidity;
}

float relativeHumidity(float rawHumidity, float temperatureCelsius) {
  const float tf = celsiusToFahrenheit(temperatureCelsius);
  const float rh = rawHumidity / (1.093f - 0.0012f * tf);
  return std::clamp(rh, 0.0f, 100.0f);
}

float dewPoint(float temperatureCelsius, float relativeHumidityPercent) {
  return vapourState(temperatureCelsius, relativeHumidityPercent).dewPoint;
}

float wetBulb(float temperatureCelsius, float relativeHumidityPercent) {
  const VapourState s = vapourState(temperatureCelsius, relativeHumidityPercent);
  const float d = 4098.0f * s.vapourPressure / ((237.3f + s.dewPoint) * (237.3f + s.dewPoint));
  return (0.066858f * s.temperature + d * s.dewPoint) / (0.066858f + d);
}

float celsiusToFahrenheit(float celsius) { return celsius * 9.0f / 5.0f + 32.0f; }

}  // namespace brevik::protocol
