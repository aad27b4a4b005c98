#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <cstdlib>
#include <filesystem>

#include "store/DataFolders.h"
#include "store/Settings.h"
#include "tests/store/StoreTestUtil.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

namespace fs = std::filesystem;

namespace {

using test::ScopedEnv;

// A program data folder holding the three default sounds and one more file
// below a subfolder.
std::string MakeProgramData(const test::TempDir& dir) {
  const std::string data = dir.File("program");
  fs::create_directories(data + "/metronome");
  fs::create_directories(data + "/extra/deeper");
  int i = 0;
  for (const char* name : kDefaultSoundFiles)
    test::WriteFile(data + "/metronome/" + name, test::PcmWav({100 * ++i, -100}, 1, 44100, 16));
  test::WriteText(data + "/extra/deeper/note.txt", "n");
  chmod((data + "/extra/deeper/note.txt").c_str(), 0640);
  return data;
}

TEST(DataFolders, ProgramDataFolderPreference) {
  test::TempDir t;
  fs::create_directories(t.File("prefix/bin"));
  fs::create_directories(t.File("prefix/share/morvane"));
  fs::create_directories(t.File("older/bin"));
  fs::create_directories(t.File("older/share/Morvane"));
  fs::create_directories(t.File("built"));
  fs::create_directories(t.File("xdg2/Morvane"));
  fs::create_directories(t.File("xdg3/morvane"));
  const std::string none = t.File("absent");
  struct Case {
    LProgramDataCandidates c;
    std::string expect;
  } cases[] = {
      {{"/override", t.File("prefix/bin"), {t.File("built")}, ""}, "/override"},
      {{"", t.File("prefix/bin"), {t.File("built")}, ""}, t.File("prefix/share/morvane")},
      {{"", t.File("older/bin"), {t.File("built")}, ""}, t.File("older/share/Morvane")},
      {{"", t.File("built"), {none, t.File("built")}, ""}, t.File("built")},
      {{"", "", {none}, t.File("xdg1") + ":" + t.File("xdg2")}, t.File("xdg2/Morvane")},
      {{"", "", {}, "relative:" + t.File("xdg2")}, t.File("xdg2/Morvane")},
      {{"", "", {}, t.File("xdg3") + ":" + t.File("xdg2")}, t.File("xdg3/morvane")},
      {{"", "", {none}, t.File("xdg1")}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PickProgramDataFolder(c.c), c.expect);
}

TEST(DataFolders, UserSoundNamesStayInTheSoundFolder) {
  EXPECT_EQ(UserSoundFilePath("/s", "my snare.wav"), "/s/Sound/my snare.wav");
  EXPECT_EQ(UserSoundFilePath("/s", "..wav"), "/s/Sound/..wav");
  for (const char* bad : {"", ".", "..", "../../etc/passwd", "/etc/passwd", "sub/x.wav"})
    EXPECT_EQ(UserSoundFilePath("/s", bad), "") << bad;
  EXPECT_EQ(UserSoundFilePath("/s", std::string("a\0b", 3)), "");
}

// Permission bits of a file, or -1.
int Mode(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : -1;
}

TEST(DataFolders, MigrationCopiesOnceLessTheUmask) {
  test::IsolatedHome home;
  const std::string program = MakeProgramData(home.Dir());
  chmod((program + "/metronome/beat.wav").c_str(), 0644);
  ScopedEnv dataDir("MORVANE_DATA_DIR", program);
  const std::string shared = home.Dir().File("data") + "/Morvane/Shared";

  const mode_t mask = umask(027);
  EXPECT_TRUE(LFileMigrateSharedSettings());
  umask(mask);
  EXPECT_TRUE(test::FileExists(shared + "/.SharedFolderMigrated"));
  EXPECT_EQ(test::ReadText(shared + "/metronome/beat.wav"), test::ReadText(program + "/metronome/beat.wav"));
  EXPECT_EQ(Mode(shared + "/extra/deeper/note.txt"), 0640);
  EXPECT_EQ(Mode(shared + "/metronome/beat.wav"), 0640);
  EXPECT_EQ(Mode(shared + "/extra"), 0750);
  EXPECT_TRUE(test::FileExists(program + "/metronome/beat.wav"));  // the old folder stays

  fs::remove(shared + "/metronome/beat.wav");
  EXPECT_FALSE(LFileMigrateSharedSettings());
  EXPECT_FALSE(test::FileExists(shared + "/metronome/beat.wav"));
  for (const auto& e : fs::directory_iterator(shared + "/..")) EXPECT_EQ(e.path().filename(), "Shared");
}

TEST(DataFolders, MarkerWaitsForTheSharedFolder) {
  test::IsolatedHome home;
  ScopedEnv dataDir("MORVANE_DATA_DIR", home.Dir().File("no-program-data"));
  const std::string shared = home.Dir().File("data") + "/Morvane/Shared";
  EXPECT_FALSE(LFileMigrateSharedSettings());
  EXPECT_FALSE(test::FileExists(shared));
  GetSharedDataFolderApp();
  EXPECT_FALSE(LFileMigrateSharedSettings());
  EXPECT_TRUE(test::FileExists(shared + "/.SharedFolderMigrated"));
  // The shared folder follows XDG_DATA_HOME unless it is relative.
  ScopedEnv relative("XDG_DATA_HOME", "not/absolute");
  EXPECT_EQ(GetUserDataFolderApp(), home.Dir().Path() + "/.local/share/Morvane");
}

TEST(DataFolders, ExistingSharedFolderIsNotOverwritten) {
  test::IsolatedHome home;
  ScopedEnv dataDir("MORVANE_DATA_DIR", MakeProgramData(home.Dir()));
  const std::string shared = GetSharedDataFolderApp();
  test::WriteText(shared + "/mine.txt", "kept");
  EXPECT_FALSE(LFileMigrateSharedSettings());
  EXPECT_EQ(test::ReadText(shared + "/mine.txt"), "kept");
  EXPECT_FALSE(test::FileExists(shared + "/metronome"));
}

// What keeps the user's data from being set up is named with its place.
TEST(DataFolders, InstallNamesWhatIsInTheWay) {
  const struct {
    const char* file;     // made a plain file (below the data home)
    const char* program;  // program data: "" complete, "no click", "absent"
    LInstallProblem::Kind kind;
    const char* pathEnd;
    int error;
  } cases[] = {
      {"data/Morvane", "", LInstallProblem::kFolder, "/data/Morvane", ENOTDIR},
      {"data/Morvane/Shared/Sound", "", LInstallProblem::kFolder, "/Shared/Sound", ENOTDIR},
      {nullptr, "no click", LInstallProblem::kShippedSound, "/program/metronome/click.wav", ENOENT},
      {nullptr, "absent", LInstallProblem::kShippedSound, "/absent/metronome/accent.wav", ENOENT},
      {nullptr, "", LInstallProblem::kNone, "", 0},
  };
  for (const auto& c : cases) {
    test::IsolatedHome home;
    const std::string program = MakeProgramData(home.Dir());
    if (std::string(c.program) == "no click") fs::remove(program + "/metronome/click.wav");
    ScopedEnv dataDir("MORVANE_DATA_DIR", std::string(c.program) == "absent" ? home.Dir().File("absent") : program);
    if (c.file) {
      fs::create_directories(fs::path(home.Dir().File(c.file)).parent_path());
      test::WriteText(home.Dir().File(c.file), "in the way");
    }
    LInstallProblem problem;
    EXPECT_EQ(LFileInstallSharedData(&problem), c.kind == LInstallProblem::kNone) << c.pathEnd;
    EXPECT_EQ(problem.kind, c.kind) << c.pathEnd;
    EXPECT_TRUE(problem.path.ends_with(c.pathEnd)) << problem.path;
    EXPECT_EQ(problem.error, c.error) << c.pathEnd;
  }
}

// Without a usable HOME the user's files follow the password database's
// home, never the working folder.
TEST(DataFolders, HomeFallsBackToThePasswordDatabase) {
  const passwd* pw = getpwuid(getuid());
  ASSERT_TRUE(pw && pw->pw_dir);
  const std::string account = pw->pw_dir;
  ScopedEnv config("XDG_CONFIG_HOME", "");
  for (const char* home : {"", "relative", "/somewhere"}) {
    ScopedEnv env("HOME", home);
    const std::string want = home[0] == '/' ? home : account;
    EXPECT_EQ(LUserHomeFolder(), want) << home;
    char path[1024];
    EXPECT_EQ(std::string(LSettingsFilePath(path, sizeof path)), want + "/.config/Morvane/Morvane.conf") << home;
  }
}

// The first run copies the shipped sounds; a new version's reach copies the
// user left alone; a sound the user put in their place, or one of unknown
// origin, stays.
TEST(DataFolders, DefaultSoundsFollowTheShippedOnes) {
  const test::Bytes v1 = test::PcmWav({100, -100}, 1, 44100, 16), v2 = test::PcmWav({200, -200}, 1, 44100, 16);
  const test::Bytes mine = test::PcmWav({7, 7, 7}, 1, 44100, 16);
  auto text = [](const test::Bytes& b) { return std::string(b.begin(), b.end()); };
  struct Case {
    const char* what;
    bool keepDigests;      // the list of copies made survives from the first run
    bool userReplaces;     // the user puts their own file over the copy
    const char* expected;  // "v2" (refreshed), "v1" (left), "mine"
  } cases[] = {{"untouched copy", true, false, "v2"},
               {"replaced by the user", true, true, "mine"},
               {"copy of unknown origin", false, false, "v1"},
               {"unknown origin, replaced", false, true, "mine"}};
  for (const auto& c : cases) {
    test::IsolatedHome home;
    const std::string program = MakeProgramData(home.Dir());
    ScopedEnv dataDir("MORVANE_DATA_DIR", program);
    test::WriteFile(program + "/metronome/beat.wav", v1);
    ASSERT_TRUE(LFileInstallSharedData());
    const std::string shared = GetSharedDataFolderApp();
    const std::string copy = shared + "/metronome/beat.wav";
    if (!c.keepDigests) fs::remove(shared + "/metronome/" + kShippedDigestsFile);
    if (c.userReplaces) test::WriteFile(copy, mine);
    test::WriteFile(shared + "/Sound/own.wav", mine);
    test::WriteFile(program + "/metronome/beat.wav", v2);
    EXPECT_TRUE(LFileInstallSharedData()) << c.what;
    const test::Bytes& want = std::string(c.expected) == "v2" ? v2 : std::string(c.expected) == "v1" ? v1 : mine;
    EXPECT_EQ(test::ReadText(copy), text(want)) << c.what;
    EXPECT_EQ(test::ReadText(shared + "/Sound/own.wav"), text(mine)) << c.what;
    EXPECT_EQ(test::ReadText(shared + "/metronome/accent.wav"), test::ReadText(program + "/metronome/accent.wav"));
    // No partial copies left: the sounds and the list of the copies made.
    if (c.keepDigests) {
      EXPECT_EQ(std::distance(fs::directory_iterator(shared + "/metronome"), {}), 4) << c.what;
    }
    // A refreshed copy is followed again at the next change.
    if (std::string(c.expected) == "v2") {
      test::WriteFile(program + "/metronome/beat.wav", v1);
      EXPECT_TRUE(LFileInstallSharedData());
      EXPECT_EQ(test::ReadText(copy), text(v1));
    }
  }
}

}  // namespace
