#include "model/PracticeModel.h"

#include <algorithm>

#include "model/MVModel.h"
#include "model/PracticeSettings.h"

LPracticeModel::LPracticeModel(LMVModel& model) : m_model(model), m_plan(LoadPracticeSettings()) {}

LPracticeModel::~LPracticeModel() = default;

bool LPracticeModel::SetPlan(const LPracticePlan& plan, std::string* error) {
  const std::string why = plan.Check();
  if (!why.empty()) {
    if (error) *error = why;
    return false;
  }
  if (plan == m_plan) return false;
  m_plan = plan;
  SavePracticeSettings(plan);
  if (m_listener) m_listener();
  return true;
}

int LPracticeModel::Tap(int64_t timeUs) {
  const int bpm = m_tap.Tap(timeUs);
  if (bpm > 0) m_model.SetTempo(bpm);
  return bpm;
}

bool LPracticeModel::Nudge(int delta) { return m_model.SetTempo(m_model.GetTempo() + delta); }

std::unique_ptr<LClickScore> LPracticeModel::Wrap(std::unique_ptr<LClickScore> inner) {
  m_pending = nullptr;
  LPracticePlan plan = m_plan;
  // The timer stops the track from here; the score plays on meanwhile.
  plan.timerSeconds = 0;
  if (!plan.AnyOn()) return inner;
  auto score = std::make_unique<LPracticeScore>(std::move(inner), plan);
  m_pending = score.get();
  return score;
}

std::unique_ptr<LClickScore> LPracticeModel::ScoreFor(const LMetronomeAdvanced& metronome) {
  m_pending = nullptr;
  LPracticePlan sound = m_plan;
  sound.timerSeconds = 0;  // the timer stops the track from Poll
  if (!sound.AnyOn()) return nullptr;
  return Wrap(std::make_unique<LMeasureScore>(metronome.m_measure));
}

void LPracticeModel::TrackStarted(const LSoundSource& track, uint32_t ticks) {
  m_track = track;
  m_score = m_pending;
  m_playing = true;
  m_start = ticks;
}

void LPracticeModel::TrackStopped(uint32_t ticks) {
  if (m_playing) m_sessionMs += static_cast<uint32_t>(ticks - m_start);
  m_playing = false;
  m_score = nullptr;
  m_track = LSoundSource();
}

long long LPracticeModel::MsUntilTimerEnds(uint32_t ticks) const {
  if (!m_playing || m_plan.timerSeconds <= 0) return -1;
  const long long ms = static_cast<uint32_t>(ticks - m_start);  // wraps like the counter
  return std::max(m_plan.timerSeconds * 1000LL - ms, 0LL);
}

LPracticeModel::Status LPracticeModel::Poll(uint32_t ticks) {
  Status s;
  s.playing = m_playing;
  const long long ms = m_playing ? static_cast<uint32_t>(ticks - m_start) : 0;  // wraps like the counter
  s.elapsed = ms / 1000;
  s.session = (m_sessionMs + ms) / 1000;
  if (m_plan.timerSeconds > 0) s.remaining = m_plan.timerSeconds - s.elapsed;
  if (!m_playing) return s;
  // The same clock as the swinging light: the frame heard now.
  int64_t frame = 0;
  if (m_score && m_model.HeardFrame(frame)) s.heard = m_score->Heard(frame, s.beat);
  if (s.heard) s.changeAhead = m_score->Plan().NextChange(s.beat.bar, s.barsLeft, s.nextTempo);
  const bool timeUp = m_plan.timerSeconds > 0 && s.remaining <= 0;
  if (timeUp || (s.heard && s.beat.ended)) {
    if (s.remaining < 0 && m_plan.timerSeconds > 0) s.remaining = 0;
    m_model.StopPlaying();
  }
  return s;
}
