#include "engine/PracticeScore.h"

namespace {

// barBeat and beatsPerBar in 5 bits each (0..31), bpm in 16, three flags.
uint32_t Pack(const LPracticeBeat& b) {
  return static_cast<uint32_t>(b.barBeat & 31) | static_cast<uint32_t>(b.beatsPerBar & 31) << 5 |
         static_cast<uint32_t>(b.bpm & 0xFFFF) << 10 | (b.countIn ? 1u << 26 : 0u) | (b.muted ? 1u << 27 : 0u) |
         (b.ended ? 1u << 28 : 0u);
}

void Unpack(uint32_t p, LPracticeBeat& b) {
  b.barBeat = static_cast<int>(p & 31);
  b.beatsPerBar = static_cast<int>(p >> 5 & 31);
  b.bpm = static_cast<int>(p >> 10 & 0xFFFF);
  b.countIn = (p >> 26 & 1) != 0;
  b.muted = (p >> 27 & 1) != 0;
  b.ended = (p >> 28 & 1) != 0;
}

}  // namespace

LPracticeScore::LPracticeScore(std::unique_ptr<LClickScore> inner, const LPracticePlan& plan)
    : m_inner(std::move(inner)), m_plan(plan) {}

void LPracticeScore::BeginBeat(LClickBeat& beat) {
  if (m_bar < 0) {
    m_innerBpm = beat.bpm;
    m_innerClicks = beat.clicksPerBeat;
  }
  // The inner score sees its own tempo and subdivision, as if alone.
  beat.bpm = m_innerBpm;
  beat.clicksPerBeat = m_innerClicks;
  m_inner->BeginBeat(beat);
  m_innerBpm = beat.bpm;
  m_innerClicks = beat.clicksPerBeat;
  // After the inner score, which may have moved the bar line.
  if (beat.barBeat == 0 || m_bar < 0) ++m_bar;

  LPracticeBeat& now = m_now;
  now.frame = beat.frame;
  now.bar = m_bar;
  now.barBeat = beat.barBeat;
  now.beatsPerBar = beat.beatsPerBar;
  now.countIn = m_plan.IsCountIn(m_bar);
  const long long total = m_plan.TotalBars();
  now.ended = total >= 0 && m_bar >= total;
  if (now.countIn) beat.clicksPerBeat = 1;  // beats only
  beat.bpm = m_plan.TempoOfBar(m_bar, m_innerBpm);
  now.bpm = beat.bpm;
  now.muted = now.ended || m_plan.BarMuted(m_bar);
  if (!now.countIn) now.muted = m_plan.BeatMuted(++m_patternBeat) || now.muted;
  Publish(now);
}

LClickSound LPracticeScore::SoundAt(const LClickBeat& beat, int sub) const {
  if (m_now.muted) return LClickSound::None;
  if (m_now.countIn) return beat.barBeat == 0 ? LClickSound::Accent : LClickSound::Beat;
  return m_inner->SoundAt(beat, sub);
}

int64_t LPracticeScore::OnsetDelay(const LClickBeat& beat, int sub, int64_t slotOffset, int64_t slotFrames) const {
  return m_now.countIn ? 0 : m_inner->OnsetDelay(beat, sub, slotOffset, slotFrames);
}

void LPracticeScore::Publish(const LPracticeBeat& b) {
  const int64_t n = m_published.load(std::memory_order_relaxed);
  Slot& s = m_slots[static_cast<size_t>(n % kHistory)];
  const uint32_t seq = s.seq.load(std::memory_order_relaxed);
  s.seq.store(seq + 1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  s.frame.store(b.frame, std::memory_order_relaxed);
  s.bar.store(b.bar, std::memory_order_relaxed);
  s.packed.store(Pack(b), std::memory_order_relaxed);
  s.seq.store(seq + 2, std::memory_order_release);
  m_published.store(n + 1, std::memory_order_release);
}

bool LPracticeScore::Heard(int64_t frame, LPracticeBeat& out) const {
  const int64_t n = m_published.load(std::memory_order_acquire);
  // The newest slots first; the oldest may be under rewrite, which its
  // sequence number shows.
  for (int64_t i = n - 1; i >= 0 && i >= n - kHistory; --i) {
    const Slot& s = m_slots[static_cast<size_t>(i % kHistory)];
    const uint32_t before = s.seq.load(std::memory_order_acquire);
    if (before & 1) continue;
    LPracticeBeat b;
    b.frame = s.frame.load(std::memory_order_relaxed);
    b.bar = s.bar.load(std::memory_order_relaxed);
    const uint32_t packed = s.packed.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (s.seq.load(std::memory_order_relaxed) != before) continue;
    if (b.frame > frame) continue;
    Unpack(packed, b);
    out = b;
    return true;
  }
  return false;
}

int64_t LPracticeScore::BarFrame(const LPracticePlan& plan, int bpm, int clicksPerBeat, int beatsPerBar, int rate,
                                 int64_t bar) {
  LClickSegment segment = LClickSegment::Make(0, plan.TempoOfBar(0, bpm), plan.IsCountIn(0) ? 1 : clicksPerBeat, rate);
  int64_t beats = 0;  // since the segment's start
  for (int64_t b = 0; b < bar; ++b) {
    const LClickSegment next = LClickSegment::Make(segment.BeatFrame(beats), plan.TempoOfBar(b, bpm),
                                                   plan.IsCountIn(b) ? 1 : clicksPerBeat, rate);
    if (next.bpm != segment.bpm || next.clicksPerBeat != segment.clicksPerBeat) {
      segment = next;
      beats = 0;
    }
    beats += beatsPerBar;
  }
  return segment.BeatFrame(beats);
}
