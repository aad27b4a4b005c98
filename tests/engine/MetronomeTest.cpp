#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/MetronomeAdvanced.h"
#include "engine/MetronomeSource.h"
#include "soundfile/WaveFile.h"
#include "tests/support/ClickOracle.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

namespace {

// Each sound is a constant 16-bit value so that every onset names its sound.
constexpr int kAccent = 100, kBeat = 200, kClick = 300;

struct Sounds {
  test::TempDir dir;
  // frames of accent, beat, click; channels of each; rate of each.
  Sounds(int accentFrames = 3000, int beatFrames = 3000, int clickFrames = 3000, int rate = 44100,
         int accentChannels = 1) {
    Write("accent.wav", kAccent, accentFrames, accentChannels, rate);
    Write("beat.wav", kBeat, beatFrames, 1, rate);
    Write("click.wav", kClick, clickFrames, 1, rate);
    LMetronomeAdvanced::SetDefaultSoundFolder(dir.Path());
  }
  void Write(const char* name, int value, int frames, int channels, int rate) {
    std::vector<int32_t> s;
    for (int f = 0; f < frames; ++f)
      for (int c = 0; c < channels; ++c) s.push_back(c == 0 ? value : -value);
    ASSERT_TRUE(test::WriteFile(dir.File(name), test::PcmWav(s, channels, rate, 16)));
  }
};

LMetronomeAdvanced Make(int tempo, int measure, int subdivisions) {
  LMetronomeAdvanced m;
  m.m_measure = measure;
  m.SetTempo(tempo);
  m.SetSubDiv(subdivisions - 1);
  return m;
}

using test::ExpectedBar;

std::vector<int> Render(LMetronomeAdvanced& m, int frames, const std::vector<int>& blocks, int* channels = nullptr) {
  LMetronomeAdvancedSource src(m);
  const int ch = src.GetChannels();
  if (channels) *channels = ch;
  std::vector<int> out(static_cast<size_t>(frames) * ch, -1);
  size_t k = 0;
  for (int done = 0; done < frames;) {
    const int n = std::min(blocks[k++ % blocks.size()], frames - done);
    src.Read(out.data() + static_cast<size_t>(done) * ch, n);
    done += n;
    const int left = src.GetEndSample() - src.GetPositionSample();
    EXPECT_GE(left, 1);
    EXPECT_LE(left, src.GetEndSample());
  }
  return out;
}

}  // namespace

// Which sound every slot plays, read from the output (each sound is its own
// constant), against the pattern spelled from the measure's name.
TEST(ClickTrack, EveryMeasureAndSubdivisionAccentsItsGroups) {
  Sounds sounds(50, 50, 50);
  for (int measure = 0; measure < LMetronomeAdvanced::kMeasureCount; ++measure)
    for (int sub = 1; sub <= 8; ++sub) {
      LMetronomeAdvanced m = Make(120, measure, sub);
      const std::string bar = ExpectedBar(LMetronomeAdvanced::MeasureName(measure), sub);
      const int slots = static_cast<int>(3 * bar.size());
      const std::vector<int> out = Render(m, static_cast<int>(test::ExactClick(slots, 44100, 120, sub)), {4096});
      std::string got;
      for (int k = 0; k < slots; ++k) {
        const int v = out[static_cast<size_t>(test::ExactClick(k, 44100, 120, sub))] / 16;
        got += v == kAccent ? 'A' : v == kBeat ? 'B' : v == kClick ? 'c' : '?';
      }
      EXPECT_EQ(got, bar + bar + bar) << LMetronomeAdvanced::MeasureName(measure) << " / " << sub;
    }
}

// Slots alternate between two lengths; a sound longer than half its own
// slot is cut there (the cut follows the slot, not a fixed interval), a
// shorter one plays whole; silence fills the rest of the slot.
TEST(ClickTrack, SoundsPlayWholeOrAreCutToHalfTheirOwnSlot) {
  Sounds sounds(3000, 3000, 300);
  LMetronomeAdvanced m = Make(280, 0, 8);  // 1181.25 frames a slot: beat, then seven clicks
  const std::vector<int> out = Render(m, static_cast<int>(test::ExactClick(17, 44100, 280, 8)), {999});
  for (int k = 0; k < 16; ++k) {
    const int64_t start = test::ExactClick(k, 44100, 280, 8), end = test::ExactClick(k + 1, 44100, 280, 8);
    const int64_t length = k % 8 == 0 ? (end - start) / 2 : 300;
    for (int64_t f = start; f < end; ++f)
      ASSERT_EQ(out[static_cast<size_t>(f)], f - start < length ? (k % 8 == 0 ? kBeat : kClick) * 16 : 0)
          << "slot " << k << " frame " << f;
  }
}

TEST(ClickTrack, IndependentOfBlockSizes) {
  Sounds sounds(5000, 4000, 3000);
  const int frames = 200000;
  LMetronomeAdvanced base = Make(203, 9, 3);
  const std::vector<int> whole = Render(base, frames, {8192});
  std::mt19937 rng(3);
  std::vector<int> random;
  for (int i = 0; i < 500; ++i) random.push_back(1 + static_cast<int>(rng() % 3000));
  for (const std::vector<int>& blocks : {std::vector<int>{1}, {7}, {512}, {8192}, random}) {
    LMetronomeAdvanced m = Make(203, 9, 3);
    ASSERT_EQ(Render(m, frames, blocks), whole) << "first block " << blocks[0];
  }
}

TEST(ClickTrack, WidensSoundsWithFewerChannels) {
  Sounds sounds(300, 300, 300, 44100, 2);  // stereo accent, mono beat and click
  LMetronomeAdvanced m = Make(120, 3, 2);
  int channels = 0;
  const size_t click = static_cast<size_t>(test::ExactClick(1, 44100, 120, 2)) * 2;
  const std::vector<int> out = Render(m, static_cast<int>(click), {1000}, &channels);
  ASSERT_EQ(channels, 2);
  EXPECT_EQ(out[0], kAccent * 16);
  EXPECT_EQ(out[1], -kAccent * 16);
  EXPECT_EQ(out[click], kClick * 16);  // mono repeated on both channels
  EXPECT_EQ(out[click + 1], kClick * 16);
}

TEST(ClickTrack, FailedAndDegenerateSounds) {
  {
    test::TempDir empty;
    LMetronomeAdvanced::SetDefaultSoundFolder(empty.Path());
    LMetronomeAdvanced m = Make(120, 0, 1);
    LMetronomeAdvancedSource src(m);
    EXPECT_EQ(src.GetError(), kSourceOpenFailed);
    EXPECT_EQ(src.GetChannels(), 1);
    EXPECT_EQ(src.GetSampleRate(), 44100);
  }
  // A sound with no frames: its slots are silence and rendering still advances.
  Sounds sounds(0, 0, 0);
  LMetronomeAdvanced m = Make(280, 3, 8);
  ASSERT_EQ(m.m_beatSound->GetError(), 0);
  const std::vector<int> out = Render(m, 50000, {777});
  for (int v : out) ASSERT_EQ(v, 0);
  // A beat sound at 1 Hz has no click grid at all: silence, no hang.
  Sounds slow(10, 10, 10, 1);
  LMetronomeAdvanced s = Make(280, 0, 8);
  for (int v : Render(s, 1000, {100})) ASSERT_EQ(v, 0);
}
