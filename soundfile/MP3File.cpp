#include "soundfile/MP3File.h"

#include "soundfile/MP3Source.h"

LSoundSource LMP3File::OpenSource(const char* path, bool scanToEnd) {
  return LSoundSource(new LMP3Source(path, scanToEnd));
}
