// Opens arbitrary bytes as an MPEG audio file (both opening modes), reads to
// the end in uneven blocks, seeks and reads again; every sample must stay
// within the source's peak.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/MemoryFile.h"
#include "soundfile/MP3File.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* path = FuzzMemoryFile(data, size);
  if (!path) return 0;

  // The last byte picks the opening mode, so that the walk over all frames runs too.
  LSoundSource s = LMP3File::OpenSource(path, size > 0 && (data[size - 1] & 1));
  if (s->GetError() != 0) return 0;
  static std::vector<int> buf(8192 * 2);
  const int peak = s->GetPeak();
  auto read = [&](int frames) {
    s->Read(buf.data(), frames);
    for (int i = 0; i < frames * s->GetChannels(); ++i)
      if (buf[static_cast<size_t>(i)] > peak || buf[static_cast<size_t>(i)] < -peak) std::abort();
  };
  for (int round = 0; round < 64 && s->GetPositionSample() < s->GetEndSample(); ++round) read(1000 + round * 97);
  const int end = s->GetEndSample();
  s->Seek(end > 2 ? end / 2 : 0);
  read(4000);
  s->Seek(-5);
  read(2000);
  s->Seek(end + 100);
  read(3);
  return 0;
}
