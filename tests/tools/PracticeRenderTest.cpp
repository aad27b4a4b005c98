#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/PracticePlan.h"
#include "tests/support/ExactGrid.h"
#include "tests/tools/RenderRig.h"

namespace {

constexpr int kRate = test::RenderRig::kRate;
constexpr char kLetter[3] = {'A', 'B', 'c'};

struct Onset {
  long long frame;
  char sound;
  bool operator==(const Onset&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Onset& o) { return os << o.sound << "@" << o.frame; }

// A stretch of one tempo and subdivision, beat by beat: one letter per beat
// for its first click ('A', 'B', or '-' for silence) and whether its other
// clicks sound. It starts where the previous stretch's next beat falls.
struct Stretch {
  int bpm, clicksPerBeat;
  std::string beats;
  bool clicks = true;
};

// Onsets straight from the rule: click k of a stretch at
// start + round(k * 60 * rate / (bpm * clicks per beat)). Also returns the
// frame where the last stretch's next beat would fall: the file's end.
std::vector<Onset> Expected(const std::vector<Stretch>& stretches, long long& end) {
  std::vector<Onset> out;
  long long start = 0;
  for (const Stretch& s : stretches) {
    const int n = s.clicksPerBeat;
    for (size_t beat = 0; beat < s.beats.size(); ++beat) {
      const char first = s.beats[beat];
      for (int sub = 0; sub < n; ++sub) {
        const long long at = start + test::ExactClick(static_cast<long long>(beat) * n + sub, kRate, s.bpm, n);
        if (first != '-' && (sub == 0 || s.clicks)) out.push_back({at, sub == 0 ? first : 'c'});
      }
    }
    start += test::ExactClick(static_cast<long long>(s.beats.size()) * n, kRate, s.bpm, n);
  }
  end = start;
  return out;
}

class PracticeRender : public ::testing::Test {
 protected:
  // Renders args and finds every onset: a non-zero frame after silence.
  std::vector<Onset> Render(std::vector<std::string> args, long long& frames) {
    // The downbeat at the accent's own level, so each onset names one of the three sounds.
    args.insert(args.end(), {"--downbeat-db", "0"});
    const std::vector<int> pcm = rig.Render(args);
    frames = static_cast<long long>(pcm.size());
    std::vector<Onset> onsets;
    for (size_t f = 0; f < pcm.size(); ++f) {
      if (pcm[f] == 0 || (f > 0 && pcm[f - 1] != 0)) continue;
      char sound = '?';
      for (int i = 0; i < 3; ++i)
        if (pcm[f] / 16 == test::RenderRig::kValues[i]) sound = kLetter[i];
      onsets.push_back({static_cast<long long>(f), sound});
    }
    return onsets;
  }

  test::RenderRig rig;
};

}  // namespace

TEST_F(PracticeRender, EveryOnsetWhereTheSegmentsPutIt) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::vector<Stretch> stretches;
  } cases[] = {
      {"count-in and a rising ramp, end tempo held for the rest of --bars",
       {"--count-in", "1", "--ramp", "100:120:10:2", "--bars", "7", "--measure", "4"},
       {{100, 1, "ABBBABBBABBB"}, {110, 1, "ABBBABBB"}, {120, 1, "ABBBABBBABBB"}}},
      {"count-in of beats only, then subdivisions; gap bars silence their clicks too",
       {"--tempo", "110", "--subdiv", "3", "--measure", "3", "--count-in", "2", "--gap", "1:1", "--bars", "4"},
       {{110, 1, "ABBABB"}, {110, 3, "ABB---ABB---"}}},
      {"falling ramp, step not dividing the span, stops after BARS at the end tempo",
       {"--ramp", "120:100:15:1", "--measure", "2", "--subdiv", "2"},
       {{120, 2, "AB"}, {105, 2, "AB"}, {100, 2, "AB"}}},
      {"count-in, ramp and gap together",
       {"--count-in", "1", "--ramp", "90:97:7:2", "--gap", "3:1", "--bars", "6", "--measure", "2"},
       {{90, 1, "ABABAB"}, {97, 1, "AB--ABAB"}}},
  };
  for (const auto& c : cases) {
    long long end = 0, frames = 0;
    const std::vector<Onset> expected = Expected(c.stretches, end);
    EXPECT_EQ(Render(c.args, frames), expected) << c.name;
    EXPECT_EQ(frames, end) << c.name;
  }
}

// Which beats a seed mutes is the plan's; the render must mute exactly
// those, every click of them, and nothing in the count-in.
TEST_F(PracticeRender, RandomMuteSilencesWholeBeatsAfterTheCountIn) {
  long long frames = 0;
  const std::vector<Onset> got = Render(
      {"--tempo", "150", "--subdiv", "2", "--measure", "4", "--count-in", "1", "--random-mute", "30:9", "--bars", "40"},
      frames);
  LPracticePlan plan;
  plan.randomMutePercent = 30;
  plan.randomSeed = 9;
  std::string bar = "ABBB", beats = bar;
  int muted = 0;
  for (int beat = 0; beat < 160; ++beat) {
    const bool m = plan.BeatMuted(beat);
    muted += m;
    beats += m ? '-' : bar[beat % 4];
  }
  EXPECT_GT(muted, 160 * 20 / 100);
  EXPECT_LT(muted, 160 * 40 / 100);
  long long end = 0;
  const std::vector<Onset> expected = Expected({{150, 1, beats.substr(0, 4)}, {150, 2, beats.substr(4)}}, end);
  EXPECT_EQ(got, expected);
  EXPECT_EQ(frames, end);
}
