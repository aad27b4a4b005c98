// Rendered bars against what their pattern strings say: every slot's sound
// and onset frame is worked out here from the letters, the grid rule and the
// swing rule, then looked up in the file.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/ClickScore.h"
#include "engine/MetronomeSource.h"
#include "tests/support/ExactGrid.h"
#include "tests/tools/RenderRig.h"

namespace {

constexpr const int* kValues = test::RenderRig::kValues;
constexpr int kRate = test::RenderRig::kRate;

// One expected onset: its frame and its 16-bit value (0: the slot is silent).
struct Onset {
  int64_t frame;
  int value;
};

// The bar's slots from the letters: D, A, b sound on the beat (D at the
// downbeat's level), the sub-clicks of a sounding beat click, and a muted
// beat is silent throughout; eighths and sixteenths swing their off-beats.
std::vector<Onset> Expected(const std::string& bar, int bars, int bpm, int subdivisions, int swing, int downbeatDb,
                            int accentDb) {
  const int accent = static_cast<int>(std::lround(kValues[0] * std::pow(10.0, accentDb / 20.0)));
  const int downbeat = static_cast<int>(std::lround(accent * std::pow(10.0, downbeatDb / 20.0)));
  std::vector<Onset> onsets;
  const bool swung = swing > 50 && (subdivisions == 2 || subdivisions == 4);
  for (int k = 0; k < bars * int(bar.size()); ++k) {
    const char c = bar[size_t(k) % bar.size()];
    const int64_t beatFrame = test::ExactClick(int64_t(k) * subdivisions, kRate, bpm, subdivisions);
    for (int j = 0; j < subdivisions; ++j) {
      int64_t at = test::ExactClick(int64_t(k) * subdivisions + j, kRate, bpm, subdivisions);
      if (swung && j % 2 == 1) {
        const double beats = subdivisions == 2 ? swing / 100.0 : (j / 2) * 0.5 + swing / 200.0;
        at = beatFrame + std::llround(beats * 60.0 * kRate / bpm);
      }
      int value = c == '.' ? 0 : j > 0 ? kValues[2] : c == 'D' ? downbeat : c == 'A' ? accent : kValues[1];
      onsets.push_back({at, value});
    }
  }
  return onsets;
}

TEST(RhythmRender, BarsPlayWhatTheirLettersSay) {
  const test::RenderRig rig;
  const struct {
    std::vector<std::string> args;
    std::string bar;                                         // the letters the bar is expected to play
    int bpm, subdivisions, swing, downbeatDb, accentDb = 0;  // the downbeat's level is the accent's plus its own
  } cases[] = {
      {{"--measure", "9(2+2+2+3)"}, "DbAbAbAbb", 133, 1, 50, 4},
      {{"--measure", "15", "--subdiv", "3", "--downbeat-db", "7"}, "Dbbbbbbbbbbbbbb", 200, 3, 50, 7},
      {{"--measure", "7(2+2+3)", "--pattern", "D.bA..b", "--subdiv", "2"}, "D.bA..b", 92, 2, 50, 4},
      {{"--pattern", "DbAb", "--subdiv", "2", "--swing", "66"}, "DbAb", 60, 2, 66, 4},
      {{"--pattern", "Db.A", "--subdiv", "4", "--swing", "60"}, "Db.A", 111, 4, 60, 4},
      {{"--pattern", "A", "--subdiv", "3", "--swing", "75"}, "A", 280, 3, 75, 4},  // triplets never swing
      {{"--measure", "None", "--subdiv", "2"}, "b", 75, 2, 50, 4},
      {{"--pattern", "DA", "--accent-db", "-6"}, "DA", 100, 1, 50, 4, -6},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--tempo", std::to_string(c.bpm), "--bars", "3"});
    const std::vector<int> out = rig.Render(args);
    const std::vector<Onset> onsets = Expected(c.bar, 3, c.bpm, c.subdivisions, c.swing, c.downbeatDb, c.accentDb);
    const std::string name = c.args[0] + " " + c.args[1];
    ASSERT_EQ(int64_t(out.size()),
              test::ExactClick(3 * int64_t(c.bar.size()) * c.subdivisions, kRate, c.bpm, c.subdivisions))
        << name << ": ends on the bar line";
    for (size_t i = 0; i < onsets.size(); ++i) {
      const Onset& o = onsets[i];
      const int64_t end = i + 1 < onsets.size() ? onsets[i + 1].frame : int64_t(out.size());
      if (o.value == 0) {
        for (int64_t f = o.frame; f < end; ++f) ASSERT_EQ(out[size_t(f)], 0) << name << " slot " << i << " frame " << f;
        continue;
      }
      EXPECT_NEAR(out[size_t(o.frame)] / 16, o.value, 2) << name << " slot " << i;
      if (o.frame > 0) {
        EXPECT_EQ(out[size_t(o.frame) - 1], 0) << name << " slot " << i << " starts late or early";
      }
    }
  }
}

// Today's twelve measures sound as the measure table voices them, sample for
// sample, with the downbeat at the accent's level.
TEST(RhythmRender, TodaysMeasuresUnchanged) {
  const test::RenderRig rig;
  for (int m = 0; m < LMetronomeAdvanced::kMeasureCount; ++m) {
    const std::string name = LMetronomeAdvanced::MeasureName(m);
    const std::vector<int> now =
        rig.Render({"--measure", name, "--downbeat-db", "0", "--subdiv", "2", "--tempo", "133", "--seconds", "6"});
    LMetronomeAdvanced::SetDefaultSoundFolder(rig.dir.Path());
    LMetronomeAdvanced metronome;
    for (int i = 0; i < 3; ++i) {
      LSoundSource* slot[3] = {&metronome.m_accentSound, &metronome.m_beatSound, &metronome.m_clickSound};
      *slot[i] = LWaveFile::OpenSource(rig.Sound(i).c_str());
    }
    metronome.m_measure = m;
    metronome.SetTempo(133);
    metronome.SetSubDiv(1);
    LSoundSource table(new LMetronomeAdvancedSource(metronome));
    const std::vector<int> before = test::ReadFrames(table, int(now.size()), 8192);
    EXPECT_TRUE(now == before) << name;
  }
}

}  // namespace
