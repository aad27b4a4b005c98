// The bar options of morvane-render: --measure, --pattern, --swing and
// --downbeat-db, each parsed on its own so the option table stays one row
// per option and every refusal names its option.
#pragma once

#include <string>

#include "engine/BeatPattern.h"

struct RhythmRenderOptions {
  LMeasure measure;  // "None" until --measure
  bool patternGiven = false;
  LBeatPattern pattern;  // --pattern: overrides the measure's accents and length
  int swing = kSwingStraight;
  int downbeatDb = 4;  // the downbeat's level above the accent level, dB
  // The bar that plays.
  LBeatPattern Bar() const { return patternGiven ? pattern : measure.Pattern(); }
};

bool ParseMeasureOption(const std::string& value, RhythmRenderOptions& r, std::string& error);
bool ParsePatternOption(const std::string& value, RhythmRenderOptions& r, std::string& error);
bool ParseSwingOption(const std::string& value, RhythmRenderOptions& r, std::string& error);
bool ParseDownbeatOption(const std::string& value, RhythmRenderOptions& r, std::string& error);
