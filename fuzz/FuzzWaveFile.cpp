// Opens arbitrary bytes as a sound file, reads, seeks and reads again.
#include <cstdint>
#include <vector>

#include "fuzz/MemoryFile.h"
#include "soundfile/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* path = FuzzMemoryFile(data, size);
  if (!path) return 0;

  LSoundSource s = LWaveFile::OpenSource(path);
  static std::vector<int> buf(8192 * 255);
  const int end = s->GetEndSample();
  s->Read(buf.data(), 1000);
  s->Read(buf.data(), 8192);
  s->Seek(end > 2 ? end / 2 : 0);
  s->Read(buf.data(), 777);
  s->Seek(-5);
  s->Read(buf.data(), 20);
  // A huge declared data size gives an end near the int limit: no room to go past it.
  if (end <= 0x7FFFFFFF - 100) {
    s->Seek(end + 100);
    s->Read(buf.data(), 3);
  }
  return 0;
}
