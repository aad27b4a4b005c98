#include "engine/BeatLog.h"

#include <algorithm>

int LLoggedBeat::Phase(int64_t at, int scale) const {
  const int64_t into = std::clamp<int64_t>(at - frame, 0, frames - 1);
  return static_cast<int>(into * scale / std::max<int64_t>(frames, 1));
}

void LBeatLog::Publish(const LLoggedBeat& b) {
  LLoggedBeat logged = b;
  logged.frames = std::max<int64_t>(b.frames, 1);
  m_history.Publish(logged);
}

bool LBeatLog::Find(int64_t frame, LLoggedBeat& out) const { return m_history.Find(frame, out); }
