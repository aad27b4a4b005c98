#include "engine/PracticeScore.h"

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
  m_history.Publish(now);
}

LClickSound LPracticeScore::SoundAt(const LClickBeat& beat, int sub) const {
  if (m_now.muted) return LClickSound::None;
  if (m_now.countIn) return beat.barBeat == 0 ? LClickSound::Accent : LClickSound::Beat;
  return m_inner->SoundAt(beat, sub);
}

int64_t LPracticeScore::OnsetDelay(const LClickBeat& beat, int sub, int64_t slotOffset, int64_t slotFrames) const {
  return m_now.countIn ? 0 : m_inner->OnsetDelay(beat, sub, slotOffset, slotFrames);
}

bool LPracticeScore::Heard(int64_t frame, LPracticeBeat& out) const { return m_history.Find(frame, out); }

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
