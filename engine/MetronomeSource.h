// The click track as an endless sound source: for every click slot the start
// of the chosen sound, then silence up to the next slot.
#pragma once

#include <memory>

#include "engine/MetronomeAdvanced.h"
#include "soundfile/SoundSource.h"

class LMetronomeAdvancedSource : public LSoundSourceBase {
 public:
  // Takes a copy of the metronome (sounds shared, counters copied), so a new
  // track always begins on the first beat of the bar.
  explicit LMetronomeAdvancedSource(const LMetronomeAdvanced& metronome);
  void Read(int* buffer, int samples) override;
  // Position within the current beat and the beat's length: a consumer
  // asking for the frames left gets at most one beat and never sees an end.
  int GetPositionSample() const override { return m_metronome.m_beatPosition; }
  // A beat sound at a few hertz gives no grid at all; reporting one frame keeps
  // consumers that ask for "end minus position" frames from spinning.
  int GetEndSample() const override { return m_metronome.m_beatInterval > 0 ? m_metronome.m_beatInterval : 1; }

  const LMetronomeAdvanced& GetMetronome() const { return m_metronome; }

 private:
  void CheckSources();
  void Advance(int frames);
  void ReadSound(int* out, int frames);

  LMetronomeAdvanced m_metronome;
  // Staging for sounds with fewer channels than the track, sized at
  // construction for kMaxReadFrames frames.
  std::unique_ptr<int[]> m_widen;
};
