// What the practice tools do to a playing track, bar by bar: a count-in, a
// speed trainer that steps the tempo every few bars, a gap trainer that mutes
// bars, a random mute of single beats and a practice timer. A pure
// description: the click track asks it about each bar and beat, the window
// and morvane-render fill it from their fields and options.
#pragma once

#include <cstdint>
#include <string>

struct LPracticeRamp {
  int start = 0, end = 0;  // bpm, 10..280; end may lie below start
  int step = 0;            // bpm per change, 1..270
  int bars = 0;            // bars at each tempo, 1..999; 0 = no speed trainer
  bool stopAtEnd = false;  // after `bars` bars at the end tempo: stop, or hold it
  bool On() const { return bars > 0; }
  bool operator==(const LPracticeRamp&) const = default;
};

struct LPracticeGap {
  int play = 0, mute = 0;  // bars, 1..16 each; 0:0 = no gap trainer
  bool On() const { return play > 0 && mute > 0; }
  bool operator==(const LPracticeGap&) const = default;
};

class LPracticePlan {
 public:
  static constexpr int kMaxCountIn = 4;
  static constexpr int kMaxRampBars = 999;
  static constexpr int kMaxGapBars = 16;
  static constexpr int kMaxRandomMute = 50;       // percent
  static constexpr int kMaxTimerSeconds = 86400;  // 24 h

  int countInBars = 0;  // 0..4
  LPracticeRamp ramp;
  LPracticeGap gap;
  int randomMutePercent = 0;  // 0..50, chance of each beat after the count-in
  uint32_t randomSeed = 1;
  int timerSeconds = 0;  // 0 = no timer

  bool operator==(const LPracticePlan&) const = default;
  bool AnyOn() const;

  // Bars count from the first bar played, count-in included.
  bool IsCountIn(long long bar) const { return bar < countInBars; }
  // The tempo of a bar; baseTempo is the tempo the user set, which the
  // speed trainer replaces.
  int TempoOfBar(long long bar, int baseTempo) const;
  // True when the gap trainer silences the bar (never a count-in bar).
  bool BarMuted(long long bar) const;
  // beat counts the beats after the count-in from 0; the same seed mutes
  // the same beats on every run.
  bool BeatMuted(long long beat) const;
  // The bars of a track that stops by itself (count-in and a speed trainer
  // that stops at its end), or -1 for an endless one.
  long long TotalBars() const;
  // The bars from `bar` to the speed trainer's next change and its tempo;
  // false when no change lies ahead.
  bool NextChange(long long bar, int& barsLeft, int& nextTempo) const;
  int RampStages() const;

  // Empty when every tool's values lie in their ranges; otherwise a message
  // that names the tool.
  std::string Check() const;

  // Text forms shared by the command line and the window: "START:END:STEP:BARS",
  // "PLAY:MUTE", "PERCENT[:SEED]", "[h:]mm:ss". False with a message naming
  // the wrong part; out is untouched then.
  static bool ParseCountIn(const std::string& text, int& out, std::string& error);
  static bool ParseRamp(const std::string& text, LPracticeRamp& out, std::string& error);
  static bool ParseGap(const std::string& text, LPracticeGap& out, std::string& error);
  static bool ParseRandomMute(const std::string& text, int& percent, uint32_t& seed, std::string& error);
  static bool ParseTimer(const std::string& text, int& seconds, std::string& error);
  static std::string FormatTime(long long seconds);  // "m:ss", or "h:mm:ss" from an hour
};
