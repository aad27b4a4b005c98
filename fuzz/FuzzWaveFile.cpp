// Opens arbitrary bytes as a sound file, reads, seeks and reads again. The
// compressed readers' samples stay 16-bit values x 16, whatever the bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/MemoryFile.h"
#include "soundfile/GSMWaveSource.h"
#include "soundfile/IMASoundSource.h"
#include "soundfile/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* path = FuzzMemoryFile(data, size);
  if (!path) return 0;

  LSoundSource s = LWaveFile::OpenSource(path);
  static std::vector<int> buf(8192 * 255);
  const bool bounded = dynamic_cast<LIMASoundSource*>(s.Get()) || dynamic_cast<LGSMWaveSource*>(s.Get());
  auto read = [&](int frames) {
    s->Read(buf.data(), frames);
    for (int i = 0; bounded && i < frames; ++i)
      if (buf[static_cast<size_t>(i)] > 524288 || buf[static_cast<size_t>(i)] < -524288) std::abort();
  };
  const int end = s->GetEndSample();
  read(1000);
  read(8192);
  s->Seek(end > 2 ? end / 2 : 0);
  read(777);
  s->Seek(-5);
  read(20);
  // A huge declared data size gives an end near the int limit: no room to go past it.
  if (end <= 0x7FFFFFFF - 100) {
    s->Seek(end + 100);
    read(3);
  }
  return 0;
}
