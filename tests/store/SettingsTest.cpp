#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store/Settings.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

namespace {

// A settings file that cannot be read is copied aside before the first
// change rewrites it; readable and missing files are left alone.
TEST(Settings, AnUnreadableFileIsKeptBeforeItIsReplaced) {
  test::IsolatedHome home;
  std::string kept;
  EXPECT_FALSE(LSettingsKeepUnreadable(kept));  // no file yet
  LUserSettingSet<int>("Settings", "Tempo", 120);
  EXPECT_FALSE(LSettingsKeepUnreadable(kept));  // a good file
  char path[1024];
  LSettingsFilePath(path, sizeof path);
  const test::Bytes garbage = {'[', 'S', 'e', 't', 't', 'i', 'n', 'g',  's', '\n',
                               'T', 'e', 'm', 'p', 'o', '=', '7', 0xFF, '\n'};
  ASSERT_TRUE(test::WriteFile(path, garbage));
  ASSERT_TRUE(LSettingsKeepUnreadable(kept));
  EXPECT_EQ(kept, std::string(path) + ".unreadable");
  LUserSettingSet<int>("Settings", "Tempo", 99);  // the program goes on with a fresh file
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Tempo", 0), 99);
  std::ifstream in(kept, std::ios::binary);
  EXPECT_EQ(test::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), garbage);
}

TEST(Settings, IntegerAndBooleanTextForms) {
  struct IntCase {
    const char* text;
    int value;
  } ints[] = {
      {"", 77},
      {"  +12", 12},
      {"42abc", 42},
      {"abc", 0},
      {"-", 0},
      {"99999999999999", 2147483647},
      {"-99999999999999", -2147483647 - 1},
  };
  for (const IntCase& c : ints) EXPECT_EQ(LSettingParseInt(c.text, 77), c.value) << c.text;
  struct BoolCase {
    const char* text;
    bool def;
    bool value;
  } bools[] = {
      {"0", true, false}, {"no", false, true}, {"", true, true}, {"", false, false}, {"07", true, false},
  };
  for (const BoolCase& c : bools) EXPECT_EQ(LSettingParseBool(c.text, c.def), c.value) << c.text;
}

TEST(Settings, StoredValuesRoundTripInTheIsolatedHome) {
  test::IsolatedHome home;
  char path[4096];
  EXPECT_EQ(std::string(LSettingsFilePath(path, sizeof path)), home.Dir().File("config") + "/Morvane/Morvane.conf");
  char out[kSettingTextSize];
  EXPECT_EQ(_LUserSettingGetString("Settings", "SoundOutDevice", "dflt", out), 0);
  EXPECT_STREQ(out, "dflt");
  // Texts that an INI file could mistake for lists, variants or padding.
  for (const char* v : {"a, b, c", "@Variant(x)", "  padded  ", "x;y=z", "Ünïcødé ♩", ""}) {
    ASSERT_TRUE(LUserSettingSetString("Settings", "SoundOutDevice", v));
    EXPECT_EQ(_LUserSettingGetString("Settings", "SoundOutDevice", "dflt", out), 1);
    EXPECT_STREQ(out, v);
  }
  // Long values are stored whole and read back cut, never inside a character.
  const std::string value = std::string(258, 'v') + "\xC3\xA9" + std::string(40, 'w');
  ASSERT_TRUE(LUserSettingSetString("Sound", "Long", value.c_str()));
  ASSERT_EQ(_LUserSettingGetString("Sound", "Long", "", out), 1);
  EXPECT_EQ(std::string(out), value.substr(0, 258));
  LUserSettingSet<int>("Settings", "Tempo", -5);
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Tempo", 0), -5);
  LUserSettingSet<bool>("Settings", "MainWindowShownAtStartup", false);
  EXPECT_FALSE(LUserSettingGet<bool>("Settings", "MainWindowShownAtStartup", true));
  ASSERT_TRUE(LUserSettingDeleteItem("Settings", "Tempo"));
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Tempo", 92), 92);
  EXPECT_EQ(LUserSettingGetInt("MainWindow", "X", 200, 0, 100), 100);  // absent: default, limited
  LUserSettingSetString("Settings", "Volume", "loud");
  EXPECT_EQ(LUserSettingGetInt("Settings", "Volume", 7, 5, 10), 5);
}

// The watcher hears when commits start failing and when they succeed again,
// once each, not at every failed change.
TEST(Settings, AFailedCommitIsReportedOnceUntilSavingWorksAgain) {
  test::IsolatedHome home;
  std::vector<bool> heard;
  LSettingsWatchCommits([&](bool saved) { heard.push_back(saved); });
  ASSERT_TRUE(LUserSettingSetString("Settings", "Tempo", "90"));
  EXPECT_TRUE(heard.empty());
  char path[1024];
  LSettingsFilePath(path, sizeof path);
  // A folder where the settings file should be: nothing can be written.
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  EXPECT_FALSE(LUserSettingSetString("Settings", "Tempo", "100"));
  EXPECT_FALSE(LUserSettingDeleteItem("Settings", "Volume"));
  EXPECT_TRUE(LSettingsCommitFailing());
  EXPECT_EQ(heard, std::vector<bool>{false});
  std::filesystem::remove(path);
  EXPECT_TRUE(LUserSettingSetString("Settings", "Tempo", "110"));
  EXPECT_FALSE(LSettingsCommitFailing());
  EXPECT_EQ(heard, (std::vector<bool>{false, true}));
  LSettingsWatchCommits(nullptr);
}

}  // namespace
