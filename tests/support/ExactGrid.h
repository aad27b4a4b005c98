// Where click k of a grid starts, by the rule itself rather than the
// engine's integer arithmetic: round(k * 60 * rate / (bpm * clicksPerBeat)),
// halves up, in long double (a 64-bit mantissa holds every product exactly).
#pragma once

#include <cmath>
#include <cstdint>

namespace test {

inline int64_t ExactClick(int64_t k, int rate, int bpm, int clicksPerBeat) {
  return static_cast<int64_t>(
      floorl(static_cast<long double>(k) * 60 * rate / (static_cast<long double>(bpm) * clicksPerBeat) + 0.5L));
}

}  // namespace test
