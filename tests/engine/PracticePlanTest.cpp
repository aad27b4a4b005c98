#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/MetronomeAdvanced.h"
#include "engine/PracticePlan.h"
#include "engine/PracticeScore.h"

namespace {

LPracticePlan Plan(int countIn, LPracticeRamp ramp = {}, LPracticeGap gap = {}) {
  LPracticePlan p;
  p.countInBars = countIn;
  p.ramp = ramp;
  p.gap = gap;
  return p;
}

}  // namespace

TEST(PracticePlan, TempoOfEachBar) {
  const struct {
    const char* name;
    LPracticePlan plan;
    std::vector<int> tempos;  // bar 0 on, count-in included
  } cases[] = {
      {"no trainer keeps the set tempo", Plan(1), {90, 90, 90}},
      {"count-in at the start tempo", Plan(1, {100, 140, 4, 2}), {100, 100, 100, 104, 104, 108}},
      {"step not dividing the span ends on the end tempo", Plan(0, {100, 110, 4, 1}), {100, 104, 108, 110, 110}},
      {"falling ramp", Plan(2, {140, 100, 15, 1}), {140, 140, 140, 125, 110, 100, 100}},
      {"start equals end", Plan(0, {120, 120, 5, 3}), {120, 120, 120, 120}},
  };
  for (const auto& c : cases) {
    std::vector<int> got;
    for (size_t bar = 0; bar < c.tempos.size(); ++bar) got.push_back(c.plan.TempoOfBar(bar, 90));
    EXPECT_EQ(got, c.tempos) << c.name;
  }
}

TEST(PracticePlan, MutedBarsAndLength) {
  const struct {
    const char* name;
    LPracticePlan plan;
    std::string muted;  // bar 0 on: '-' sounds, 'm' muted
    long long total;
  } cases[] = {
      {"gap after a count-in", Plan(1, {}, {2, 1}), "---m--m--m", -1},
      {"gap 1:3", Plan(0, {}, {1, 3}), "-mmm-mmm", -1},
      {"no gap", Plan(4), "--------", -1},
      {"ramp that holds", Plan(1, {100, 110, 4, 1}), "------", -1},
      {"ramp that stops: 4 tempos of 2 bars after 2 count-in bars", Plan(2, {100, 110, 4, 2, true}), "----", 10},
  };
  for (const auto& c : cases) {
    std::string got;
    for (size_t bar = 0; bar < c.muted.size(); ++bar) got += c.plan.BarMuted(bar) ? 'm' : '-';
    EXPECT_EQ(got, c.muted) << c.name;
    EXPECT_EQ(c.plan.TotalBars(), c.total) << c.name;
  }
}

TEST(PracticePlan, NextChangeCountsDownToTheNextTempo) {
  const LPracticePlan plan = Plan(1, {120, 128, 4, 2});  // bars: CI, 120, 120, 124, 124, 128...
  const struct {
    long long bar;
    bool ahead;
    int barsLeft, next;
  } cases[] = {{0, true, 3, 124}, {1, true, 2, 124}, {2, true, 1, 124}, {3, true, 2, 128},
               {4, true, 1, 128}, {5, false, 0, 0},  {50, false, 0, 0}};
  for (const auto& c : cases) {
    int left = 0, next = 0;
    EXPECT_EQ(plan.NextChange(c.bar, left, next), c.ahead) << c.bar;
    EXPECT_EQ(c.ahead ? left : 0, c.barsLeft) << c.bar;
    EXPECT_EQ(c.ahead ? next : 0, c.next) << c.bar;
  }
}

TEST(PracticePlan, RandomMuteIsReproducibleAndNearItsPercent) {
  for (int percent : {0, 10, 25, 50}) {
    LPracticePlan a, b, other;
    a.randomMutePercent = b.randomMutePercent = other.randomMutePercent = percent;
    a.randomSeed = b.randomSeed = 7;
    other.randomSeed = 8;
    int muted = 0, differ = 0;
    const int beats = 20000;
    for (int beat = 0; beat < beats; ++beat) {
      muted += a.BeatMuted(beat);
      EXPECT_EQ(a.BeatMuted(beat), b.BeatMuted(beat));
      differ += a.BeatMuted(beat) != other.BeatMuted(beat);
    }
    // Binomial spread over 20000 beats is under 0.4 %; 1.5 % is a wide margin.
    EXPECT_NEAR(100.0 * muted / beats, percent, 1.5) << percent;
    if (percent > 0) {
      EXPECT_GT(differ, beats * percent / 200) << "seeds 7 and 8 mute the same beats";
    }
  }
}

// Ramps, gaps and random mutes as text: the renders of them check what they parse to.
TEST(PracticePlan, ParsesTheTextForms) {
  int n = 0, percent = 0;
  uint32_t seed = 0;
  std::string error;
  ASSERT_TRUE(LPracticePlan::ParseRandomMute("50:4294967295", percent, seed, error)) << error;
  EXPECT_EQ(seed, 4294967295u);
  ASSERT_TRUE(LPracticePlan::ParseRandomMute("20", percent, seed, error)) << error;
  EXPECT_EQ(seed, 1u);  // a fixed seed keeps renders without one reproducible
  const struct {
    const char* text;
    int seconds;
  } timers[] = {{"0:01", 1}, {"5:00", 300}, {"90:00", 5400}, {"1:30:05", 5405}, {"24:00:00", 86400}};
  for (const auto& t : timers) {
    ASSERT_TRUE(LPracticePlan::ParseTimer(t.text, n, error)) << t.text << error;
    EXPECT_EQ(n, t.seconds) << t.text;
  }
  EXPECT_EQ(LPracticePlan::FormatTime(5405), "1:30:05");
  EXPECT_EQ(LPracticePlan::FormatTime(59), "0:59");
  EXPECT_EQ(LPracticePlan::FormatTime(600), "10:00");
}

TEST(PracticePlan, RefusesBadValuesNamingThePart) {
  const struct {
    char kind;  // c count-in, r ramp, g gap, m random mute, t timer
    const char* text;
    const char* reason;
  } cases[] = {
      {'c', "5", "0 to 4"},
      {'c', "one", "0 to 4"},
      {'r', "100:140:0:2", "step"},
      {'r', "100:140:4:0", "bars"},
      {'r', "100:300:4:2", "end tempo"},
      {'r', "9:140:4:2", "start tempo"},
      {'r', "100:140:4", "START:END:STEP:BARS"},
      {'r', "100:140:4.5:2", "step"},
      {'g', "0:0", "bars played"},
      {'g', "4:0", "bars muted"},
      {'g', "17:1", "bars played"},
      {'g', "4", "PLAY:MUTE"},
      {'m', "51", "percent"},
      {'m', "20:x", "seed"},
      {'m', "20:4294967296", "seed"},
      {'m', "20:1:2", "PERCENT"},
      {'t', "0:00", "mm:ss"},
      {'t', "24:00:01", "24:00:00"},
      {'t', "5:60", "mm:ss"},
  };
  for (const auto& c : cases) {
    LPracticeRamp ramp{1, 2, 3, 4};
    LPracticeGap gap{5, 6};
    int n = 77, percent = 77;
    uint32_t seed = 77;
    std::string error;
    bool ok = true;
    switch (c.kind) {
      case 'c': ok = LPracticePlan::ParseCountIn(c.text, n, error); break;
      case 'r': ok = LPracticePlan::ParseRamp(c.text, ramp, error); break;
      case 'g': ok = LPracticePlan::ParseGap(c.text, gap, error); break;
      case 'm': ok = LPracticePlan::ParseRandomMute(c.text, percent, seed, error); break;
      case 't': ok = LPracticePlan::ParseTimer(c.text, n, error); break;
    }
    EXPECT_FALSE(ok) << c.text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << ": " << error;
    // Nothing is stored from a refused value.
    EXPECT_EQ(ramp, (LPracticeRamp{1, 2, 3, 4}));
    EXPECT_EQ(gap, (LPracticeGap{5, 6}));
    EXPECT_EQ(n + percent + int(seed), 231);
  }
  LPracticePlan plan = Plan(1, {100, 140, 0, 2});
  EXPECT_NE(plan.Check().find("step"), std::string::npos);
  plan = Plan(1, {}, {0, 3});
  EXPECT_NE(plan.Check().find("gap"), std::string::npos);
  EXPECT_EQ(Plan(4, {280, 10, 270, 999}, {16, 16}).Check(), "");
}

// The score as the click-track source drives it: one BeginBeat per beat,
// then the sound of each click; what the window reads back through Heard.
TEST(PracticeScore, BeatsOfCountInRampAndGapAndWhatIsHeard) {
  LPracticePlan plan = Plan(1, {100, 110, 10, 1}, {1, 1});
  LPracticeScore score(std::make_unique<LMeasureScore>(LMetronomeAdvanced::MeasureIndex("3")), plan);
  LClickBeat beat;
  beat.bpm = 90;
  beat.clicksPerBeat = 2;
  beat.beatsPerBar = score.BeatsPerBar();
  beat.barBeat = -1;
  std::string heard;
  const char letters[] = "-ABc";
  for (int i = 0; i < 12; ++i) {
    beat.index = i;
    beat.frame = i * 1000;
    beat.barBeat = (beat.barBeat + 1) % beat.beatsPerBar;
    score.BeginBeat(beat);
    heard += std::to_string(beat.bpm) + ":";
    for (int sub = 0; sub < beat.clicksPerBeat; ++sub) heard += letters[static_cast<int>(score.SoundAt(beat, sub))];
    heard += " ";
  }
  EXPECT_EQ(heard, "100:A 100:B 100:B 100:Ac 100:Bc 100:Bc 110:-- 110:-- 110:-- 110:Ac 110:Bc 110:Bc ");
  const struct {
    int64_t frame;
    bool found;
    int64_t bar;
    int barBeat;
    bool countIn, muted;
  } reads[] = {{-1, false, 0, 0, false, false},  {0, true, 0, 0, true, false},    {2999, true, 0, 2, true, false},
               {3000, true, 1, 0, false, false}, {7500, true, 2, 1, false, true}, {99999, true, 3, 2, false, false}};
  for (const auto& r : reads) {
    LPracticeBeat b;
    ASSERT_EQ(score.Heard(r.frame, b), r.found) << r.frame;
    if (!r.found) continue;
    EXPECT_EQ(b.bar, r.bar) << r.frame;
    EXPECT_EQ(b.barBeat, r.barBeat) << r.frame;
    EXPECT_EQ(b.countIn, r.countIn) << r.frame;
    EXPECT_EQ(b.muted, r.muted) << r.frame;
  }
}
