#include <gtest/gtest.h>

#include <vector>

#include "engine/MetronomeAdvanced.h"
#include "engine/MetronomeSource.h"
#include "tests/support/ClickOracle.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

namespace {

// A change asked for while the track plays lands on the first beat not yet
// rendered: the beat sounding at the change plays whole, the next one starts
// a full old beat after it, the new grid is exact from there and the bar
// goes on (a beat past the end of a shorter new bar becomes its downbeat).
TEST(ClickChange, LandsOnTheNextBeatWithoutRestartingTheBar) {
  test::TempDir dir;
  const int values[3] = {100, 200, 300};  // accent, beat, click
  const char* names[3] = {"accent.wav", "beat.wav", "click.wav"};
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(test::WriteFile(dir.File(names[i]), test::PcmWav(std::vector<int32_t>(200, values[i]), 1, 44100, 16)));
  LMetronomeAdvanced::SetDefaultSoundFolder(dir.Path());
  const struct {
    test::Meter before, after;
    int64_t at;  // frames rendered when the change is asked for
  } cases[] = {
      {{120, 1, "4"}, {133, 1, "4"}, 30000},           // tempo, mid-beat
      {{100, 1, "3"}, {100, 3, "3"}, 2 * 26460},       // subdivision, exactly on a beat
      {{90, 2, "7"}, {90, 2, "4"}, 5 * 29400 + 1},     // shorter bar: place 6 of 7 becomes a downbeat
      {{150, 1, "3"}, {150, 1, "5(2+3)"}, 17640 + 5},  // longer bar: place 2 is kept (an accent there)
      {{280, 8, "8"}, {10, 1, "None"}, 100000},        // everything at once, the extremes
      {{10, 1, "None"}, {280, 8, "7(4+3)"}, 1},
  };
  for (const auto& c : cases) {
    LMetronomeAdvanced m;
    m.m_measure = LMetronomeAdvanced::MeasureIndex(c.before.measure);
    m.SetTempo(c.before.bpm);
    m.SetSubDiv(c.before.clicksPerBeat - 1);
    LMetronomeAdvancedSource src(m);
    const int64_t until = c.at + 44100 * 20;
    std::vector<int> out(static_cast<size_t>(until));
    for (int64_t done = 0; done < until;) {
      if (done == c.at)
        src.MeasureScore()->Request(c.after.bpm, c.after.clicksPerBeat,
                                    LMetronomeAdvanced::MeasureIndex(c.after.measure));
      const int64_t n = std::min<int64_t>({777, until - done, done < c.at ? c.at - done : until});
      src.Read(out.data() + done, static_cast<int>(n));
      done += n;
    }
    EXPECT_EQ(test::Onsets(out, 1, 100, 200, 300, 16), test::ExpectedChange(44100, c.before, c.after, c.at, until))
        << c.before.measure << " -> " << c.after.measure << " at " << c.at;
  }
}

}  // namespace
