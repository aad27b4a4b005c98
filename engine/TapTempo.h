// Tap tempo: turns the times of a series of taps into a whole tempo in bpm.
// Pure arithmetic over the caller's clock, so that a key, a button and a
// test's synthetic timestamps all give the same answer.
#pragma once

#include <cstdint>

class LTapTempo {
 public:
  static constexpr int kMaxIntervals = 8;
  static constexpr int64_t kPauseUs = 2000000;  // a longer gap starts a new series
  static constexpr int kMinTempo = 10;
  static constexpr int kMaxTempo = 280;

  // Records a tap at timeUs (microseconds of a monotonic clock) and returns
  // the tempo of the series so far, or 0 while it holds a single tap. A tap
  // more than 2 s after the last one, or earlier than it (a clock that went
  // backwards), starts a new series; a tap at the very same time as the last
  // is a repeat of it and changes nothing.
  int Tap(int64_t timeUs);
  void Reset() { m_count = 0; }
  int Tempo() const;
  int Taps() const { return m_count; }

 private:
  // The newest kMaxIntervals + 1 tap times, oldest first.
  int64_t m_times[kMaxIntervals + 1] = {};
  int m_count = 0;
};
