// What an export from the window renders: the sounds and levels the model
// plays with (read the way it reads them), with the window's tempo,
// subdivision and bar.
#pragma once

#include <string>

#include "model/Rhythm.h"

struct LClickTrackSettings {
  int tempo = 120;
  int subdivisions = 1;
  LRhythm rhythm;
  // Accent, beat, click: the file the model plays (the user's, or the
  // shipped one when the user's is missing or unusable) and its level in dB.
  std::string sound[3];
  int level[3] = {0, 0, 0};
  int downbeatLevel = rhythm_field::kDefaultDownbeatLevel;  // dB above the accent level
};

LClickTrackSettings LCurrentClickTrack(int tempo, int subdivisions, const LRhythm& rhythm);
