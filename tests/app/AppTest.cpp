#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/AppMain.h"
#include "model/MVModel.h"
#include "soundfile/WaveFile.h"
#include "store/Settings.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"
#include "ui/MainDialog.h"

namespace {

struct ProgramRun {
  int status;
  std::string output;
};

// The real program as its own process; env are extra assignments for env(1).
ProgramRun RunProgram(const std::string& env, const std::string& args) {
  const std::string command =
      "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + env + " " MORVANE_BINARY " " + args + " 2>&1";
  ProgramRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

// The program's command line with and without a display, and a start that
// cannot set up its folders: the exit status and what it prints.
TEST(AppTest, CommandLinesWithAndWithoutADisplay) {
  test::IsolatedHome home;
  // A data folder that cannot be made: named in a box, which SIGTERM closes.
  const std::string inTheWay = home.Dir().File("file");
  ASSERT_TRUE(test::WriteFile(inTheWay, test::Bytes{'x'}));
  const std::string blocked = "QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=" + inTheWay +
                              " MORVANE_DATA_DIR=" + MORVANE_SOURCE_DATA_DIR + " timeout --preserve-status -s TERM 2";
  const struct {
    std::string env;
    const char* args;
    int status;
    std::string says;
  } cases[] = {{"", "", 1, "xvfb-run"},
               {"", "-installer", 2, "usage: morvane"},
               {"QT_QPA_PLATFORM=offscreen", "-installer", 2, "usage: morvane"},
               {"QT_QPA_PLATFORM=offscreen", "--help", 0, "usage: morvane"},
               {"DISPLAY=:97", "", 1, "could not connect to display :97"},
               {"QT_QPA_PLATFORM=nosuch", "", 1, "\"nosuch\""},
               {blocked, "", 1, inTheWay + " is a file, not a folder"}};
  for (const auto& c : cases) {
    const ProgramRun run = RunProgram(c.env, c.args);
    EXPECT_EQ(run.status, c.status) << c.env << c.args;
    EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
    // One line of ours, not the toolkit's abort and its advice to reinstall.
    EXPECT_EQ(run.output.find("qt.qpa"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("einstall"), std::string::npos) << run.output;
  }
  EXPECT_FALSE(std::filesystem::exists(home.Dir().File(".config/Morvane")));
}

// SIGTERM (a session logging out) closes the window as Quit does.
TEST(AppTest, TerminationClosesTheWindowCleanly) {
  test::IsolatedHome home;
  ::setenv("MORVANE_DATA_DIR", MORVANE_SOURCE_DATA_DIR, 1);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    execl(MORVANE_BINARY, "morvane", static_cast<char*>(nullptr));
    _exit(127);
  }
  // The toolbar's offer is stored while the window builds itself, after
  // the signals are routed to the window; an early signal waits in its pipe.
  char offer[kSettingTextSize];
  for (int i = 0; i < 2000 && !_LUserSettingGetString("ToolBar", "Main", "", offer); ++i) usleep(5000);
  kill(pid, SIGTERM);
  int raw = 0;
  ASSERT_EQ(waitpid(pid, &raw, 0), pid);
  EXPECT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 0);
  EXPECT_EQ(LUserSettingGet<int>("MainWindow", "Width", 0), 600);
  ::unsetenv("MORVANE_DATA_DIR");
}

void Key(QWindow* window, Qt::Key key, Qt::KeyboardModifiers mods, const char* text) {
  QTest::sendKeyEvent(QTest::Click, window, key, QString::fromLatin1(text), mods);
}

// Frames where a click starts: a sample after at least `gap` silent frames.
std::vector<int> Onsets(const std::string& path, int gap) {
  LSoundSource source = LWaveFile::OpenSource(path.c_str());
  const int channels = source->GetError() ? 0 : source->GetChannels();
  std::vector<int> onsets, frame(channels);
  for (int i = 0, silent = gap; channels && i < source->GetEndSample(); ++i) {
    source->Read(frame.data(), 1);
    const bool loud = std::any_of(frame.begin(), frame.end(), [](int v) { return v != 0; });
    if (loud && silent >= gap) onsets.push_back(i);
    silent = loud ? 0 : silent + 1;
  }
  return onsets;
}

// The whole program in this process, playing into a capture file.
class InProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("MORVANE_DATA_DIR", MORVANE_SOURCE_DATA_DIR, 1);
    ::setenv("MORVANE_AUDIO_CAPTURE", capture.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  void TearDown() override {
    ::unsetenv("MORVANE_AUDIO_CAPTURE");
    ::unsetenv("MORVANE_DATA_DIR");
  }
  int RunMain(const std::function<void(MainDialog&)>& started) {
    char name[] = "morvane";
    char* argv[] = {name, nullptr};
    return MorvaneMain(1, argv, started);
  }
  test::IsolatedHome home;
  const std::string capture = home.Dir().File("capture.wav");
};

// Settings that cannot be read: the program starts with the defaults, keeps
// the old file and says so in the window.
TEST_F(InProcess, UnreadableSettingsAreKeptAndReported) {
  char path[1024];
  LSettingsFilePath(path, sizeof path);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  ASSERT_TRUE(test::WriteFile(path, test::Bytes{'[', 'S', 'e', 't', 't', 'i', 'n', 'g', 's', '\n', 0xFF, '\n'}));

  QString info;
  int tempo = 0;
  const int status = RunMain([&](MainDialog& window) {
    info = window.InfoText();
    tempo = window.Model().GetTempo();
    QTimer::singleShot(0, &window, [&window] { Key(window.windowHandle(), Qt::Key_Q, Qt::ControlModifier, "q"); });
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(tempo, 92);
  EXPECT_NE(info.indexOf(QStringLiteral("Nothing on disk was lost")), -1) << info.toStdString();
  EXPECT_TRUE(std::filesystem::exists(std::string(path) + ".unreadable"));
}

// Stored values the controls cannot show: within range, or the default for
// no number, and the strip names each.
TEST_F(InProcess, StoredValuesOutOfRangeAreBroughtInAndNamed) {
  LUserSettingSetString("Settings", "Tempo", "abc");
  LUserSettingSet<int>("Settings", "Volume", -999);
  LUserSettingSet<int>("Sound", "BeatVolume", 50);
  QString info;
  int tempo = 0, volume = 0;
  RunMain([&](MainDialog& window) {
    info = window.InfoText();
    tempo = window.Model().GetTempo();
    volume = window.VolumeSlider().GetLevel().Get();
    QTimer::singleShot(0, &window, [&window] { window.close(); });
  });
  EXPECT_EQ(tempo, 92);
  EXPECT_EQ(volume, -45);
  EXPECT_EQ(LUserSettingGet<int>("Sound", "BeatVolume", 0), 12);
  for (const char* said : {"Tempo: \"abc\" is not a number", "Volume: -999", "Beat level: 50"})
    EXPECT_NE(info.indexOf(QString::fromUtf8(said)), -1) << info.toStdString();
}

// Space starts it, Space again once three beats are captured, then Ctrl+Q
// quits; the capture holds the click track and the settings the session.
TEST_F(InProcess, PlaysAndStopsFromTheKeyboardAndKeepsTheSession) {
  LUserSettingSet<int>("Settings", "Tempo", 120);  // 22050 frames a beat at 44.1 kHz
  constexpr long kBeatBytes = 22050L * 8;  // the capture device writes two 32-bit channels

  bool stopped = false;
  const int status = RunMain([&](MainDialog& window) {
    QWindow* handle = window.windowHandle();
    QTimer::singleShot(0, &window, [handle] { Key(handle, Qt::Key_Space, Qt::NoModifier, " "); });
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&, handle, poll] {
      std::error_code error;
      const auto size = std::filesystem::file_size(capture, error);
      if (error || static_cast<long>(size) < 44 + 3 * kBeatBytes) return;
      poll->stop();
      Key(handle, Qt::Key_Space, Qt::NoModifier, " ");
      QTimer::singleShot(0, &window, [&window, handle, &stopped] {
        stopped = !window.Model().IsPlaying();
        Key(handle, Qt::Key_Q, Qt::ControlModifier, "q");
      });
    });
    poll->start(20);
  });
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(stopped);

  const std::vector<int> onsets = Onsets(capture, 2000);
  ASSERT_GE(onsets.size(), 3u);
  EXPECT_LT(onsets[0], 64);  // the track starts with the first click
  for (size_t i = 1; i < onsets.size(); ++i) EXPECT_EQ(onsets[i] - onsets[i - 1], 22050) << i;

  EXPECT_EQ(LUserSettingGet<int>("Settings", "Tempo", 0), 120);
  EXPECT_EQ(LUserSettingGet<int>("MainWindow", "Width", 0), 600);
  EXPECT_TRUE(LUserSettingGet<bool>("ToolBarState", "Main", false));
}

}  // namespace
