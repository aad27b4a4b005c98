// Plays a beat pattern on the exact grid: the downbeat, accent or beat sound
// on each beat as its state says, the click sound on the sub-clicks of
// sounding beats, nothing at all for a muted beat, and the off-beats of
// eighths and sixteenths moved late by the swing.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "engine/BeatPattern.h"
#include "engine/ClickScore.h"
#include "engine/FrameHistory.h"

class LBeatPatternScore : public LClickScore {
 public:
  // rate: frames per second of the track (the swing is placed in frames).
  LBeatPatternScore(const LBeatPattern& pattern, int swingPercent, int rate);

  int BeatsPerBar() const override { return m_pattern.GetBeats(); }
  void BeginBeat(LClickBeat& beat) override;
  LClickSound SoundAt(const LClickBeat& beat, int sub) const override;
  int64_t OnsetDelay(const LClickBeat& beat, int sub, int64_t slotOffset, int64_t slotFrames) const override;

  // Any thread: tempo, clicks per beat, bar and swing from the next beat on.
  // A later request replaces one not yet applied.
  void Request(int bpm, int clicksPerBeat, const LBeatPattern& pattern, int swingPercent);

  // Frames from the start of a beat to the swung onset of sub-click sub:
  // round(fraction * 60 * rate / bpm), halves up, in 64-bit integers (the
  // largest product, 2 * 300 * 60 * 384000, is far below 2^63).
  static int64_t SwungOffset(int swingPercent, int clicksPerBeat, int sub, int bpm, int rate);

  // Any thread: the place in the bar (0 = downbeat) of the last beat begun
  // at or before track frame `frame`, among the kHistory latest; -1 when
  // there is none (not started yet, or frame lies before them all).
  int HeardBeat(int64_t frame) const;
  // Enough for the ring the worker renders ahead (half a second) at the
  // fastest tempo with room to spare.
  static constexpr int kHistory = 32;

 private:
  void ApplyRequest(uint64_t request, LClickBeat& beat);

  LBeatPattern m_pattern;  // worker thread
  int m_swing;
  int m_rate;
  // Packed: states 2 bits a beat (bits 0..31), beats - 1 (32..35), swing - 50
  // (36..40), bpm (41..49), clicks per beat (50..54), bit 63 = a request.
  std::atomic<uint64_t> m_request{0};
  struct BegunBeat {
    int64_t frame;  // track frame of the beat's first click
    int place;      // in the bar, 0 = downbeat
  };
  LFrameHistory<BegunBeat, kHistory> m_begun;
};
