#include <gtest/gtest.h>

#include "soundfile/WaveFile.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

TEST(WaveFile, MissingFileIsCode4) {
  LSoundSource s = LWaveFile::OpenSource("/nonexistent/x.wav");
  EXPECT_EQ(s->GetError(), kSourceOpenFailed);
  EXPECT_EQ(s.GetEnd().GetMilliseconds(), 0);
}
