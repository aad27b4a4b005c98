#include <gtest/gtest.h>

#include "store/Presets.h"
#include "store/Profile.h"
#include "tests/store/StoreTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

class Presets : public ::testing::Test {
 protected:
  test::TempDir dir;
  LProfile profile{dir.Path()};
  LUserPresetList presets{profile};
  LSoundSchemeRecordList schemes{profile};

  std::string PresetFile(const std::string& key) { return dir.Path() + "/UserPreset/" + key + ".dat"; }
};

TEST_F(Presets, NewPresetWritesTheFirstNumberedFile) {
  {
    LUserPreset rec;
    presets.CreateNewRecord(rec);
    WritePreset(rec, "Warm up", {72, 3, 2});
  }
  EXPECT_EQ(test::ReadText(PresetFile("1")), "Name=Warm%20up&MeasureIndex=3&Tempo=72&Subdiv=2");
}

TEST_F(Presets, FindsByNameIgnoringCase) {
  ASSERT_TRUE(test::WriteText(PresetFile("1"), "Name=Fast&Tempo=200"));
  ASSERT_TRUE(test::WriteText(PresetFile("2"), "Name=fast&Tempo=180"));
  ASSERT_TRUE(test::WriteText(PresetFile("3"), "Name=Slow&Tempo=50"));
  LUserPreset rec;
  ASSERT_TRUE(OpenPreset(presets, rec, "FAST"));
  EXPECT_TRUE(rec.Key() == "1" || rec.Key() == "2");
  ASSERT_TRUE(OpenPreset(presets, rec, "slow"));
  EXPECT_EQ(rec.GetInt("Tempo", 0), 50);
  LUserPreset gone;
  EXPECT_FALSE(OpenPreset(presets, gone, "Gone"));
  EXPECT_FALSE(gone.IsAttached());
}

TEST_F(Presets, SchemeAppliesToOptionsWithEmptyDefaults) {
  ASSERT_TRUE(test::WriteText(dir.Path() + "/SoundScheme/1.dat", "Name=Wood&AccentFile=wood%20hi.wav&ClickFile=c.wav"));
  LSoundSchemeRecord scheme;
  ASSERT_TRUE(OpenSoundScheme(schemes, scheme, "WOOD"));
  {
    LOptionsList options(profile);
    LOptions opts;
    options.OpenAlways(opts, options_field::kKey);
    opts.SetString(options_field::kBeat, "old beat.wav");
    ApplySchemeToOptions(scheme, opts);
  }
  EXPECT_EQ(test::ReadText(dir.Path() + "/Misc/Options.dat"), "Beat=&Accent=wood%20hi.wav&Click=c.wav");
}

}  // namespace
