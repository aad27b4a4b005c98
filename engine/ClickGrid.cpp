#include "engine/ClickGrid.h"

#include <algorithm>

LClickSegment LClickSegment::Make(int64_t startFrame, int bpm, int clicksPerBeat, int rate) {
  LClickSegment s;
  s.startFrame = std::max<int64_t>(startFrame, 0);
  s.bpm = std::clamp(bpm, 1, kMaxBpm);
  s.clicksPerBeat = std::clamp(clicksPerBeat, 1, kMaxClicksPerBeat);
  s.rate = std::clamp(rate, 1, kMaxRate);
  return s;
}

int64_t LClickSegment::ClickFrame(int64_t k) const {
  // round(k * 60 * rate / d) = floor((2 * k * 60 * rate + d) / (2 * d)).
  const int64_t d = ClicksPerMinute();
  return startFrame + (2 * k * 60 * rate + d) / (2 * d);
}

int64_t LClickSegment::ClickAt(int64_t frame) const {
  if (frame < startFrame) return -1;
  // ClickFrame(k) <= f  <=>  2 * k * 60 * rate + d < 2 * d * (f + 1)
  //                     <=>  k * 120 * rate <= 2 * d * f + d - 1.
  const int64_t d = ClicksPerMinute();
  const int64_t f = frame - startFrame;
  return (2 * d * f + d - 1) / (120 * static_cast<int64_t>(rate));
}
