#include "engine/BeatPatternScore.h"

#include <algorithm>

#include "engine/ClickGrid.h"

LBeatPatternScore::LBeatPatternScore(const LBeatPattern& pattern, int swingPercent, int rate)
    : m_pattern(pattern),
      m_swing(std::clamp(swingPercent, kSwingStraight, kSwingMax)),
      m_rate(std::clamp(rate, 1, LClickSegment::kMaxRate)) {}

void LBeatPatternScore::Request(int bpm, int clicksPerBeat, const LBeatPattern& pattern, int swingPercent) {
  uint64_t packed = 0;
  for (int b = 0; b < pattern.GetBeats(); ++b) packed |= uint64_t(pattern.Get(b)) << (2 * b);
  packed |= uint64_t(pattern.GetBeats() - 1) << 32;
  packed |= uint64_t(std::clamp(swingPercent, kSwingStraight, kSwingMax) - kSwingStraight) << 36;
  packed |= uint64_t(std::clamp(bpm, 1, 511)) << 41;
  packed |= uint64_t(std::clamp(clicksPerBeat, 1, 31)) << 50;
  m_request.store(packed | uint64_t(1) << 63, std::memory_order_release);
}

void LBeatPatternScore::BeginBeat(LClickBeat& beat) {
  const uint64_t r = m_request.exchange(0, std::memory_order_acquire);
  if (r != 0) ApplyRequest(r, beat);
  m_begun.Publish({beat.frame, beat.barBeat});
}

int LBeatPatternScore::HeardBeat(int64_t frame) const {
  BegunBeat b{};
  return m_begun.Find(frame, b) ? b.place : -1;
}

void LBeatPatternScore::ApplyRequest(uint64_t r, LClickBeat& beat) {
  const int beats = static_cast<int>(r >> 32 & 0xF) + 1;
  m_pattern.SetBeats(beats);
  for (int b = 0; b < beats; ++b) m_pattern.Set(b, static_cast<LBeatState>(r >> (2 * b) & 3));
  m_swing = static_cast<int>(r >> 36 & 0x1F) + kSwingStraight;
  beat.bpm = static_cast<int>(r >> 41 & 0x1FF);
  beat.clicksPerBeat = static_cast<int>(r >> 50 & 0x1F);
  if (beats != beat.beatsPerBar) beat.ChangeBar(beats);
}

LClickSound LBeatPatternScore::SoundAt(const LClickBeat& beat, int sub) const {
  const LBeatState state = m_pattern.Get(beat.barBeat);
  if (state == LBeatState::Mute) return LClickSound::None;  // its sub-clicks too
  if (sub != 0) return LClickSound::Click;
  switch (state) {
    case LBeatState::Downbeat: return LClickSound::Downbeat;
    case LBeatState::Accent: return LClickSound::Accent;
    default: return LClickSound::Beat;
  }
}

int64_t LBeatPatternScore::SwungOffset(int swingPercent, int clicksPerBeat, int sub, int bpm, int rate) {
  const LBeatFraction f = LSlotStart(swingPercent, clicksPerBeat, sub);
  const int64_t num = f.num * 60 * rate, den = f.den * std::max(bpm, 1);
  return (2 * num + den) / (2 * den);
}

int64_t LBeatPatternScore::OnsetDelay(const LClickBeat& beat, int sub, int64_t slotOffset, int64_t) const {
  // The swung onset counts from the beat's exact frame, so it is exact too;
  // the slot stays where the straight grid puts it.
  if (sub % 2 == 0 || !LSwingApplies(m_swing, beat.clicksPerBeat)) return 0;
  return SwungOffset(m_swing, beat.clicksPerBeat, sub, beat.bpm, m_rate) - slotOffset;
}
