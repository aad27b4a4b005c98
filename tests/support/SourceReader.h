// Pulls a source the way a consumer does, in blocks of a chosen size.
#pragma once

#include <vector>

#include "soundfile/SoundSource.h"

namespace test {

// frames * channels ints read in blocks of at most block frames.
std::vector<int> ReadFrames(LSoundSource& source, int frames, int block);

}  // namespace test
