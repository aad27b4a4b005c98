#include "engine/BeatLog.h"

#include <algorithm>

int LLoggedBeat::Phase(int64_t at, int scale) const {
  const int64_t into = std::clamp<int64_t>(at - frame, 0, frames - 1);
  return static_cast<int>(into * scale / std::max<int64_t>(frames, 1));
}

void LBeatLog::Publish(const LLoggedBeat& b) {
  const int64_t n = m_published.load(std::memory_order_relaxed);
  Slot& s = m_slots[static_cast<size_t>(n % kHistory)];
  const uint32_t seq = s.seq.load(std::memory_order_relaxed);
  s.seq.store(seq + 1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  s.index.store(b.index, std::memory_order_relaxed);
  s.frame.store(b.frame, std::memory_order_relaxed);
  s.frames.store(std::max<int64_t>(b.frames, 1), std::memory_order_relaxed);
  s.bpm.store(b.bpm, std::memory_order_relaxed);
  s.seq.store(seq + 2, std::memory_order_release);
  m_published.store(n + 1, std::memory_order_release);
}

bool LBeatLog::Find(int64_t frame, LLoggedBeat& out) const {
  const int64_t n = m_published.load(std::memory_order_acquire);
  // Newest first; the oldest slot may be under rewrite, which its sequence
  // number shows.
  for (int64_t i = n - 1; i >= 0 && i >= n - kHistory; --i) {
    const Slot& s = m_slots[static_cast<size_t>(i % kHistory)];
    const uint32_t before = s.seq.load(std::memory_order_acquire);
    if (before & 1) continue;
    LLoggedBeat b;
    b.index = s.index.load(std::memory_order_relaxed);
    b.frame = s.frame.load(std::memory_order_relaxed);
    b.frames = s.frames.load(std::memory_order_relaxed);
    b.bpm = s.bpm.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (s.seq.load(std::memory_order_relaxed) != before || b.frame > frame) continue;
    out = b;
    return true;
  }
  return false;
}
