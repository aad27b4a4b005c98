#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/ClickGrid.h"
#include "engine/ClickScore.h"
#include "engine/MetronomeSource.h"
#include "tests/support/ExactGrid.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

namespace {

// The grid against the rule computed independently, at the ends of the
// ranges and 24 hours in; the click at a frame inverts it.
TEST(ClickGrid, FramesFollowTheRuleAndInvert) {
  const struct {
    int rate, bpm, clicksPerBeat;
    int64_t k;
  } cases[] = {
      {44100, 133, 1, 133LL * 60 * 24},
      {44100, 92, 3, 92LL * 3 * 60 * 24},
      {384000, 280, 8, 280LL * 8 * 60 * 24 + 7},
      {48000, 10, 1, 10LL * 60 * 24 + 1},
      {22050, 199, 7, 199LL * 7 * 60 * 24 + 3},
      {44100, 240, 2, 1},    // 5512.5 frames: the half rounds up
      {1, 280, 8, 1000003},  // slots of 0 and 1 frames
  };
  for (const auto& c : cases) {
    const LClickSegment g = LClickSegment::Make(1000, c.bpm, c.clicksPerBeat, c.rate);
    for (int64_t k : {c.k - 1, c.k, c.k + 1}) {
      const int64_t f = g.ClickFrame(k);
      ASSERT_EQ(f, 1000 + test::ExactClick(k, c.rate, c.bpm, c.clicksPerBeat)) << c.rate << " " << c.bpm;
      // The last click starting at or before f (several may share a frame).
      EXPECT_LE(g.ClickFrame(g.ClickAt(f)), f);
      EXPECT_GT(g.ClickFrame(g.ClickAt(f) + 1), f);
      EXPECT_GE(g.ClickAt(f), k);
    }
  }
  // 24 hours at 280 x 8 at the highest rate end on exactly 24 h of frames.
  EXPECT_EQ(LClickSegment::Make(0, 280, 8, 384000).ClickFrame(280LL * 8 * 60 * 24), 384000LL * 86400);
  EXPECT_EQ(LClickSegment::Make(5, 1, 1, 44100).ClickAt(4), -1);
  // Values from outside are clamped, never divided by zero.
  const LClickSegment z = LClickSegment::Make(-3, 0, 0, 0);
  EXPECT_EQ(z.startFrame, 0);
  EXPECT_EQ(z.ClickFrame(2), 120);
}

// Ten minutes of a short square click: every onset found in the output lies
// within one frame of the exact time, and there are exactly as many.
TEST(ClickGrid, TenMinuteOnsetsStayOnTheExactGrid) {
  test::TempDir dir;
  for (const char* name : {"accent.wav", "beat.wav", "click.wav"})
    ASSERT_TRUE(test::WriteFile(dir.File(name), test::PcmWav(std::vector<int32_t>(20, 8000), 1, 44100, 16)));
  LMetronomeAdvanced::SetDefaultSoundFolder(dir.Path());
  const struct { int bpm, clicksPerBeat; } cases[] = {{133, 1}, {92, 3}, {280, 8}, {10, 1}, {199, 7}};
  for (const auto& c : cases) {
    LMetronomeAdvanced m;
    m.m_measure = 4;
    m.SetTempo(c.bpm);
    m.SetSubDiv(c.clicksPerBeat - 1);
    LMetronomeAdvancedSource src(m);
    const int64_t frames = 44100LL * 600;
    std::vector<int> block(8192);
    int64_t onsets = 0, worstHalves = 0;
    int previous = 0;
    for (int64_t at = 0; at < frames; at += 8192) {
      src.Read(block.data(), 8192);
      for (int64_t i = 0; i < 8192 && at + i < frames; ++i) {
        const int v = block[static_cast<size_t>(i)];
        if (previous == 0 && v != 0) {
          const long double exact = static_cast<long double>(onsets) * 60 * 44100 / (c.bpm * c.clicksPerBeat);
          worstHalves = std::max<int64_t>(worstHalves, std::llround(fabsl(at + i - exact) * 2));
          ++onsets;
        }
        previous = v;
      }
    }
    EXPECT_LE(worstHalves, 1) << c.bpm << "/" << c.clicksPerBeat << ": worst error in half frames";
    EXPECT_EQ(onsets, 10LL * c.bpm * c.clicksPerBeat) << c.bpm << "/" << c.clicksPerBeat;
  }
}

TEST(ClickBeat, ANewBarKeepsTheBeatsPlaceOrStartsOnADownbeat) {
  const struct {
    int barBeat, beats, expected;
  } cases[] = {{2, 4, 2}, {3, 4, 3}, {4, 4, 0}, {6, 3, 0}, {0, 1, 0}, {5, 99, 5}, {5, 0, 0}};
  for (const auto& c : cases) {
    LClickBeat b;
    b.barBeat = c.barBeat;
    b.ChangeBar(c.beats);
    EXPECT_EQ(b.barBeat, c.expected) << c.barBeat << " into " << c.beats;
    EXPECT_GE(b.beatsPerBar, 1);
    EXPECT_LE(b.beatsPerBar, LClickBeat::kMaxBeatsPerBar);
  }
}

}  // namespace
