#include <gtest/gtest.h>

#include "model/PracticeSettings.h"
#include "store/Presets.h"
#include "store/Profile.h"
#include "store/Settings.h"
#include "tests/store/StoreTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

LPracticePlan Busy() {
  LPracticePlan p;
  p.countInBars = 2;
  p.ramp = {140, 100, 3, 4, true};
  p.gap = {3, 1};
  p.randomMutePercent = 20;
  p.randomSeed = 4000000000u;
  p.timerSeconds = 600;
  return p;
}

class PracticePresets : public ::testing::Test {
 protected:
  test::IsolatedHome home;
  test::TempDir dir;
  LProfile profile{dir.Path()};
  LUserPresetList presets{profile};
  std::string File(const char* key) { return dir.Path() + "/UserPreset/" + key + ".dat"; }
};

}  // namespace

TEST_F(PracticePresets, SettingsRoundTripAndBadValuesTurnOnlyTheirToolOff) {
  EXPECT_FALSE(LoadPracticeSettings().AnyOn());
  SavePracticeSettings(Busy());
  EXPECT_EQ(LoadPracticeSettings(), Busy());
  LUserSettingSet<int>("Settings", practice_field::kGapMute, 17);
  LUserSettingSet<int>("Settings", practice_field::kRampStep, 0);
  LUserSettingSet<int>("Settings", practice_field::kTimer, 86401);
  LPracticePlan expected = Busy();
  expected.gap = {};
  expected.ramp.bars = 0;
  expected.ramp.step = 0;  // an off trainer keeps what it was given
  expected.timerSeconds = 0;
  EXPECT_EQ(LoadPracticeSettings(), expected);
}

TEST_F(PracticePresets, RecordsRoundTripAndOlderFilesLoadWithToolsOff) {
  ASSERT_TRUE(test::WriteText(File("1"), "Name=Old&MeasureIndex=3&Tempo=72&Subdiv=2"));
  {
    LUserPreset rec;
    ASSERT_TRUE(presets.Open(rec, "1"));
    EXPECT_FALSE(ReadPracticePreset(rec).AnyOn());
    WritePracticePreset(rec, LPracticePlan{});  // a plain preset stays plain
  }
  EXPECT_EQ(test::ReadText(File("1")), "Name=Old&MeasureIndex=3&Tempo=72&Subdiv=2");
  {
    LUserPreset rec;
    ASSERT_TRUE(presets.Open(rec, "1"));
    WritePracticePreset(rec, Busy());
  }
  {
    LUserPreset rec;
    ASSERT_TRUE(presets.Open(rec, "1"));
    EXPECT_EQ(ReadPracticePreset(rec), Busy());
    EXPECT_EQ(ReadPresetValues(rec).tempo, 72);  // the fields older readers know are untouched
    WritePracticePreset(rec, LPracticePlan{});
  }
  // Turning the tools off writes zeros: the merge on save keeps every field
  // already in the file, so leaving them out would keep the tools on.
  const std::string text = test::ReadText(File("1"));
  EXPECT_NE(text.find("PracticeCountIn=0&"), std::string::npos) << text;
  EXPECT_NE(text.find("PracticeRampBars=0&"), std::string::npos) << text;
  LUserPreset rec;
  ASSERT_TRUE(presets.Open(rec, "1"));
  EXPECT_FALSE(ReadPracticePreset(rec).AnyOn());
}
