// Opens arbitrary bytes as a sound file, reads, seeks and reads again.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "soundfile/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The opener takes a path: hand it an in-memory file.
  static const int fd = memfd_create("fuzz.wav", 0);
  static char path[64];
  if (fd < 0) return 0;
  if (!path[0]) std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;

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
