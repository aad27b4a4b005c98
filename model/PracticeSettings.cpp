#include "model/PracticeSettings.h"

#include <array>
#include <functional>

#include "store/Record.h"
#include "store/Settings.h"

namespace {

const char kSection[] = "Settings";
constexpr int kFieldCount = 11;

using Values = std::array<int, kFieldCount>;

constexpr const char* kNames[kFieldCount] = {
    practice_field::kCountIn,    practice_field::kRampStart,     practice_field::kRampEnd, practice_field::kRampStep,
    practice_field::kRampBars,   practice_field::kRampEndAction, practice_field::kGapPlay, practice_field::kGapMute,
    practice_field::kRandomMute, practice_field::kRandomSeed,    practice_field::kTimer};

Values ToValues(const LPracticePlan& p) {
  return {p.countInBars,       p.ramp.start,
          p.ramp.end,          p.ramp.step,
          p.ramp.bars,         p.ramp.stopAtEnd ? 1 : 0,
          p.gap.play,          p.gap.mute,
          p.randomMutePercent, static_cast<int>(p.randomSeed),
          p.timerSeconds};
}

// Each tool is checked on its own, so that one bad value turns off only
// the tool it belongs to.
LPracticePlan FromValues(const Values& v) {
  LPracticePlan p;
  p.randomSeed = static_cast<uint32_t>(v[9]);
  LPracticePlan t;
  t.countInBars = v[0];
  if (t.Check().empty()) p.countInBars = t.countInBars;
  t = {};
  t.ramp = {v[1], v[2], v[3], v[4], v[5] == 1};
  if (t.ramp.On() && t.Check().empty()) p.ramp = t.ramp;
  t = {};
  t.gap = {v[6], v[7]};
  if (t.gap.On() && t.Check().empty()) p.gap = t.gap;
  t = {};
  t.randomMutePercent = v[8];
  if (t.Check().empty()) p.randomMutePercent = t.randomMutePercent;
  t = {};
  t.timerSeconds = v[10];
  if (t.Check().empty()) p.timerSeconds = t.timerSeconds;
  // An off trainer keeps the values the user last gave it.
  if (!p.ramp.On()) p.ramp = {v[1], v[2], v[3], 0, v[5] == 1};
  return p;
}

LPracticePlan Read(const std::function<int(const char*)>& get) {
  Values v{};
  for (int i = 0; i < kFieldCount; ++i) v[i] = get(kNames[i]);
  return FromValues(v);
}

}  // namespace

LPracticePlan LoadPracticeSettings() {
  const LPracticePlan defaults;
  const Values d = ToValues(defaults);
  int i = 0;
  return Read([&](const char* name) { return LUserSettingGet<int>(kSection, name, d[i++]); });
}

void SavePracticeSettings(const LPracticePlan& plan) {
  const Values v = ToValues(plan);
  for (int i = 0; i < kFieldCount; ++i)
    if (LUserSettingGet<int>(kSection, kNames[i], v[i] ^ 1) != v[i]) LUserSettingSet<int>(kSection, kNames[i], v[i]);
}

LPracticePlan ReadPracticePreset(const LRecord& rec) {
  const Values d = ToValues(LPracticePlan{});
  int i = 0;
  return Read([&](const char* name) { return rec.GetInt(name, d[i++]); });
}

void WritePracticePreset(LRecord& rec, const LPracticePlan& plan) {
  bool has = false;
  for (const char* name : kNames) has = has || rec.GetString(name, "\x01") != "\x01";
  if (!plan.AnyOn() && !has) return;
  const Values v = ToValues(plan);
  for (int i = 0; i < kFieldCount; ++i) rec.SetInt(kNames[i], v[i]);
}
