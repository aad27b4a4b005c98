#include "model/Rhythm.h"

#include "store/Record.h"
#include "store/Settings.h"

namespace {

const char kSettings[] = "Settings";
const char kSound[] = "Sound";

// A whole number the way the settings read one; def for anything else.
int ToInt(const std::string& text, int def) { return text.empty() ? def : LSettingParseInt(text.c_str(), def); }

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

bool FindField(const LRecord& record, const char* name, std::string& value) {
  for (const LRecordField& f : record.Fields())
    if (f.name == name) return value = f.value, true;
  return false;
}

}  // namespace

int LRhythm::LegacyIndex() const {
  const int own = measure.LegacyIndex();
  if (own >= 0) return own;
  LMeasure plain;
  std::string unused;
  if (measure.GetBeats() <= 8 && LMeasure::FromGrouping(measure.GetBeats(), "", plain, unused))
    return plain.LegacyIndex() < 0 ? 0 : plain.LegacyIndex();
  return 0;
}

std::string LRhythm::Describe() const { return measure.Name() + (IsEdited() ? "*" : ""); }

LRhythm LReadRhythm(const LRhythmFieldReader& read, const char* measureField, int defaultIndex) {
  std::string text;
  int index = read(measureField, text) ? ToInt(text, defaultIndex) : defaultIndex;
  if (index < 0 || index >= LMeasure::kLegacyCount) index = defaultIndex;
  LRhythm r;
  r.measure = LMeasure::FromLegacyIndex(index);
  r.pattern = r.measure.Pattern();
  if (read(rhythm_field::kSwing, text)) {
    const int swing = ToInt(text, kSwingStraight);
    if (swing >= kSwingStraight && swing <= kSwingMax) r.swing = swing;
  }
  if (!read(rhythm_field::kBeats, text)) return r;  // written before custom measures
  const int beats = ToInt(text, -1);
  LRhythm custom = r;
  std::string grouping, unused;
  read(rhythm_field::kGrouping, grouping);
  if (beats == 0)
    custom.measure = LMeasure();
  else if (!LMeasure::FromGrouping(beats, grouping, custom.measure, unused))
    return r;
  if (custom.LegacyIndex() != index) return r;
  custom.pattern = custom.measure.Pattern();
  LBeatPattern stored;
  if (read(rhythm_field::kPattern, text) && LBeatPattern::Parse(text, stored, unused) &&
      stored.GetBeats() == custom.pattern.GetBeats())
    custom.pattern = stored;
  return custom;
}

void LWriteRhythm(const LRhythmFieldWriter& write, const char* measureField, const LRhythm& r) {
  write(measureField, std::to_string(r.LegacyIndex()));
  write(rhythm_field::kBeats, std::to_string(r.measure.IsNone() ? 0 : r.measure.GetBeats()));
  write(rhythm_field::kGrouping, r.measure.Grouping());
  write(rhythm_field::kPattern, r.pattern.ToString());
  write(rhythm_field::kSwing, std::to_string(r.swing));
}

LRhythm LReadRhythm(const LRecord& record, int defaultIndex) {
  return LReadRhythm([&](const char* name, std::string& value) { return FindField(record, name, value); },
                     rhythm_field::kRecordMeasure, defaultIndex);
}

void LWriteRhythm(LRecord& record, const LRhythm& rhythm) {
  LWriteRhythm([&](const char* name, const std::string& value) { record.SetString(name, value); },
               rhythm_field::kRecordMeasure, rhythm);
}

LRhythm LLoadRhythmSettings(int defaultIndex) {
  return LReadRhythm(
      [](const char* name, std::string& value) {
        char text[kSettingTextSize];
        if (!_LUserSettingGetString(kSettings, name, "", text)) return false;
        value = text;
        return true;
      },
      rhythm_field::kSettingsMeasure, defaultIndex);
}

void LSaveRhythmSettings(const LRhythm& rhythm) {
  LWriteRhythm(
      [](const char* name, const std::string& value) { LUserSettingSetString(kSettings, name, value.c_str()); },
      rhythm_field::kSettingsMeasure, rhythm);
}

int LLoadDownbeatLevel() {
  return LUserSettingGetInt(kSound, rhythm_field::kDownbeatLevel, rhythm_field::kDefaultDownbeatLevel, -127, 127);
}

void LSaveDownbeatLevel(int db) { LUserSettingSet<int>(kSound, rhythm_field::kDownbeatLevel, Clamp(db, -127, 127)); }
