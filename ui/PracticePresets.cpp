#include "ui/PracticePresets.h"

#include "model/PracticeModel.h"
#include "model/PracticeSettings.h"
#include "ui/PracticePanel.h"

namespace {
LPracticeModel* g_practice = nullptr;
}

void LPracticePresetsUse(LPracticeModel* practice) { g_practice = practice; }

void LPracticeWritePreset(LRecord& rec) {
  if (g_practice) WritePracticePreset(rec, g_practice->Plan());
}

void LPracticeReadPreset(const LRecord& rec) {
  if (g_practice) g_practice->SetPlan(ReadPracticePreset(rec));
}

QString LPracticePresetText(const LRecord& rec) {
  const LPracticePlan plan = ReadPracticePreset(rec);
  return plan.AnyOn() ? LPracticePanel::Summary(plan) : QString();
}
