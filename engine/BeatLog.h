// The latest beats a click track has begun, for other threads to find the
// beat that is heard at a given track frame (the swinging light, the tempo
// display). The worker publishes each beat as it renders it, ahead of the
// device; readers look up the frame the listener hears now.
//
// One writer (the worker, allocates nothing, never blocks), any number of
// readers (see LFrameHistory).
#pragma once

#include <cstdint>

#include "engine/FrameHistory.h"

struct LLoggedBeat {
  int64_t index = -1;  // beats since the track started; -1 = none
  int64_t frame = 0;   // track frame of the beat's first click
  int64_t frames = 1;  // the beat's length in frames, at least 1
  int bpm = 0;
  // Where frame lies in this beat, in 1/scale of the beat: 0 on its first
  // frame, scale - 1 at most (a frame past the beat reads as its end).
  int Phase(int64_t at, int scale) const;
};

class LBeatLog {
 public:
  static constexpr int kHistory = 64;  // beats; more than the ring holds at any tempo

  // Worker thread.
  void Publish(const LLoggedBeat& beat);
  // Any thread: the latest published beat starting at or before frame;
  // false when there is none among the last kHistory.
  bool Find(int64_t frame, LLoggedBeat& out) const;

 private:
  LFrameHistory<LLoggedBeat, kHistory> m_history;
};
