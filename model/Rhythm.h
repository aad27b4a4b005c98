// The bar as the user set it (measure, per-beat pattern, swing) and how it is
// kept in the settings and in preset records. Older readers know only the
// measure index (0..11 into today's list); a custom measure or an edited
// pattern goes into fields they ignore, and the index they read is the
// nearest of today's measures.
#pragma once

#include <functional>
#include <string>

#include <memory>

#include "engine/BeatPattern.h"
#include "soundfile/SoundSource.h"

class LClickScore;
class LMetronomeAdvanced;

class LRecord;

struct LRhythm {
  LMeasure measure = LMeasure::FromLegacyIndex(3);  // "4"
  LBeatPattern pattern = measure.Pattern();
  int swing = kSwingStraight;

  bool operator==(const LRhythm&) const = default;
  // The measure index older readers understand: the measure's own entry in
  // today's list, else the plain bar of as many beats up to 8, else "None".
  int LegacyIndex() const;
  // The pattern differs from the one the measure gives.
  bool IsEdited() const { return !(pattern == measure.Pattern()); }
  // The measure's name with a mark when the pattern was edited: "9(2+2+2+3)*".
  std::string Describe() const;
};

// Field names, in settings (section "Settings"; "DownbeatLevel" in "Sound")
// and in preset records (the legacy index is "MeasureIndex" there).
namespace rhythm_field {
inline constexpr const char* kSettingsMeasure = "Measure";
inline constexpr const char* kRecordMeasure = "MeasureIndex";
inline constexpr const char* kBeats = "Beats";
inline constexpr const char* kGrouping = "Grouping";
inline constexpr const char* kPattern = "Pattern";
inline constexpr const char* kSwing = "Swing";
inline constexpr const char* kDownbeatLevel = "DownbeatLevel";
// The downbeat plays the accent sound this many dB above the accent level.
inline constexpr int kDefaultDownbeatLevel = 4;
}  // namespace rhythm_field

// Reads by field name: the stored text, or nothing when the field is absent.
using LRhythmFieldReader = std::function<bool(const char* name, std::string& value)>;
using LRhythmFieldWriter = std::function<void(const char* name, const std::string& value)>;

// The stored rhythm; a custom measure whose fallback index no longer matches
// the stored index was changed by an older reader, whose choice wins.
LRhythm LReadRhythm(const LRhythmFieldReader& read, const char* measureField, int defaultIndex);
void LWriteRhythm(const LRhythmFieldWriter& write, const char* measureField, const LRhythm& rhythm);

LRhythm LReadRhythm(const LRecord& record, int defaultIndex);
void LWriteRhythm(LRecord& record, const LRhythm& rhythm);
LRhythm LLoadRhythmSettings(int defaultIndex);
void LSaveRhythmSettings(const LRhythm& rhythm);
int LLoadDownbeatLevel();
void LSaveDownbeatLevel(int db);

// The downbeat's sound: the accent's own sound at the accent level plus the
// stored downbeat level.
LSoundSource LRhythmDownbeatSound(LSoundSource& accent, int accentDb);
// What the click track plays for the bar, at the metronome's rate.
std::unique_ptr<LClickScore> LRhythmScore(const LRhythm& rhythm, const LMetronomeAdvanced& metronome);
// Changes the playing bar, tempo and subdivision from the next beat; false
// when the track's score is not the pattern's own.
bool LRhythmRequest(LClickScore& score, const LRhythm& rhythm, const LMetronomeAdvanced& metronome);
