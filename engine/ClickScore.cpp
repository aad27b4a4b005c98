#include "engine/ClickScore.h"

#include <algorithm>

#include "engine/MetronomeAdvanced.h"

void LClickBeat::ChangeBar(int beats) {
  beatsPerBar = std::clamp(beats, 1, kMaxBeatsPerBar);
  if (barBeat >= beatsPerBar) barBeat = 0;
}

int LMeasureScore::BeatsInMeasure(int measure) {
  int beats = 0;
  while (beats < 8 && LMetronomeAdvanced::MeasureEntry(measure, beats) != 0) ++beats;
  return beats == 0 ? 1 : beats;
}

void LMeasureScore::Request(int bpm, int clicksPerBeat, int measure) {
  const uint32_t packed = static_cast<uint32_t>(std::clamp(bpm, 1, 0xFFFF)) |
                          static_cast<uint32_t>(std::clamp(clicksPerBeat, 1, 0xFF)) << 16 |
                          static_cast<uint32_t>(std::clamp(measure, 0, 0xFE) + 1) << 24;
  m_request.store(packed, std::memory_order_release);
}

void LMeasureScore::BeginBeat(LClickBeat& beat) {
  const uint32_t r = m_request.exchange(0, std::memory_order_acquire);
  if (r == 0) return;
  beat.bpm = static_cast<int>(r & 0xFFFF);
  beat.clicksPerBeat = static_cast<int>(r >> 16 & 0xFF);
  const int measure = static_cast<int>(r >> 24) - 1;
  if (measure != m_measure) {
    m_measure = measure;
    beat.ChangeBar(BeatsInMeasure(measure));
  }
}

LClickSound LMeasureScore::SoundAt(const LClickBeat& beat, int sub) const {
  if (sub != 0) return LClickSound::Click;
  if (m_measure == 0) return LClickSound::Beat;
  return LMetronomeAdvanced::MeasureEntry(m_measure, beat.barBeat) == 1 ? LClickSound::Accent : LClickSound::Beat;
}
