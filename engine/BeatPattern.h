// What each beat of a bar sounds (downbeat, accent, plain beat or nothing),
// the measures that produce such bars ("9(2+2+2+3)": beats and their groups)
// and where a swung off-beat sits within its beat. Pure values: no sounds,
// no frames, nothing that allocates on the audio thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class LBeatState : unsigned char { Mute, Beat, Accent, Downbeat };

// Letters of the pattern strings: D downbeat, A accent, b beat, . mute.
char LBeatStateLetter(LBeatState state);
// The state a click on a beat's cell moves to: downbeat, accent, beat, mute
// and round again.
LBeatState LNextBeatState(LBeatState state);

class LBeatPattern {
 public:
  static constexpr int kMaxBeats = 16;

  // One plain beat: the bar of the measure "None".
  LBeatPattern() = default;
  // Parses "DAb." (one letter per beat, 1 to 16 of them); false with a
  // sentence naming the cause in error, out untouched.
  static bool Parse(std::string_view text, LBeatPattern& out, std::string& error);

  int GetBeats() const { return m_beats; }
  // The state of beat 0..beats-1; any other beat reads as Mute.
  LBeatState Get(int beat) const;
  // False for a beat outside the bar.
  bool Set(int beat, LBeatState state);
  // A bar of 1..16 beats, new beats plain; false (unchanged) for others.
  // Allocates nothing.
  bool SetBeats(int beats);
  std::string ToString() const;

  bool operator==(const LBeatPattern&) const = default;

 private:
  std::array<LBeatState, kMaxBeats> m_states{LBeatState::Beat};
  int m_beats = 1;
};

// A measure: a number of beats split into groups that each open with an
// accent, the first with the downbeat. "None" is the one measure without
// accents (today's first entry of the measure list).
class LMeasure {
 public:
  static constexpr int kLegacyCount = 12;  // "None" .. "8", the stored indices

  LMeasure() = default;  // "None"
  // "None", "9" or "9(2+2+2+3)"; false with the cause in error.
  static bool Parse(std::string_view name, LMeasure& out, std::string& error);
  // beats 1..16 and a grouping such as "2+2+3" (spaces allowed; empty means
  // one group); false with the cause in error.
  static bool FromGrouping(int beats, std::string_view grouping, LMeasure& out, std::string& error);
  // Entry 0..11 of the measure list; "None" for any other index.
  static LMeasure FromLegacyIndex(int index);
  static const char* LegacyName(int index);

  bool IsNone() const { return m_none; }
  int GetBeats() const { return m_beats; }
  int GetGroupCount() const { return m_groupCount; }
  int GetGroup(int i) const { return i >= 0 && i < m_groupCount ? m_groups[static_cast<size_t>(i)] : 0; }
  // "2+2+3", or "" for a single group.
  std::string Grouping() const;
  // "None", "9", "9(2+2+2+3)".
  std::string Name() const;
  // The index in the measure list's first twelve entries, or -1.
  int LegacyIndex() const;
  // Downbeat on beat 1, an accent on the first beat of every other group,
  // plain beats elsewhere; "None" is a single plain beat.
  LBeatPattern Pattern() const;

  bool operator==(const LMeasure&) const = default;

 private:
  bool m_none = true;
  int m_beats = 1;
  int m_groupCount = 1;
  std::array<uint8_t, LBeatPattern::kMaxBeats> m_groups{1};
};

// Groupings offered for a number of beats in the measure editor, the most
// common first (empty when a bar of that many beats is usually not grouped).
std::vector<std::string> LCommonGroupings(int beats);

// Swing: the off-beat of a beat split in two sits at swing percent of the
// beat (50 = straight, 75 = the hardest); a beat split in four swings each of
// its halves the same way. Other subdivisions are never swung.
inline constexpr int kSwingStraight = 50;
inline constexpr int kSwingMax = 75;
bool LParseSwing(std::string_view text, int& percent, std::string& error);
bool LSwingApplies(int percent, int subdivisions);

// Where click slot 0..subdivisions-1 starts within its beat, as the exact
// fraction num/den of a beat (den > 0).
struct LBeatFraction {
  int64_t num = 0;
  int64_t den = 1;
};
LBeatFraction LSlotStart(int swingPercent, int subdivisions, int slot);
