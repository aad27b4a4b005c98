#include "tests/support/SourceReader.h"

#include <algorithm>

namespace test {

std::vector<int> ReadFrames(LSoundSource& source, int frames, int block) {
  const int ch = source->GetChannels();
  std::vector<int> out(static_cast<size_t>(frames) * ch);
  for (int done = 0; done < frames;) {
    const int n = std::min(block, frames - done);
    source->Read(out.data() + static_cast<size_t>(done) * ch, n);
    done += n;
  }
  return out;
}

}  // namespace test
