// The model's bar: measure, per-beat pattern and swing, kept in the settings
// beside the measure index older readers use.
#include "model/MVModel.h"

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
