#include "engine/TapTempo.h"

#include <algorithm>
#include <cmath>

int LTapTempo::Tap(int64_t timeUs) {
  if (m_count > 0) {
    const int64_t last = m_times[m_count - 1];
    if (timeUs == last) return Tempo();
    if (timeUs < last || timeUs - last > kPauseUs) m_count = 0;
  }
  if (m_count == kMaxIntervals + 1) {
    std::copy(m_times + 1, m_times + m_count, m_times);
    --m_count;
  }
  m_times[m_count++] = timeUs;
  return Tempo();
}

int LTapTempo::Tempo() const {
  const int n = m_count - 1;  // intervals
  if (n < 1) return 0;
  int64_t intervals[kMaxIntervals];
  for (int i = 0; i < n; ++i) intervals[i] = m_times[i + 1] - m_times[i];
  int64_t sorted[kMaxIntervals];
  std::copy(intervals, intervals + n, sorted);
  std::sort(sorted, sorted + n);
  // Twice the median, so that an even count stays in whole microseconds.
  const int64_t median2 = sorted[(n - 1) / 2] + sorted[n / 2];
  int64_t sum = 0;
  int kept = 0;
  for (int i = 0; i < n; ++i) {
    // |interval - median| <= 30 % of median, scaled by 20 to stay integral.
    const int64_t off = 20 * intervals[i] - 10 * median2;
    if (off * (off < 0 ? -1 : 1) > 3 * median2) continue;
    sum += intervals[i];
    ++kept;
  }
  // Two taps apart from each other leave nothing near their median: the
  // latest interval is the player's latest intent.
  const double mean = kept > 0 ? static_cast<double>(sum) / kept : static_cast<double>(intervals[n - 1]);
  const long bpm = std::lround(60e6 / mean);
  return static_cast<int>(std::clamp<long>(bpm, kMinTempo, kMaxTempo));
}
