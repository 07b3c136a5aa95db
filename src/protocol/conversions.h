#pragma once
// Raw counts into engineering units. One UnitConverter holds what the
// conversions of a logger or data file share: the four channel tables, the
// type codes and input modes, the reference resistor, the full scale, the
// last temperatures of channels 1 and 2 (cold junction and humidity
// compensation) and the unit settings. Converting a sample allocates nothing.

#include <array>
#include <cstdint>

#include "protocol/channel_table.h"
#include "protocol/humidity.h"

namespace brevik::protocol {

inline constexpr float kOpenCircuitOhms = 7000000.0f;
inline constexpr float kOpenValue = -100.0f;  // what an open resistive sensor reads

struct UnitSettings {
  bool fahrenheit = false;  // FahrenheitUnits
  HumidityMode humidityMode = HumidityMode::RelativeHumidity;
};

class UnitConverter {
 public:
  void setSettings(UnitSettings settings) { settings_ = settings; }
  const UnitSettings& settings() const { return settings_; }

  void setTypeCodes(const std::array<char, kChannelCount>& types) { types_ = types; }
  void setInputModes(std::uint16_t word) { inputModes_ = word; }
  void setTables(const ChannelTables& tables) { tables_ = tables; }
  void setReferenceResistor(float ohms) { rref_ = ohms; }
  void setFullScale(int counts) { fullScale_ = counts; }

  const ChannelTable& table(int channel) const;
  char typeCode(int channel) const;
  int fullScale() const { return fullScale_; }
  float referenceResistor() const { return rref_; }

  // The value of a raw count of channel 1-4, in degrees Celsius for
  // temperatures (dew point and wet bulb follow the Fahrenheit setting).
  // A count equal to the full scale is lowered by one, in the caller's copy
  // too. Updates the last temperatures of channels 1 and 2 and the humidity
  // marks of channels 3 and 4.
  float convert(std::uint16_t& raw, int channel);
  float convert(int raw, int channel);

  // The input-column value for an output value of a channel's table.
  float reverseLookup(int channel, float value) const;

  // Whether a converted value of the channel is shown in Fahrenheit: the
  // setting is on and the channel is neither scaled, linear-kind, humidity,
  // of type 'R' nor of type 'X'.
  bool showsFahrenheit(int channel) const;
  float toDisplayUnits(float value, int channel) const;

  // Set while channel 3 or 4 converts as relative humidity (2 decimals).
  bool humidityMark(int channel) const;

  float lastChannel1() const { return t1_; }
  float lastChannel2() const { return t2_; }
  void setLastTemperatures(float t1, float t2) {
    t1_ = t1;
    t2_ = t2;
  }

 private:
  float lookup(const ChannelTable& t, float x, bool resistiveStarts) const;

  UnitSettings settings_;
  ChannelTables tables_{};
  std::array<char, kChannelCount> types_{'0', '0', '0', '0'};
  std::uint16_t inputModes_ = 0;
  float rref_ = 30100.0f;
  int fullScale_ = 255;
  float t1_ = 0.0f;
  float t2_ = 0.0f;
  std::array<bool, kChannelCount> humidity_{};
};

}  // namespace brevik::protocol
