// The metronome model: the one owner of tempo, measure, subdivision, volume,
// the three click sounds and the playing state. The window calls its setters
// and learns of every change through LMVModelEvents; every accepted change is
// stored in the settings at once. Main thread only; it takes no locks.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/SoundPlayer.h"
#include "audio/SoundPlayerNotify.h"
#include "engine/MetronomeAdvanced.h"
#include "model/MVModelEvents.h"
#include "model/Rhythm.h"
#include "platform/TimerHandler.h"

class LPracticeModel;

class LMVModel : public LTimerHandler, public LSoundPlayerNotify {
 public:
  enum TimerId { kTimerPlayingTime = 1000, kTimerDelayedTempo = 1001, kTimerInfoBar = 1002 };
  static constexpr int kMaxListeners = 16;
  // How long a run of tempo changes must pause before its last value plays.
  static constexpr int kTempoSettleMs = 250;

  // The process's one model, made on first use.
  static LMVModel& GetInstance();

  // Tests and tools may run a model of their own, over a chosen output unit.
  explicit LMVModel(std::unique_ptr<LAudioOutputUnit> unit = nullptr);
  ~LMVModel() override;

  // Loads the sounds and the stored tempo, measure and subdivision; false
  // when a default sound is missing (the program cannot run).
  bool Init();
  // Looks up the stored output device, which starts the sound back ends it
  // needs (their libraries' first use costs a round of connections): the
  // window calls it once it is on screen, so the first Play finds them
  // ready and nothing of it delays the window. Play looks the device up
  // again in any case.
  void PrepareOutput();
  void Destroy();
  bool SetNotify(LMVModelEvents* listener);

  int GetTempo() const { return m_metronome.m_tempo; }
  static int GetTempoMin() { return 10; }
  static int GetTempoMax() { return 280; }
  int GetMeasure(char* name = nullptr) const;
  int GetSubDiv(char* name = nullptr) const;
  static const char* const* GetMeasureNames();
  static const char* const* GetSubDivNames();
  static const char* GetTempoMarking(int bpm);
  LdBLevel GetVolume() const;
  bool IsPlaying() const;
  // True when the last Play could not open the output (no device) or the
  // device failed while playing: the window says so instead of leaving the
  // user guessing.
  bool GetOutputFailed() const { return m_outputFailed; }
  // The user's sounds the last InitSounds could not open (index 0 accent,
  // 1 beat, 2 click; the file name chosen), now played by the shipped ones.
  struct MissingSound {
    int role;
    std::string name;
  };
  const std::vector<MissingSound>& GetMissingSounds() const { return m_missingSounds; }

  bool SetTempo(int bpm);
  bool SetTempoDelayed(int bpm);
  bool SetMeasure(int index);
  // The bar (model/RhythmModel.cpp): a custom measure reports measure index
  // kLegacyCount with its own name; a pattern edit keeps the measure.
  const LRhythm& GetRhythm() const { return m_rhythm; }
  bool SetRhythm(const LRhythm& rhythm);
  bool CycleBeat(int beat);
  // The place in the bar (0 = downbeat) of the beat heard now, by the same
  // clock as EvPlayingTime; -1 while stopped or before the first beat.
  int HeardBarBeat() const;
  bool SetSubDiv(int index);
  bool SetVolume(const LdBLevel& volume);
  bool SetVolume(int db);
  int ReCalculateInterval() { return m_metronome.ReCalculateInterval(); }
  bool InitSounds();

  bool StartPlaying();
  bool StopPlaying();
  bool RestartPlaying();

  // Millisecond tick counter (32-bit, wrapping); tests inject their own.
  using TickSource = std::function<uint32_t()>;
  void SetTickSource(TickSource ticks) { m_ticks = std::move(ticks); }
  static uint32_t MonotonicTicks();
  // The playing-time period in ms at a tempo: about 94 ticks per beat, never
  // faster than one every 10 ms.
  static int PlayingTimePeriod(int bpm);
  // The window's pace for the playing-time ticks: no more often than every
  // ms (a display frame while the light is on screen, far less while no
  // one sees it); 0 keeps the tempo's own period. A shorter pace while
  // playing ticks at once, so a window coming back shows where the beat is.
  void SetPlayingTimePace(int ms);
  // The ms until the next playing-time tick at a tempo under that pace.
  int PlayingTimeInterval(int bpm) const;

  // The frame of the playing track the listener hears now: the output's
  // device clock less its declared latency. False when nothing plays or the
  // device has not called back yet.
  bool HeardFrame(int64_t& frame) const;

  const LMetronomeAdvanced& GetMetronome() const { return m_metronome; }
  LSoundPlayer& GetPlayer() { return m_player; }
  LPracticeModel& Practice() { return *m_practice; }  // model/PracticeModel.h

  void EvTimer(int id) override;
  void spntfPlay(long) override;
  void spntfStop(long) override;
  void spntfTime(LSoundTime, long) override {}
  // The light and the display follow the device's clock (HeardFrame), not
  // the player's reports.
  bool WantsTimeReports() const override { return false; }

 private:
  void PlayingTimeTick();
  // Hands tempo, subdivision and measure to the playing track: they take
  // effect at its next beat, without a restart.
  void ApplyToTrack();
  void ReleaseTrack();
  void ApplyStoredOutputDevice();

  LMVNotifier<LMVModelEvents, kMaxListeners> m_listeners;
  LMetronomeAdvanced m_metronome;
  LSoundPlayer m_player;
  // The playing click track (main thread); the player holds it too.
  LSoundSource m_track;
  class LMetronomeAdvancedSource* m_trackSource = nullptr;
  int m_pendingTempo = 0;
  uint32_t m_playStart = 0;
  int m_lastPercent = 0;
  long m_underRuns = 0;  // told to the listeners
  int m_heardTempo = 0;  // told to the listeners
  int m_pace = 0;        // SetPlayingTimePace
  bool m_longPlayTold = false;
  bool m_outputFailed = false;
  std::string m_appliedDevice;  // the stored device name the player's device was found by
  std::vector<MissingSound> m_missingSounds;
  LRhythm m_rhythm{LMeasure(), LBeatPattern()};  // "None", as the metronome starts
  std::string m_measureName;                     // what EvMeasureChanged names
  TickSource m_ticks = &LMVModel::MonotonicTicks;
  std::unique_ptr<LPracticeModel> m_practice;
};
