// The latest N records one thread published, for other threads to look up
// by track frame: the beats a click track has begun, ahead of the device,
// found again at the frame the listener hears now.
//
// One writer (the worker: allocates nothing, never blocks), any number of
// readers. Each slot is a seqlock over the record's bytes held in atomic
// words, so a reader never sees half a record.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <type_traits>

// Record: trivially copyable, with an int64_t member `frame` (track frames).
template <typename Record, int N>
class LFrameHistory {
  static_assert(std::is_trivially_copyable_v<Record>);

 public:
  static constexpr int kHistory = N;

  // Writer thread.
  void Publish(const Record& r) {
    const int64_t n = m_published.load(std::memory_order_relaxed);
    Slot& s = m_slots[static_cast<size_t>(n % N)];
    const uint32_t seq = s.seq.load(std::memory_order_relaxed);
    s.seq.store(seq + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    Words w{};
    std::memcpy(w.data(), &r, sizeof(Record));
    for (size_t i = 0; i < kWords; ++i) s.words[i].store(w[i], std::memory_order_relaxed);
    s.seq.store(seq + 2, std::memory_order_release);
    m_published.store(n + 1, std::memory_order_release);
  }

  // Any thread: the latest record starting at or before frame among the
  // last N; false when there is none.
  bool Find(int64_t frame, Record& out) const {
    const int64_t n = m_published.load(std::memory_order_acquire);
    // Newest first; the oldest slot may be under rewrite, which its
    // sequence number shows.
    for (int64_t i = n - 1; i >= 0 && i >= n - N; --i) {
      const Slot& s = m_slots[static_cast<size_t>(i % N)];
      const uint32_t before = s.seq.load(std::memory_order_acquire);
      if (before & 1) continue;
      Words w;
      for (size_t k = 0; k < kWords; ++k) w[k] = s.words[k].load(std::memory_order_relaxed);
      std::atomic_thread_fence(std::memory_order_acquire);
      if (s.seq.load(std::memory_order_relaxed) != before) continue;
      Record r;
      std::memcpy(static_cast<void*>(&r), w.data(), sizeof(Record));
      if (r.frame > frame) continue;
      out = r;
      return true;
    }
    return false;
  }

 private:
  static constexpr size_t kWords = (sizeof(Record) + 7) / 8;
  using Words = std::array<uint64_t, kWords>;
  struct Slot {
    std::atomic<uint32_t> seq{0};  // odd while the writer fills the slot
    std::array<std::atomic<uint64_t>, kWords> words{};
  };
  std::array<Slot, N> m_slots;
  std::atomic<int64_t> m_published{0};
};
