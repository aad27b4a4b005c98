// The metronome's settings: tempo, measure, subdivision and the three click
// sounds, with the measure table. The click-track source plays them on the
// exact grid (ClickGrid.h) through the measure score (ClickScore.h).
#pragma once

#include <string>

#include "engine/ClickGrid.h"
#include "soundfile/SoundSource.h"

class LMetronomeAdvanced {
 public:
  static constexpr int kMeasureCount = 12;
  static constexpr int kMaxSubdivisions = 8;

  // Opens accent.wav, beat.wav and click.wav of the default sound folder,
  // unchecked: a missing file leaves an error source in its slot.
  LMetronomeAdvanced();
  // The folder holding the default sounds ("metronome" of the shared data
  // folder); set once at start-up, before the first metronome is made.
  static void SetDefaultSoundFolder(const std::string& folder);
  static const std::string& GetDefaultSoundFolder();

  LMetronomeAdvanced(const LMetronomeAdvanced&) = default;
  // Copies every field; the sound handles (and their read positions) are shared.
  LMetronomeAdvanced& operator=(const LMetronomeAdvanced&) = default;

  void SetTempo(int bpm);     // caller guarantees bpm >= 1
  void SetSubDiv(int index);  // index 0..7 = 1..8 clicks per beat
  // Length of the first click slot in frames at the beat sound's rate (later
  // slots may be one frame longer: the grid is exact, not a repeated slot).
  int ReCalculateInterval() const;
  // Converts the three sounds to rate frames a second (once, at load; the
  // track then runs at that rate). Zero: the beat sound's rate. False when a
  // conversion failed (that sound then carries an error).
  bool ConvertSounds(int rate = 0);
  // The grid of a track started now, at the beat sound's rate.
  LClickSegment Grid() const;

  // Measure table: 1 = accent, 2 = beat, 0 = end of bar.
  static int MeasureEntry(int measure, int beat);
  static const char* MeasureName(int measure);
  static const char* const* MeasureNames();  // null-terminated
  // Index of a measure name ("None", "2" ... "7(3+4)", "8"), or -1.
  static int MeasureIndex(const std::string& name);

  LSoundSource m_beatSound;
  LSoundSource m_accentSound;
  LSoundSource m_clickSound;
  // The accent sound at the downbeat's level; until set (an error source,
  // which the click track's checks leave out) the downbeat plays the accent.
  LSoundSource m_downbeatSound;
  int m_tempo = 0;
  int m_measure = 0;       // 0..11; 0 means no accents
  int m_subdivisions = 1;  // click slots per beat, 1..8
};
