// libFuzzer target for the MP3 reader: the input becomes a file that is
// opened, read to its end and sought in. Build with -DMORVANE_FUZZ=ON and clang.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "soundfile/MP3File.h"

namespace {

const std::string& FuzzFile() {
  static const std::string path = [] {
    char name[] = "/tmp/morvane-mp3fuzz-XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    return std::string(name);
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* f = std::fopen(FuzzFile().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  // The last input byte also picks the scan mode, so both opening paths run.
  LSoundSource s = LMP3File::OpenSource(FuzzFile().c_str(), size > 0 && (data[size - 1] & 1));
  if (s->GetError() != 0) return 0;
  std::vector<int> block(8192 * 2);
  const int peak = s->GetPeak();
  for (int round = 0; round < 64 && s->GetPositionSample() < s->GetEndSample(); ++round) {
    s->Read(block.data(), 1000 + round * 97);
    for (int v : block)
      if (v > peak || v < -peak) std::abort();
  }
  s->Seek(s->GetEndSample() / 2);
  s->Read(block.data(), 4000);
  s->Seek(-100);
  s->Read(block.data(), 4000);
  return 0;
}
