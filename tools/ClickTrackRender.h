// Renders a click track to a WAV file through the same chain the player uses:
// sounds -> gain at their levels -> click-track source -> peak limiter.
#pragma once

#include <string>

#include "tools/RenderOptions.h"

struct RenderSummary {
  long long frames = 0;
  int sampleRate = 0;
  int channels = 0;
  int clickInterval = 0;  // frames
};

// soundFolder holds the shipped accent.wav, beat.wav and click.wav.
bool RenderClickTrack(const RenderOptions& options, const std::string& soundFolder, RenderSummary& summary,
                      std::string& error);
