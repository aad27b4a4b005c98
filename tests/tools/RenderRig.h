// morvane-render's own parser and renderer run on a command line, with three
// constant sounds, so that every onset in the output names its sound.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "soundfile/WaveFile.h"
#include "tests/support/SourceReader.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"
#include "tools/ClickTrackRender.h"
#include "tools/RenderOptions.h"

namespace test {

class RenderRig {
 public:
  static constexpr int kRate = 44100, kSoundFrames = 120;
  static constexpr int kValues[3] = {1000, 3000, 5000};  // 16-bit accent, beat and click

  RenderRig() {
    for (int i = 0; i < 3; ++i)
      EXPECT_TRUE(WriteFile(Sound(i), PcmWav(std::vector<int32_t>(kSoundFrames, kValues[i]), 1, kRate, 16)));
  }
  std::string Sound(int i) const { return dir.File("s" + std::to_string(i) + ".wav"); }
  // The samples of the track args render with the three sounds.
  std::vector<int> Render(std::vector<std::string> args) const {
    for (int i = 0; i < 3; ++i)
      args.insert(args.end(), {i == 0 ? "--accent" : i == 1 ? "--beat" : "--click", Sound(i)});
    args.insert(args.end(), {"-o", dir.File("out.wav")});
    RenderOptions o;
    RenderSummary summary;
    std::string error;
    EXPECT_TRUE(ParseRenderOptions(args, o, error)) << error;
    EXPECT_TRUE(RenderClickTrack(o, dir.Path(), summary, error)) << error;
    LSoundSource s = LWaveFile::OpenSource(dir.File("out.wav").c_str());
    return ReadFrames(s, s->GetEndSample(), 8192);
  }

  TempDir dir;
};

}  // namespace test
