// Renders a click track to a WAV file through the same chain the player uses:
// sounds -> gain at their levels -> click-track source -> peak limiter.
#pragma once

#include <functional>
#include <string>

#include "engine/ClickGrid.h"
#include "soundfile/SoundSource.h"
#include "tools/RenderOptions.h"

struct RenderSummary {
  long long frames = 0;
  int sampleRate = 0;
  int channels = 0;
  int clickInterval = 0;  // frames of the first slot; later ones may be a frame longer
  LClickSegment grid;     // where every click starts
  // The loudest sample the track can hold: its loudest sound's, as every
  // slot plays one sound or silence; INT_MAX when not known exactly.
  int peak = 0;
  bool cancelled = false;  // the progress callback stopped the render
};

// Called between blocks with frames done and the total; false cancels the
// render, which then leaves no file.
using RenderProgress = std::function<bool(long long done, long long total)>;

// The bar the options play: --pattern, else --measure's (or the measure
// index's) accents.
LBeatPattern RenderedBar(const RenderOptions& options);

// The click track of the options, unlimited (the player puts its own limiter
// in front), its sounds read into memory; fills summary's rate, channels,
// click interval and peak.
bool BuildClickTrack(const RenderOptions& options, const std::string& soundFolder, LSoundSource& track,
                     RenderSummary& summary, std::string& error);

// soundFolder holds the shipped accent.wav, beat.wav and click.wav.
bool RenderClickTrack(const RenderOptions& options, const std::string& soundFolder, RenderSummary& summary,
                      std::string& error, const RenderProgress& progress = {});
