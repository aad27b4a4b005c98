// Presets carry the practice tools: a new preset stores the plan in force,
// loading one applies its plan (every tool off for a preset without one),
// and the preset list names the tools a preset turns on.
#pragma once

#include <QString>

class LPracticeModel;
class LRecord;

// The practice model presets save from and load into; null turns the
// hooks off (windows without the practice panel, tests).
void LPracticePresetsUse(LPracticeModel* practice);
void LPracticeWritePreset(LRecord& rec);
void LPracticeReadPreset(const LRecord& rec);
// The list's text for a preset's tools, empty for a preset without any.
QString LPracticePresetText(const LRecord& rec);
