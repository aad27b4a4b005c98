// MPEG audio Layer III reader, reached through WAV files with format tag 0x55.
#pragma once

#include "soundfile/SoundSource.h"

class LMP3File {
 public:
  // Opens the path itself and finds the MPEG frames in it.
  static LSoundSource OpenSource(const char* path, bool scanToEnd);
};
