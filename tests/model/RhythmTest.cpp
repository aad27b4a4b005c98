#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/Rhythm.h"

namespace {

using Fields = std::map<std::string, std::string>;

LRhythm Read(const Fields& f, int def = 3) {
  return LReadRhythm(
      [&](const char* name, std::string& value) {
        auto it = f.find(name);
        if (it == f.end()) return false;
        value = it->second;
        return true;
      },
      "MeasureIndex", def);
}

Fields Write(const LRhythm& r) {
  Fields f;
  LWriteRhythm([&](const char* name, const std::string& value) { f[name] = value; }, "MeasureIndex", r);
  return f;
}

LRhythm Make(const char* measure, const char* pattern = nullptr, int swing = 50) {
  LRhythm r;
  std::string error;
  EXPECT_TRUE(LMeasure::Parse(measure, r.measure, error)) << error;
  r.pattern = r.measure.Pattern();
  if (pattern) {
    EXPECT_TRUE(LBeatPattern::Parse(pattern, r.pattern, error)) << error;
  }
  r.swing = swing;
  return r;
}

// What older readers see, and what comes back, for measures old and new.
TEST(Rhythm, RoundTripsAndOlderReadersSeeTheNearestMeasure) {
  const struct {
    LRhythm rhythm;
    const char* index;  // the one field older readers use
  } cases[] = {
      {Make("None"), "0"},     {Make("7(3+4)"), "10"}, {Make("4", "D.b.", 66), "3"},
      {Make("7(2+2+3)"), "8"}, {Make("1"), "0"},       {Make("9(2+2+2+3)", "DbAbAb.bb", 75), "0"},
      {Make("15"), "0"},
  };
  for (const auto& c : cases) {
    const Fields f = Write(c.rhythm);
    EXPECT_EQ(f.at("MeasureIndex"), c.index) << c.rhythm.Describe();
    EXPECT_EQ(Read(f), c.rhythm) << c.rhythm.Describe();
  }
}

TEST(Rhythm, ReadsOldAndDamagedFields) {
  const struct {
    Fields fields;
    const char* measure;
    const char* pattern;
    int swing;
  } cases[] = {
      // A preset from before custom measures.
      {{{"MeasureIndex", "5"}}, "5(3+2)", "DbbAb", 50},
      {{}, "4", "Dbbb", 50},
      {{{"MeasureIndex", "12"}}, "4", "Dbbb", 50},
      {{{"MeasureIndex", "-1"}, {"Swing", "90"}}, "4", "Dbbb", 50},
      // An older reader chose 5(2+3) over a stored 5(3+2): its choice wins,
      // and the pattern edited for the old measure goes with it.
      {{{"MeasureIndex", "6"}, {"Beats", "5"}, {"Grouping", "3+2"}, {"Pattern", "Dbb.b"}}, "5(2+3)", "DbAbb", 50},
      {{{"MeasureIndex", "0"}, {"Beats", "9"}, {"Grouping", "2+2+2+3"}, {"Pattern", "Db"}},
       "9(2+2+2+3)",
       "DbAbAbAbb",
       50},
      {{{"MeasureIndex", "0"}, {"Beats", "9"}, {"Grouping", "2+2+2"}, {"Swing", "60"}}, "None", "b", 60},
      {{{"MeasureIndex", "0"}, {"Beats", "99"}}, "None", "b", 50},
      {{{"MeasureIndex", "3"}, {"Beats", "4"}, {"Pattern", "Dxbb"}}, "4", "Dbbb", 50},
  };
  for (const auto& c : cases) {
    const LRhythm r = Read(c.fields);
    EXPECT_EQ(r.measure.Name(), c.measure);
    EXPECT_EQ(r.pattern.ToString(), c.pattern) << c.measure;
    EXPECT_EQ(r.swing, c.swing) << c.measure;
  }
}

}  // namespace
