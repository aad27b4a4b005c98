// The practice tools' values in the settings and in preset records. Every
// field name starts with "Practice"; a preset without them (written before
// the tools existed) loads with every tool off, and an older reader skips
// them as unknown fields.
#pragma once

#include "engine/PracticePlan.h"

class LRecord;

namespace practice_field {
inline constexpr const char* kCountIn = "PracticeCountIn";
inline constexpr const char* kRampStart = "PracticeRampStart";
inline constexpr const char* kRampEnd = "PracticeRampEnd";
inline constexpr const char* kRampStep = "PracticeRampStep";
inline constexpr const char* kRampBars = "PracticeRampBars";            // 0 = speed trainer off
inline constexpr const char* kRampEndAction = "PracticeRampEndAction";  // 0 hold the end tempo, 1 stop
inline constexpr const char* kGapPlay = "PracticeGapPlay";              // 0 = gap trainer off
inline constexpr const char* kGapMute = "PracticeGapMute";
inline constexpr const char* kRandomMute = "PracticeRandomMute";  // percent, 0 = off
inline constexpr const char* kRandomSeed = "PracticeRandomSeed";  // 32 bits stored as a signed int
inline constexpr const char* kTimer = "PracticeTimer";            // seconds, 0 = off
}  // namespace practice_field

// Values that fail their tool's ranges (a hand-edited file) turn that tool
// off; the others keep theirs.
LPracticePlan LoadPracticeSettings();
void SavePracticeSettings(const LPracticePlan& plan);

LPracticePlan ReadPracticePreset(const LRecord& rec);
// A plan with every tool off adds nothing to a record that has no practice
// field yet, so plain presets stay as they were. Otherwise every field is
// written, an off tool as 0: a save merges into the file and never removes a
// field, so an omitted field would bring back a tool turned off since.
void WritePracticePreset(LRecord& rec, const LPracticePlan& plan);
