// Levels in whole decibels held in one signed byte, converted to linear
// factors by table look-up. -127 is the floor and means silence.
#pragma once

template <typename T>
class LdB;

// Amplitude and power tables for levels -128..127, in 8.24 fixed point
// (16777216 = 1.0 = 0 dB), capped at 2147483647; -128 and -127 give 0.
class LdBTablesClass {
 public:
  LdBTablesClass();
  int Amplitude(int level) const { return m_amplitude[Index(level)]; }
  int Power(int level) const { return m_power[Index(level)]; }

 private:
  static int Index(int level) { return (level < -128 ? -128 : level > 127 ? 127 : level) + 128; }
  int m_amplitude[256];
  int m_power[256];
};

template <>
class LdB<signed char> {
 public:
  LdB() = default;
  // Callers clamp to -127..127 before storing.
  LdB(int level) : m_level(static_cast<signed char>(level)) {}  // NOLINT: plain value type

  // The process's one table set; created on first use, never freed.
  static const LdBTablesClass& GetTable();

  signed char Get() const { return m_level; }
  // Linear amplitude factor, 8.24 fixed point.
  int GetLin() const { return GetTable().Amplitude(m_level); }
  // 10^(d/20) computed directly (-127 dB gives about 4.5e-7, not 0).
  double GetLinFloat() const;
  // Nearest whole level of a linear factor, limited to -127..127.
  void SetLinFloat(double x);

  bool operator==(const LdB& other) const { return m_level == other.m_level; }
  bool operator!=(const LdB& other) const { return m_level != other.m_level; }

 private:
  signed char m_level = 0;
};

using LdBLevel = LdB<signed char>;

// A level per channel for up to 256 channels.
template <typename T>
class LDBMultiChannel {
 public:
  LDBMultiChannel() = default;
  LDBMultiChannel(const LDBMultiChannel& other) { *this = other; }
  // Copies the count and the first count levels; all other levels become 0.
  LDBMultiChannel& operator=(const LDBMultiChannel& other) {
    if (this == &other) return *this;
    m_count = other.m_count;
    for (int i = 0; i < 256; ++i) m_levels[i] = i < m_count ? other.m_levels[i] : T();
    return *this;
  }
  unsigned char GetCount() const { return m_count; }
  void SetCount(unsigned char count) { m_count = count; }
  T& operator[](int channel) { return m_levels[channel & 255]; }
  const T& operator[](int channel) const { return m_levels[channel & 255]; }

 private:
  unsigned char m_count = 0;
  T m_levels[256] = {};
};
