#include "protocol/conversions.h"

#include "protocol/vocabulary.h"

namespace brevik::protocol {

namespace {

constexpr int kResistiveFirstStart = 55;
constexpr int kResistiveStep = 12;
constexpr int kResistiveLastStart = 151;
constexpr int kThermocoupleStep = 50;
constexpr int kThermocoupleLastStart = 200;

bool validChannel(int channel) { return channel >= 1 && channel <= kChannelCount; }
std::size_t slot(int channel) { return static_cast<std::size_t>(channel - 1); }
std::size_t row(int i) { return static_cast<std::size_t>(i); }

// The thermocouple signal of a reading in volts, by the input range.
float rangeTerm(int range, float volts) {
  switch (range) {
    case 1: return (volts - 2.5f) * 19.6f;
    case 3: return (volts - 2.5f) * 9.9f;
    default: return volts * 10.0f;
  }
}

}  // namespace

const ChannelTable& UnitConverter::table(int channel) const {
  static const ChannelTable kNone{};
  return validChannel(channel) ? tables_[slot(channel)] : kNone;
}

char UnitConverter::typeCode(int channel) const { return validChannel(channel) ? types_[slot(channel)] : '0'; }

bool UnitConverter::humidityMark(int channel) const { return validChannel(channel) && humidity_[slot(channel)]; }

float UnitConverter::convert(int raw, int channel) {
  std::uint16_t copy = raw < 0 ? std::uint16_t{0} : raw > 0xFFFF ? std::uint16_t{0xFFFF} : static_cast<std::uint16_t>(raw);
  return convert(copy, channel);
}

float UnitConverter::convert(std::uint16_t& raw, int channel) {
  if (!validChannel(channel)) return 0.0f;
  const std::size_t c = slot(channel);
  if (channel >= 3) humidity_[c] = false;
  const char type = types_[c];
  const ChannelKind kind = classifyChannelType(type);
  if (kind == ChannelKind::Off || kind == ChannelKind::Unknown) return 0.0f;
  const ChannelTable& t = tables_[c];

  float x = 0.0f;
  bool resistiveStarts = true;
  if (t.scaled || kind == ChannelKind::Contact) {
    x = static_cast<float>(raw);
  } else {
    if (fullScale_ <= 0) return 0.0f;
    if (raw == fullScale_) --raw;
    const float v = static_cast<float>(raw) * 5.0f / static_cast<float>(fullScale_);
    if (kind == ChannelKind::Thermocouple) {
      const auto info = thermocouple(type);
      x = reverseLookup(channel, t1_) + rangeTerm(info ? info->range : 2, v);
      resistiveStarts = false;
    } else {
      // Every remaining kind is a resistive sensor read through the reference resistor.
      const float r = rref_ * v / (5.0f - v);
      if (r >= kOpenCircuitOhms) return kind == ChannelKind::Light ? 0.0f : kOpenValue;
      if (kind == ChannelKind::Resistance) return r;
      x = r;
    }
  }

  const float y = lookup(t, x, resistiveStarts);
  if (channel == 1) {
    t1_ = y;
    return y;
  }
  if (channel == 2) {
    t2_ = y;
    return y;
  }
  const int partner = channel - 2;
  if (inputModeOf(inputModes_, channel) != kInputModeTempRh || inputModeOf(inputModes_, partner) != kInputModeTempRh)
    return y;
  const float temperature = partner == 1 ? t1_ : t2_;
  const float rh = relativeHumidity(y, temperature);
  humidity_[c] = true;
  float derived = rh;
  switch (settings_.humidityMode) {
    case HumidityMode::DewPoint: derived = dewPoint(temperature, rh); break;
    case HumidityMode::WetBulb: derived = wetBulb(temperature, rh); break;
    case HumidityMode::RelativeHumidity: return rh;
  }
  return settings_.fahrenheit ? celsiusToFahrenheit(derived) : derived;
}

float UnitConverter::lookup(const ChannelTable& t, float x, bool resistiveStarts) const {
  const int n = t.count;
  if (n < 2) return 0.0f;
  const auto& in = t.in;
  const auto& out = t.out;
  int segment = 1;
  if (in[1] != 0.0f) {
    int start = 1;
    if (resistiveStarts) {
      if (n >= kResistiveFirstStart) {
        start = kResistiveLastStart;
        int previous = 1;
        for (int k = kResistiveFirstStart; k <= kResistiveLastStart; k += kResistiveStep) {
          if (x >= in[row(k)]) {
            start = previous;
            break;
          }
          previous = k;
        }
      }
    } else {
      for (int k = kThermocoupleStep; k <= kThermocoupleLastStart; k += kThermocoupleStep)
        if (n >= k && x < in[row(k)]) start = k;
    }
    // A start at or past the last segment (a short table whose unused rows
    // read 0) would scan beyond the table: the last segment is the answer.
    if (start >= n - 1) {
      segment = n - 1;
    } else {
      int i = start;
      for (;;) {
        ++i;
        if (x >= in[row(i)]) {
          segment = i - 1;
          break;
        }
        if (i >= n - 1) {
          segment = n - 1;
          break;
        }
      }
    }
  }
  const float inLow = in[row(segment)];
  const float inHigh = in[row(segment + 1)];
  const float outLow = out[row(segment)];
  const float outHigh = out[row(segment + 1)];
  if (inHigh == inLow) return outLow;  // a repeated row would divide by zero
  return outLow + (outHigh - outLow) * (x - inLow) / (inHigh - inLow);
}

float UnitConverter::reverseLookup(int channel, float value) const {
  const ChannelTable& t = table(channel);
  const int n = t.count;
  if (n < 2) return 0.0f;
  int i = n;
  do {
    --i;
  } while (!(value < t.out[row(i)]) && i != 1);
  const float outLow = t.out[row(i)];
  const float outHigh = t.out[row(i + 1)];
  if (outHigh == outLow) return t.in[row(i)];
  return t.in[row(i)] + (t.in[row(i + 1)] - t.in[row(i)]) * (value - outLow) / (outHigh - outLow);
}

bool UnitConverter::showsFahrenheit(int channel) const {
  if (!settings_.fahrenheit || !validChannel(channel)) return false;
  const ChannelTable& t = tables_[slot(channel)];
  const char type = types_[slot(channel)];
  // A humidity channel already carries its final unit (percent, or a dew
  // point or wet bulb already in the chosen unit).
  return !t.scaled && !t.linearKind && !humidity_[slot(channel)] && type != 'R' && type != 'X';
}

float UnitConverter::toDisplayUnits(float value, int channel) const {
  return showsFahrenheit(channel) ? celsiusToFahrenheit(value) : value;
}

}  // namespace brevik::protocol
