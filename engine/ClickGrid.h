// The exact click grid: where every click of a stretch of constant tempo
// starts, in frames, with no error that grows with the length of play.
//
// Click k of a segment starts at
//     startFrame + round(k * 60 * rate / (bpm * clicksPerBeat))
// (halves round up), computed in 64-bit integers. Slot lengths therefore
// differ by at most one frame from slot to slot, and every click lies within
// half a frame of its exact time however long the segment plays.
//
// Bounds: the largest intermediate is 2 * k * 60 * rate. At 280 bpm with 8
// clicks a beat (2240 clicks a minute) and 384000 Hz, 24 hours are
// k = 3225600 clicks, so 2 * k * 60 * rate = 1.5e14, far below 2^63 = 9.2e18;
// the arithmetic stays exact for k up to 2^63 / (120 * rate) = 2e11 clicks at
// that rate, about 170 years of play. Frames themselves stay below 2^63 / 2.
#pragma once

#include <cstdint>

struct LClickSegment {
  static constexpr int kMaxRate = 384000;
  static constexpr int kMaxBpm = 1000;
  static constexpr int kMaxClicksPerBeat = 16;

  int64_t startFrame = 0;  // frame of click 0
  int bpm = 120;
  int clicksPerBeat = 1;
  int rate = 44100;  // frames per second

  // A segment whose values are clamped into the ranges above (bpm and
  // clicks per beat at least 1, rate 1..kMaxRate): values from a file or a
  // user never make the arithmetic divide by zero or overflow.
  static LClickSegment Make(int64_t startFrame, int bpm, int clicksPerBeat, int rate);

  // Start frame of click k (k >= 0).
  int64_t ClickFrame(int64_t k) const;
  // Start frame of beat b (its first click).
  int64_t BeatFrame(int64_t b) const { return ClickFrame(b * clicksPerBeat); }
  // Index of the click sounding at frame: the last click starting at or
  // before it; -1 before the segment's start.
  int64_t ClickAt(int64_t frame) const;
  // Clicks a minute: the denominator of the rule above.
  int64_t ClicksPerMinute() const { return static_cast<int64_t>(bpm) * clicksPerBeat; }
};
