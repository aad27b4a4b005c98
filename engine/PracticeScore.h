// The practice plan laid over any score (the measure's, a beat pattern):
// count-in bars of plain beats, the speed trainer's tempo per bar, gap and
// random muting, and silence once a trainer that stops has ended. Each
// change lands on a beat, so the click-track source starts a new exact grid
// segment there, where the previous segment's next beat would have fallen.
//
// Runs on the audio worker thread like any score: allocates nothing and
// never blocks. Other threads learn where the track is through Heard().
#pragma once

#include <cstdint>
#include <memory>

#include "engine/ClickGrid.h"
#include "engine/ClickScore.h"
#include "engine/FrameHistory.h"
#include "engine/PracticePlan.h"

// One beat as the window shows it: its bar, counted from the first bar
// played (count-in included), and place in the bar.
struct LPracticeBeat {
  int64_t frame = -1;  // track frame the beat starts on; -1 = none yet
  int64_t bar = 0;
  int barBeat = 0;
  int beatsPerBar = 1;
  int bpm = 0;
  bool countIn = false;
  bool muted = false;  // the whole beat is silent (gap, random mute)
  bool ended = false;  // a trainer that stops has ended: silence from here
};

class LPracticeScore : public LClickScore {
 public:
  LPracticeScore(std::unique_ptr<LClickScore> inner, const LPracticePlan& plan);

  int BeatsPerBar() const override { return m_inner->BeatsPerBar(); }
  void BeginBeat(LClickBeat& beat) override;
  LClickSound SoundAt(const LClickBeat& beat, int sub) const override;
  int64_t OnsetDelay(const LClickBeat& beat, int sub, int64_t slotOffset, int64_t slotFrames) const override;

  LClickScore& Inner() { return *m_inner; }
  const LPracticePlan& Plan() const { return m_plan; }

  // Any thread: the last beat starting at or before frame among the
  // kHistory latest the worker has begun; false when there is none (not
  // started, or frame lies before them all).
  bool Heard(int64_t frame, LPracticeBeat& out) const;
  static constexpr int kHistory = 64;

  // The frame on which bar `bar` (count-in included) of a track with this
  // plan starts: the grid a track of bpm, clicksPerBeat and beatsPerBar at
  // rate plays, segment by segment, for tools that end a file on a bar line.
  static int64_t BarFrame(const LPracticePlan& plan, int bpm, int clicksPerBeat, int beatsPerBar, int rate,
                          int64_t bar);

 private:
  std::unique_ptr<LClickScore> m_inner;
  const LPracticePlan m_plan;
  // What the inner score asked for last: the speed trainer and the count-in
  // override it beat by beat without losing it.
  int m_innerBpm = 0;
  int m_innerClicks = 0;
  int64_t m_bar = -1;
  int64_t m_patternBeat = -1;  // beats after the count-in
  LPracticeBeat m_now;

  LFrameHistory<LPracticeBeat, kHistory> m_history;  // the beats begun
};
