// The practice tools beside the metronome model: the plan in force (kept in
// the settings), tap tempo and keyboard nudges that set the model's tempo,
// the score that plays the plan on every Play, and where the playing track
// is heard: count-in, bar and beat, the speed trainer's next change and the
// practice timer. Main thread only, like the model.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/ClickScore.h"
#include "engine/MetronomeAdvanced.h"
#include "engine/PracticePlan.h"
#include "engine/PracticeScore.h"
#include "engine/TapTempo.h"
#include "soundfile/SoundSource.h"

class LMVModel;

class LPracticeModel {
 public:
  // Loads the plan from the settings; the model owns it and calls Wrap and
  // TrackStarted/TrackStopped from its Play and its player's notifications.
  explicit LPracticeModel(LMVModel& model);
  ~LPracticeModel();
  LPracticeModel(const LPracticeModel&) = delete;
  LPracticeModel& operator=(const LPracticeModel&) = delete;

  const LPracticePlan& Plan() const { return m_plan; }
  // Refuses a plan with a value out of range (error names the tool; nothing
  // is stored); otherwise stores it and tells the listener. A playing track
  // takes it at the next Play.
  bool SetPlan(const LPracticePlan& plan, std::string* error = nullptr);
  // Called after every accepted change of the plan.
  void SetListener(std::function<void()> listener) { m_listener = std::move(listener); }
  // Called at Play, at each of the model's playing-time ticks and at the
  // stop: when the window reads Poll, at the window's pace.
  void SetTickListener(std::function<void()> listener) { m_tickListener = std::move(listener); }
  void Ticked() {
    if (m_tickListener) m_tickListener();
  }

  // A tap at timeUs (microseconds of a monotonic clock): from the second
  // tap of a series on, the model's tempo follows; returns that tempo or 0.
  int Tap(int64_t timeUs);
  // The tempo up or down by delta bpm, clamped to the model's range.
  bool Nudge(int delta);

  // For the model's Play: the score of a new track, the plan laid over
  // inner; inner itself when no tool is on.
  std::unique_ptr<LClickScore> Wrap(std::unique_ptr<LClickScore> inner);
  // The plan over the metronome's measure, or null (the track's own
  // measure score) when no tool is on.
  std::unique_ptr<LClickScore> ScoreFor(const LMetronomeAdvanced& metronome);
  // The model's player began (true) or ended (false) the track built last.
  void TrackStarted(const LSoundSource& track, uint32_t ticks);
  void TrackStopped(uint32_t ticks);

  struct Status {
    bool playing = false;
    bool heard = false;  // beat holds the beat heard now
    LPracticeBeat beat;
    bool changeAhead = false;  // the speed trainer's next step
    int barsLeft = 0, nextTempo = 0;
    long long elapsed = 0;     // seconds since Play
    long long remaining = -1;  // seconds until the timer stops; -1 = no timer
    long long session = 0;     // seconds played since the program started
  };
  // From the window's refresh: where the track is heard at ticks (the
  // model's millisecond clock); stops the model once the timer has run out
  // or a speed trainer that stops has played its last bar.
  Status Poll(uint32_t ticks);
  // Milliseconds at ticks until the practice timer stops the track; -1 when
  // no timer runs.
  long long MsUntilTimerEnds(uint32_t ticks) const;

 private:
  LMVModel& m_model;
  LPracticePlan m_plan;
  LTapTempo m_tap;
  std::function<void()> m_listener;
  std::function<void()> m_tickListener;
  // The plan of the track built last, its score and a handle that keeps
  // the score alive while the window reads it.
  LPracticeScore* m_pending = nullptr;
  LPracticeScore* m_score = nullptr;
  LSoundSource m_track;
  bool m_playing = false;
  uint32_t m_start = 0;
  long long m_sessionMs = 0;  // of the tracks played before this one
};
