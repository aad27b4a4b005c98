#include "tools/PracticeRender.h"

#include "engine/PracticeScore.h"

LPracticePlan RenderPracticePlan(const RenderOptions& o) {
  LPracticePlan plan = o.practice;
  plan.ramp.stopAtEnd = plan.ramp.On() && o.bars == 0 && !o.secondsGiven;
  return plan;
}

std::unique_ptr<LClickScore> WrapPracticeScore(const RenderOptions& o, std::unique_ptr<LClickScore> inner) {
  const LPracticePlan plan = RenderPracticePlan(o);
  if (!plan.AnyOn()) return inner;
  return std::make_unique<LPracticeScore>(std::move(inner), plan);
}

bool PracticeRenderFrames(const RenderOptions& o, const LClickSegment& grid, int beatsPerBar, long long& frames) {
  const LPracticePlan plan = RenderPracticePlan(o);
  // --bars counts the bars after the count-in.
  const long long bars = o.bars > 0 ? plan.countInBars + o.bars : o.secondsGiven ? -1 : plan.TotalBars();
  if (bars < 0 || !plan.AnyOn()) return false;
  frames = LPracticeScore::BarFrame(plan, grid.bpm, grid.clicksPerBeat, beatsPerBar, grid.rate, bars);
  return true;
}
