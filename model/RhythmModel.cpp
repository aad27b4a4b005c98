// The model's bar: measure, per-beat pattern and swing, kept in the settings
// beside the measure index older readers use.
#include "model/MVModel.h"

#include <algorithm>

#include "engine/BeatPatternScore.h"
#include "engine/MetronomeSource.h"
#include "engine/PracticeScore.h"
#include "soundfile/Gain.h"

LSoundSource LRhythmDownbeatSound(LSoundSource& accent, int accentDb) {
  LSPGain gain;
  gain.m_gain = LdBLevel(std::clamp(accentDb + LLoadDownbeatLevel(), -127, 127)).GetLin();
  return gain.OpenSource(accent);
}

std::unique_ptr<LClickScore> LRhythmScore(const LRhythm& rhythm, const LMetronomeAdvanced& metronome) {
  return std::make_unique<LBeatPatternScore>(rhythm.pattern, rhythm.swing, metronome.m_beatSound->GetSampleRate());
}

bool LMVModel::SetRhythm(const LRhythm& rhythm) {
  if (rhythm == m_rhythm || rhythm.pattern.GetBeats() < 1) return false;
  const bool measureChanged = !(rhythm.measure == m_rhythm.measure);
  m_rhythm = rhythm;
  m_metronome.m_measure = rhythm.LegacyIndex();
  LSaveRhythmSettings(rhythm);
  char name[260];
  const int index = GetMeasure(name);
  m_measureName = name;
  if (measureChanged) m_listeners.Notify(&LMVModelEvents::EvMeasureChanged, index, m_measureName.c_str());
  m_listeners.Notify(&LMVModelEvents::EvRhythmChanged, m_rhythm);
  ApplyToTrack();
  return true;
}

bool LMVModel::CycleBeat(int beat) {
  LRhythm r = m_rhythm;
  return r.pattern.Set(beat, LNextBeatState(r.pattern.Get(beat))) && SetRhythm(r);
}

bool LRhythmRequest(LClickScore& score, const LRhythm& rhythm, const LMetronomeAdvanced& metronome) {
  auto* pattern = dynamic_cast<LBeatPatternScore*>(&score);
  if (!pattern) return false;
  pattern->Request(metronome.m_tempo, metronome.m_subdivisions, rhythm.pattern, rhythm.swing);
  return true;
}

int LMVModel::HeardBarBeat() const {
  if (!m_trackSource || !IsPlaying()) return -1;
  LClickScore* score = &m_trackSource->Score();
  if (auto* practice = dynamic_cast<LPracticeScore*>(score)) score = &practice->Inner();
  const auto* pattern = dynamic_cast<const LBeatPatternScore*>(score);
  int64_t frame = 0;
  if (!pattern || !HeardFrame(frame)) return -1;
  return pattern->HeardBeat(frame);
}
