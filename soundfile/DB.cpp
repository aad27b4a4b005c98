#include "soundfile/DB.h"

#include <cmath>

namespace {
int ToFixed824(double factor) {
  const double v = factor * 16777216.0 + 0.5;
  return v < 2147483647.0 ? static_cast<int>(v) : 2147483647;
}
}  // namespace

LdBTablesClass::LdBTablesClass() {
  m_amplitude[0] = m_amplitude[1] = 0;
  m_power[0] = m_power[1] = 0;
  for (int d = -126; d <= 127; ++d) {
    m_amplitude[d + 128] = ToFixed824(std::pow(10.0, d / 20.0));
    m_power[d + 128] = ToFixed824(std::pow(10.0, d / 10.0));
  }
}

const LdBTablesClass& LdB<signed char>::GetTable() {
  // Built on first use (on the main thread, before any audio thread exists).
  static const LdBTablesClass* table = new LdBTablesClass();
  return *table;
}

double LdB<signed char>::GetLinFloat() const { return std::pow(10.0, m_level / 20.0); }

void LdB<signed char>::SetLinFloat(double x) {
  if (!(x > 0.0)) {
    // Zero, negative and NaN factors are silence; a NaN level would have no
    // byte to round to.
    m_level = -127;
    return;
  }
  double d = 20.0 * std::log10(x);
  if (d > 127.0) d = 127.0;
  if (!(d > -127.0)) d = -127.0;
  m_level = static_cast<signed char>(std::lround(d));
}
