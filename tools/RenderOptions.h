// Command line of morvane-render, parsed into values without side effects so
// that every refusal can be tested.
#pragma once

#include <string>
#include <vector>

#include "engine/PracticePlan.h"
#include "soundfile/WaveWriter.h"
#include "tools/RhythmOptions.h"

struct RenderOptions {
  int tempo = 120;             // clamped to 10..280
  int measure = 0;             // row of the measure table nearest --measure (0 for others)
  RhythmRenderOptions rhythm;  // the bar: --measure, --pattern, --swing, --downbeat-db
  int subdivisions = 1;        // clicks per beat, 1..8
  double seconds = 30.0;
  bool secondsGiven = false;
  int rate = 0;  // frames a second of the track; 0 = the beat sound's
  int bars = 0;  // when > 0, the length in bars (overrides seconds)
  // Count-in, speed trainer, gap and random mute. The timer has no option:
  // --seconds is the render's.
  LPracticePlan practice;
  std::string sound[3];      // accent, beat, click; empty = shipped sound
  int level[3] = {0, 0, 0};  // dB, -127..127
  bool formatGiven = false;
  LWaveWriter::Format format = LWaveWriter::Format::S16;
  std::string output;
  bool help = false;
  bool version = false;
  // Device mode: list the output devices, or play through one instead of
  // writing a file.
  bool listDevices = false;
  bool play = false;
  std::string device;  // empty = the default output
  int volume = 0;      // output volume, dB, -127..127
};

enum RenderSound { kAccent = 0, kBeat = 1, kClick = 2 };

// False with a one-line reason in error when the arguments are unusable.
bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& options, std::string& error);
// Subdivision by name: "None" = 1, "2".."8".
int SubdivisionFromName(const std::string& name);
const char* RenderUsage();
