#pragma once
// Relative humidity of a Temp/RH pair and the two values derived from it.
// Temperatures in and out are degrees Celsius, humidity in percent.

namespace brevik::protocol {

enum class HumidityMode { RelativeHumidity = 0, DewPoint = 1, WetBulb = 2 };

HumidityMode humidityModeFromSetting(int value);

// The sensor's raw humidity compensated by the paired temperature, held to 0..100 %.
float relativeHumidity(float rawHumidity, float temperatureCelsius);

float dewPoint(float temperatureCelsius, float relativeHumidityPercent);
float wetBulb(float temperatureCelsius, float relativeHumidityPercent);

float celsiusToFahrenheit(float celsius);

}  // namespace brevik::protocol
