// Beat pattern: turns tempo, measure and subdivision into a click grid in
// frames and decides which sound each click slot plays.
#pragma once

#include <string>

#include "soundfile/SoundSource.h"

class LMetronomeAdvanced {
 public:
  enum class Sound { Beat, Accent, Click };
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
  int ReCalculateInterval();  // returns the click interval
  // Chooses the sound of the click slot that starts now and its length.
  void WhichClick();

  // Measure table: 1 = accent, 2 = beat, 0 = end of bar.
  static int MeasureEntry(int measure, int beat);
  static const char* MeasureName(int measure);
  static const char* const* MeasureNames();  // null-terminated
  // Index of a measure name ("None", "2" ... "7(3+4)", "8"), or -1.
  static int MeasureIndex(const std::string& name);

  // Frames at the beat sound's rate.
  int m_beatInterval = 0;
  int m_beatPosition = 0;
  int m_clickInterval = 0;
  int m_clickPosition = 0;
  int m_clickLength = 0;
  LSoundSource m_beatSound;
  LSoundSource m_accentSound;
  LSoundSource m_clickSound;
  Sound m_currentSound = Sound::Beat;
  int m_tempo = 0;
  int m_measure = 0;       // 0..11; 0 means no accents
  int m_subdivisions = 1;  // click slots per beat, 1..8
  int m_beatCounter = 0;
  int m_subdivisionCounter = 0;

  LSoundSource& CurrentSound();
};
