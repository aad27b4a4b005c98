// The click track as an endless sound source: every click slot of the exact
// grid (ClickGrid.h) starts with the sound its score chooses (ClickScore.h),
// cut to half the slot, followed by silence up to the next slot.
#pragma once

#include <atomic>
#include <memory>

#include "engine/BeatLog.h"
#include "engine/ClickGrid.h"
#include "engine/ClickScore.h"
#include "engine/MetronomeAdvanced.h"
#include "soundfile/SoundSource.h"

class LMetronomeAdvancedSource : public LSoundSourceBase {
 public:
  // Takes a copy of the metronome (sounds shared) and plays its tempo and
  // subdivision under score; the measure's score when score is null. A new
  // track always begins on the first beat of the bar.
  explicit LMetronomeAdvancedSource(const LMetronomeAdvanced& metronome, std::unique_ptr<LClickScore> score = nullptr);
  void Read(int* buffer, int samples) override;
  // Position within the current beat and the beat's length: a consumer
  // asking for the frames left gets at most one beat and never sees an end.
  int GetPositionSample() const override;
  int GetEndSample() const override;
  // Answers kMsgReadPeak when every sound the last Read played answered it.
  bool ControlMessage(int message, long* value) override;

  const LMetronomeAdvanced& GetMetronome() const { return m_metronome; }
  LClickScore& Score() { return *m_score; }
  // The measure score when the track plays one (null otherwise); its
  // requests may come from any thread.
  LMeasureScore* MeasureScore() { return m_measureScore; }
  // Frames rendered since the track started (any thread).
  int64_t FramesRendered() const { return m_rendered.load(std::memory_order_relaxed); }
  // The beats rendered lately, with their frames and lengths (any thread).
  const LBeatLog& Beats() const { return m_log; }
  // The grid segment and beat in force (reading thread only).
  const LClickSegment& Segment() const { return m_segment; }
  const LClickBeat& Beat() const { return m_beat; }

 private:
  void CheckSources();
  void StartSlot();
  void BeginBeat();
  LSoundSource& SoundOf(LClickSound sound);
  void ReadSound(int* out, int frames);

  LMetronomeAdvanced m_metronome;
  std::unique_ptr<LClickScore> m_score;
  LMeasureScore* m_measureScore = nullptr;
  LClickSegment m_segment;
  LClickBeat m_beat;
  int m_sub = 0;            // sub-click of the current slot within its beat
  int64_t m_click = 0;      // index of the current slot in the segment
  int64_t m_frame = 0;      // frames rendered
  int64_t m_slotStart = 0;  // frames, track time
  int64_t m_slotEnd = 0;
  int64_t m_beatEnd = 0;
  int64_t m_soundFrom = 0;  // the current slot's sound, track time
  int64_t m_soundTo = 0;
  LSoundSource* m_sound = nullptr;
  long m_readPeak = -1;  // of the last Read; -1 unknown
  std::atomic<int64_t> m_rendered{0};
  LBeatLog m_log;
  // Staging for sounds with fewer channels than the track, sized at
  // construction for kMaxReadFrames frames.
  std::unique_ptr<int[]> m_widen;
};
