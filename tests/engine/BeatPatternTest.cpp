#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/BeatPattern.h"
#include "engine/BeatPatternScore.h"

namespace {

// A bar written out from a grouping by hand: D, then A at each later group
// start, b elsewhere.
std::string BarFromGroups(const std::vector<int>& groups) {
  std::string bar;
  for (size_t g = 0; g < groups.size(); ++g) bar += (g == 0 ? "D" : "A") + std::string(size_t(groups[g] - 1), 'b');
  return bar;
}

std::vector<int> SplitPlus(const std::string& text) {
  std::vector<int> groups;
  for (size_t at = 0; at <= text.size();) {
    const size_t plus = std::min(text.find('+', at), text.size());
    groups.push_back(std::stoi(text.substr(at, plus - at)));
    at = plus + 1;
  }
  return groups;
}

TEST(BarPattern, StringsRoundTripAndCycle) {
  for (const char* text : {"D", ".", "DAb.", "DbbAbbAbbAbbAbbb", "..bA"}) {
    LBeatPattern p;
    std::string error;
    ASSERT_TRUE(LBeatPattern::Parse(text, p, error)) << text << ": " << error;
    EXPECT_EQ(p.ToString(), text);
    EXPECT_EQ(p.GetBeats(), int(std::string(text).size()));
    EXPECT_EQ(p.Get(p.GetBeats()), LBeatState::Mute) << "beyond the bar";
    EXPECT_FALSE(p.Set(p.GetBeats(), LBeatState::Accent));
  }
  // Four clicks on a cell visit every state once and come back.
  std::string seen;
  LBeatState s = LBeatState::Downbeat;
  for (int i = 0; i < 4; ++i, s = LNextBeatState(s)) seen += LBeatStateLetter(s);
  EXPECT_EQ(seen, "DAb.");
  EXPECT_EQ(s, LBeatState::Downbeat);
}

TEST(BarPattern, RefusesBadStringsAndSaysWhy) {
  const struct {
    std::string text, says;
  } cases[] = {
      {"", "empty"},
      {std::string(17, 'b'), "17 beats; a bar has at most 16"},
      {"DAxb", "'x' at beat 3"},
      {"dbbb", "'d' at beat 1"},
  };
  for (const auto& c : cases) {
    LBeatPattern p;
    std::string error;
    ASSERT_TRUE(LBeatPattern::Parse("DDD", p, error));
    EXPECT_FALSE(LBeatPattern::Parse(c.text, p, error)) << c.text;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_EQ(p.ToString(), "DDD") << "a refused string leaves the pattern alone";
  }
}

// Today's twelve measures keep their accents: the first beat of each group
// accented (now the downbeat on beat 1), "None" a bar of one plain beat.
TEST(BarPattern, TodaysMeasuresKeepTheirAccents) {
  const char* expected[LMeasure::kLegacyCount] = {"b",     "Db",     "Dbb",     "Dbbb",    "Dbbbb",   "DbbAb",
                                                  "DbAbb", "Dbbbbb", "Dbbbbbb", "DbbbAbb", "DbbAbbb", "Dbbbbbbb"};
  for (int i = 0; i < LMeasure::kLegacyCount; ++i) {
    const LMeasure m = LMeasure::FromLegacyIndex(i);
    EXPECT_EQ(m.Pattern().ToString(), expected[i]) << LMeasure::LegacyName(i);
    EXPECT_EQ(m.Name(), LMeasure::LegacyName(i));
    EXPECT_EQ(m.LegacyIndex(), i);
  }
  EXPECT_TRUE(LMeasure::FromLegacyIndex(12).IsNone());
  EXPECT_TRUE(LMeasure::FromLegacyIndex(-1).IsNone());
}

TEST(BarPattern, MeasureNamesAndGroupings) {
  const struct {
    const char* name;
    const char* canonical;
    std::vector<int> groups;
  } cases[] = {
      {"9(2+2+2+3)", "9(2+2+2+3)", {2, 2, 2, 3}},
      {" 12 ( 3 + 3 + 3 + 3 ) ", "12(3+3+3+3)", {3, 3, 3, 3}},
      {"15", "15", {15}},
      {"1", "1", {1}},
      {"16(1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1)", "16(1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1)", std::vector<int>(16, 1)},
      {"11(2+2+3+2+2)", "11(2+2+3+2+2)", {2, 2, 3, 2, 2}},
      {"7(7)", "7", {7}},
  };
  for (const auto& c : cases) {
    LMeasure m;
    std::string error;
    ASSERT_TRUE(LMeasure::Parse(c.name, m, error)) << c.name << ": " << error;
    EXPECT_EQ(m.Name(), c.canonical);
    EXPECT_EQ(m.Pattern().ToString(), BarFromGroups(c.groups)) << c.name;
    EXPECT_EQ(m.GetGroupCount(), int(c.groups.size()));
  }
}

TEST(BarPattern, RefusesBadMeasuresAndSaysWhy) {
  const struct {
    std::string name;
    const char* says;
  } cases[] = {
      {"9(2+2+2)", "adds up to 6, not 9 beats"},
      {"5(2+0+3)", "a group of 0 beats"},
      {"5(2++3)", "not a list of group sizes"},
      {"5(2+3", "lacks the ')'"},
      {"17", "1 to 16"},
      {"0", "1 to 16"},
      {"Waltz", "1 to 16"},
      {"16(" + std::string("1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1") + ")", "adds up to 17, not 16"},
  };
  for (const auto& c : cases) {
    LMeasure m = LMeasure::FromLegacyIndex(3);
    std::string error;
    EXPECT_FALSE(LMeasure::Parse(c.name, m, error)) << c.name;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(m.Name(), "4") << "a refused name leaves the measure alone";
  }
}

TEST(BarPattern, EveryOfferedGroupingFitsItsBeats) {
  int offered = 0;
  for (int beats = 1; beats <= 16; ++beats) {
    for (const std::string& g : LCommonGroupings(beats)) {
      LMeasure m;
      std::string error;
      ASSERT_TRUE(LMeasure::FromGrouping(beats, g, m, error)) << beats << " " << g << ": " << error;
      EXPECT_EQ(m.Pattern().ToString(), BarFromGroups(SplitPlus(g)));
      EXPECT_EQ(m.Grouping(), g);
      ++offered;
    }
  }
  EXPECT_GE(offered, 30);
  std::string error;
  LMeasure m;
  EXPECT_FALSE(LMeasure::FromGrouping(17, "", m, error));
}

TEST(BarPattern, SwingParsing) {
  const struct {
    const char* text;
    int percent;  // -1: refused
  } cases[] = {{"66", 66}, {"66%", 66}, {" 75 % ", 75}, {"50", 50},  {"off", 50}, {"49", -1},
               {"76", -1}, {"", -1},    {"6x", -1},     {"-60", -1}, {"100", -1}};
  for (const auto& c : cases) {
    int percent = 0;
    std::string error;
    EXPECT_EQ(LParseSwing(c.text, percent, error), c.percent >= 0) << c.text;
    if (c.percent >= 0)
      EXPECT_EQ(percent, c.percent) << c.text;
    else
      EXPECT_NE(error.find("50 (straight) to 75"), std::string::npos) << error;
  }
}

// Slot starts, in frames at a tempo and rate, against the rule written out
// with floating point: eighths split the beat at swing percent; sixteenths
// split each half of it at the same ratio; other subdivisions stay straight.
TEST(BarPattern, SwungSlotsFallOnTheRuleFrames) {
  const struct {
    int swing, subdivisions, bpm, rate;
  } cases[] = {{66, 2, 60, 44100},  {75, 2, 133, 48000}, {50, 2, 92, 44100}, {60, 4, 120, 44100},
               {75, 4, 280, 96000}, {66, 3, 60, 44100},  {66, 1, 60, 44100}, {70, 8, 200, 44100}};
  for (const auto& c : cases) {
    const bool swung = c.subdivisions == 2 || c.subdivisions == 4;
    for (int slot = 0; slot < c.subdivisions; ++slot) {
      double beats = double(slot) / c.subdivisions;
      if (swung && c.subdivisions == 2) beats = slot * c.swing / 100.0;
      if (swung && c.subdivisions == 4) beats = (slot / 2) * 0.5 + (slot % 2) * c.swing / 200.0;
      const long expected = std::lround(beats * 60.0 * c.rate / c.bpm);
      const LBeatFraction f = LSlotStart(c.swing, c.subdivisions, slot);
      ASSERT_GT(f.den, 0);
      const int64_t scaled = f.num * 60 * c.rate, per = f.den * c.bpm;
      EXPECT_EQ((2 * scaled + per) / (2 * per), expected) << c.swing << "% /" << c.subdivisions << " slot " << slot;
    }
  }
  const LBeatFraction offbeat = LSlotStart(66, 2, 1);
  EXPECT_EQ(offbeat.num * 60 * 44100 / (offbeat.den * 60), 29106);
}

// The beat heard at a frame is the last one begun at or before it, while
// the history reaches back that far.
TEST(BarPattern, HeardBeatIsTheLastBegunAtOrBeforeTheFrame) {
  LBeatPatternScore score(LMeasure::FromLegacyIndex(6).Pattern(), 50, 44100);
  EXPECT_EQ(score.HeardBeat(0), -1);  // nothing begun
  const int begun = LBeatPatternScore::kHistory + 8;
  for (int i = 0; i < begun; ++i) {
    LClickBeat beat{.index = i, .frame = 1000 * i, .barBeat = i % 5, .beatsPerBar = 5};
    score.BeginBeat(beat);
  }
  const std::pair<int64_t, int> cases[] = {{1000 * (begun - 1), (begun - 1) % 5},
                                           {1000 * (begun - 1) + 99999, 4},
                                           {1000 * (begun - 2) + 999, (begun - 2) % 5},
                                           {1000 * 9, 4},
                                           {7999, -1}};
  for (const auto& [frame, heard] : cases) EXPECT_EQ(score.HeardBeat(frame), heard) << frame;
}

}  // namespace
