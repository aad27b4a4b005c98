// The practice options of morvane-render: the plan they describe, the score
// that plays it and where the file ends.
#pragma once

#include <memory>

#include "engine/ClickGrid.h"
#include "engine/ClickScore.h"
#include "engine/PracticePlan.h"
#include "tools/RenderOptions.h"

// The options' plan. A speed trainer stops at its end when neither --bars
// nor --seconds gives the length, and holds the end tempo otherwise.
LPracticePlan RenderPracticePlan(const RenderOptions& options);
// inner under the plan, or inner itself when no practice option is on.
std::unique_ptr<LClickScore> WrapPracticeScore(const RenderOptions& options, std::unique_ptr<LClickScore> inner);
// Frames of the file when the plan decides them (a count-in before --bars,
// or a trainer that stops); false when the plain rules apply.
bool PracticeRenderFrames(const RenderOptions& options, const LClickSegment& grid, int beatsPerBar, long long& frames);
