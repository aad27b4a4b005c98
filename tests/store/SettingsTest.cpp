#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSettings>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "store/Settings.h"
#include "store/SettingsCache.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

namespace {

std::string SettingsFile() {
  char path[1024];
  return LSettingsFilePath(path, sizeof path);
}

// What the file holds, read past the program's own cache.
QString OnDisk(const char* key) {
  return QSettings(QString::fromStdString(SettingsFile()), QSettings::IniFormat).value(key).toString();
}

test::Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return test::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Files that cannot be read as settings are moved aside whole before
// anything replaces them; the program starts from the defaults.
TEST(Settings, UnreadableFilesAreKeptBeforeTheyAreReplaced) {
  test::Bytes oversized;
  for (const char* line = "; a comment line that pads the file\n"; oversized.size() <= (1u << 20);)
    oversized.insert(oversized.end(), line, line + std::strlen(line));
  const test::Bytes utf16 = {0xFF, 0xFE, '[', 0, 'S', 0, ']', 0, '\n', 0, 'T', 0, '=', 0, '7', 0, '\n', 0};
  const struct {
    const char* name;
    test::Bytes bytes;
  } cases[] = {
      {"invalid UTF-8", {'[', 'S', 'e', 't', 't', 'i', 'n', 'g', 's', '\n', 'T', 'e', 'm', 'p', 'o', '=', '7', 0xFF}},
      {"UTF-16", utf16},
      {"all NUL", test::Bytes(64, 0)},
      {"not key=value", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'}},
      {"over 1 MiB", oversized},
  };
  for (const auto& c : cases) {
    test::IsolatedHome home;
    const std::string path = SettingsFile();
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(test::WriteFile(path, c.bytes));
    std::string kept;
    ASSERT_TRUE(LSettingsKeepUnreadable(kept)) << c.name;
    EXPECT_EQ(kept, path + ".unreadable") << c.name;
    EXPECT_EQ(ReadBytes(kept), c.bytes) << c.name;
    EXPECT_EQ(LUserSettingGet<int>("Settings", "Tempo", 92), 92) << c.name;
    LUserSettingSet<int>("Settings", "Tempo", 99);
    ASSERT_TRUE(LSettingsFlush()) << c.name;
    EXPECT_EQ(OnDisk("Settings/Tempo"), "99") << c.name;
  }

  test::IsolatedHome home;
  std::string kept;
  EXPECT_FALSE(LSettingsKeepUnreadable(kept));  // no file
  LUserSettingSet<int>("Settings", "Tempo", 120);
  ASSERT_TRUE(LSettingsFlush());
  EXPECT_FALSE(LSettingsKeepUnreadable(kept));  // a good file
  // One that turns unreadable while the program runs is kept by the writer,
  // beside the earlier copy.
  const std::string path = SettingsFile();
  ASSERT_TRUE(test::WriteFile(path + ".unreadable", {'o', 'l', 'd'}));
  ASSERT_TRUE(test::WriteFile(path, {0, 1, 2}));
  LUserSettingSet<int>("Settings", "Measure", 4);
  ASSERT_TRUE(LSettingsFlush());
  EXPECT_EQ(ReadBytes(path + ".unreadable.1"), (test::Bytes{0, 1, 2}));
  EXPECT_EQ(OnDisk("Settings/Measure"), "4");
  // A FIFO in its place neither hangs the start nor stays in the way.
  std::filesystem::remove(path);
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  EXPECT_TRUE(LSettingsKeepUnreadable(kept));
  EXPECT_FALSE(std::filesystem::is_fifo(path));
}

// Another process using the same file, started with this one's environment.
struct Child {
  Child(const char* key, const char* value, const char* then) {
    int out[2];
    if (::pipe(out) != 0) return;
    pid = ::fork();
    if (pid == 0) {
      ::dup2(out[1], 1);
      ::execl(SETTINGS_CHILD, "settings_child", "Other", key, value, then, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    char said[8] = {};
    [[maybe_unused]] ssize_t n = ::read(out[0], said, sizeof said - 1);  // "set": the value is in its memory
    ::close(out[0]);
  }
  int Wait() {
    int status = -1;
    ::waitpid(pid, &status, 0);
    return status;
  }
  pid_t pid = -1;
};

// Changes reach the file without a flush within a second (a crash a second
// later loses nothing), and leaving main writes what is still pending.
TEST(Settings, ChangesReachTheFileSoonAndAtExit) {
  test::IsolatedHome home;
  std::filesystem::remove(home.Dir().File("config"));  // a fresh account has no config folder yet
  Child killed("Tempo", "133", "wait");
  ASSERT_GT(killed.pid, 0);
  ::sleep(1);
  ::kill(killed.pid, SIGKILL);
  killed.Wait();
  EXPECT_EQ(OnDisk("Other/Tempo"), "133");

  Child leaving("Measure", "6", "exit");
  ASSERT_GT(leaving.pid, 0);
  const int status = leaving.Wait();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(OnDisk("Other/Measure"), "6");
  EXPECT_EQ(OnDisk("Other/Tempo"), "133");
}

// A key another instance writes while this one holds unwritten changes
// survives this one's write, and this one reads it.
TEST(Settings, AnotherProcessesKeysSurviveTheMerge) {
  test::IsolatedHome home;
  LUserSettingSetString("Settings", "Tempo", "100");
  ASSERT_TRUE(LSettingsFlush());
  LUserSettingSetString("Settings", "Tempo", "101");  // pending while the other writes
  Child other("Volume", "-6", "exit");
  ASSERT_GT(other.pid, 0);
  other.Wait();
  LUserSettingSetString("Settings", "SubDiv", "2");
  ASSERT_TRUE(LSettingsFlush());
  EXPECT_EQ(OnDisk("Settings/Tempo"), "101");
  EXPECT_EQ(OnDisk("Settings/SubDiv"), "2");
  EXPECT_EQ(OnDisk("Other/Volume"), "-6");
  char out[kSettingTextSize];
  EXPECT_EQ(_LUserSettingGetString("Other", "Volume", "", out), 1);
  EXPECT_STREQ(out, "-6");
}

// A slider dragged through its 45 steps: each step holds in memory at once,
// and the file is written for the run, not per step. The writer waits for a
// 200 ms pause (or a second of steady changes), so a run lasting T allows at
// most one write per 200 ms of it, and the flush's.
TEST(Settings, ARunOfChangesIsWrittenAFewTimesNotPerChange) {
  using namespace std::chrono;
  for (const milliseconds gap : {0ms, 10ms}) {
    test::IsolatedHome home;
    LUserSettingSetString("Settings", "Tempo", "90");
    ASSERT_TRUE(LSettingsFlush());
    const uint64_t before = settings_cache::Writes();
    const auto start = steady_clock::now();
    for (int db = -45; db < 0; ++db) {
      LUserSettingSet<int>("Settings", "Volume", db);
      EXPECT_EQ(LUserSettingGet<int>("Settings", "Volume", 0), db);
      std::this_thread::sleep_for(gap);
    }
    const auto took = duration_cast<milliseconds>(steady_clock::now() - start);
    ASSERT_TRUE(LSettingsFlush());
    EXPECT_LE(settings_cache::Writes() - before, uint64_t(2 + took / 200ms)) << gap.count() << " ms apart";
    EXPECT_EQ(OnDisk("Settings/Volume"), "-1");
    EXPECT_EQ(OnDisk("Settings/Tempo"), "90");
  }
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

// The watcher hears when writes start failing and when they succeed again,
// once each, not at every failed change; the values hold meanwhile.
TEST(Settings, AFailedWriteIsReportedOnceUntilSavingWorksAgain) {
  test::IsolatedHome home;
  std::vector<bool> heard;
  LSettingsWatchCommits([&](bool saved) { heard.push_back(saved); });
  LUserSettingSetString("Settings", "Tempo", "90");
  ASSERT_TRUE(LSettingsFlush());
  EXPECT_TRUE(heard.empty());
  const std::string path = SettingsFile();
  // A folder where the settings file should be: nothing can be written.
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  LUserSettingSetString("Settings", "Tempo", "100");
  EXPECT_FALSE(LSettingsFlush());
  LUserSettingDeleteItem("Settings", "Volume");
  EXPECT_FALSE(LSettingsFlush());
  EXPECT_TRUE(LSettingsCommitFailing());
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Tempo", 0), 100);
  EXPECT_EQ(heard, std::vector<bool>{false});
  std::filesystem::remove(path);
  LUserSettingSetString("Settings", "Tempo", "110");
  EXPECT_TRUE(LSettingsFlush());
  EXPECT_FALSE(LSettingsCommitFailing());
  EXPECT_EQ(heard, (std::vector<bool>{false, true}));
  EXPECT_EQ(OnDisk("Settings/Tempo"), "110");
  LSettingsWatchCommits(nullptr);
}

}  // namespace
