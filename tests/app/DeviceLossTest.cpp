// The programs over a real PipeWire daemon (started by the test) that is
// killed while they play, natively and through PortAudio's ALSA device; the
// window over a JACK server killed while playing and while stopped.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "app/AppMain.h"
#include "model/MVModel.h"
#include "store/Settings.h"
#include "tests/audio/SoundServer.h"
#include "tests/support/QtApp.h"
#include "ui/MainDialog.h"

namespace {

constexpr const char* kDevices[] = {"Default Playback Device", "ALSA: pipewire"};

std::string Read(const std::string& file) {
  std::ifstream in(file);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The window with `device` stored (offscreen, sounds from the source tree),
// `steps` run once it is shown, then SIGTERM however the steps went.
struct WindowRun {
  int status;
  qint64 quitMs;  // from SIGTERM to the end of the window
};
WindowRun RunWindow(const char* device, const std::function<void(MainDialog&)>& steps) {
  ::unsetenv("MORVANE_AUDIO_CAPTURE");
  ::setenv("MORVANE_DATA_DIR", MORVANE_SOURCE_DATA_DIR, 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  LUserSettingSetString("Settings", "SoundOutDevice", device);
  QElapsedTimer terminated;
  char name[] = "morvane";
  char* argv[] = {name, nullptr};
  const int status = MorvaneMain(1, argv, [&](MainDialog& window) {
    steps(window);
    ::kill(::getpid(), SIGTERM);
    terminated.start();
  });
  return {status, terminated.elapsed()};
}

class DeviceLoss : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (!server.Failure().empty()) GTEST_SKIP() << "no PipeWire daemon here: " << server.Failure();
    if (std::string(GetParam()).rfind("ALSA: ", 0) == 0 &&
        !std::filesystem::exists("/etc/alsa/conf.d/50-pipewire.conf"))
      GTEST_SKIP() << "pipewire-alsa is not installed";
    ::unsetenv("MORVANE_AUDIO_CAPTURE");  // morvane-render --play too
  }
  // Kills the daemon on a thread of its own, so the window's thread is free
  // to show what happens; returns once it is dead.
  void KillDaemonAside(QElapsedTimer& killed) {
    std::atomic<bool> dead{false};
    std::thread killer([&] {
      server.KillDaemon();
      killed.start();
      dead = true;
    });
    test::RunEventsUntil([&] { return dead.load(); }, 10000);
    killer.join();
  }
  test::PipeWireServer server;
};

// The window playing when the daemon dies: the strip says so at once, the
// window keeps answering (a Play meanwhile is refused, not hung), Play works
// once the daemon is back, and SIGTERM while playing ends it cleanly.
TEST_P(DeviceLoss, TheWindowReportsALostDaemonAndPlaysOnceItIsBack) {
  qint64 reportMs = -1, longestPauseMs = 0;
  bool playsAgain = false;
  const WindowRun run = RunWindow(GetParam(), [&](MainDialog& window) {
    LMVModel& model = window.Model();
    model.StartPlaying();
    test::RunEventsUntil([] { return false; }, 700);
    ASSERT_TRUE(model.IsPlaying()) << window.InfoText().toStdString();
    // The event loop's longest pause from here on.
    QElapsedTimer tick;
    tick.start();
    QTimer pulse;
    QObject::connect(&pulse, &QTimer::timeout, [&] { longestPauseMs = std::max(longestPauseMs, tick.restart()); });
    pulse.start(20);
    QElapsedTimer killed;
    KillDaemonAside(killed);
    if (test::RunEventsUntil([&] { return window.InfoText().contains(QStringLiteral("stopped working")); }, 3000))
      reportMs = killed.elapsed();
    EXPECT_FALSE(model.IsPlaying());
    EXPECT_FALSE(model.StartPlaying() && model.IsPlaying()) << "played with no daemon";
    ASSERT_TRUE(server.StartDaemon());
    tick.restart();
    playsAgain = model.StartPlaying();
    test::RunEventsUntil([] { return false; }, 700);
    playsAgain = playsAgain && model.IsPlaying();
  });
  EXPECT_EQ(run.status, 0);
  // Below the player's 4 s watchdog: the back end's own report, not the last resort.
  EXPECT_GE(reportMs, 0) << "no report within 3 s";
  EXPECT_LT(longestPauseMs, 3000) << "the window stopped answering";
  EXPECT_TRUE(playsAgain);
  EXPECT_LT(run.quitMs, 3000);
}

// morvane-render --play when the daemon dies: exit status 1 soon, naming
// the device, and no flood of the back end's lines.
TEST_P(DeviceLoss, PlayFromTheCommandLineExitsOneWithoutAFlood) {
  const std::string out = server.Dir().File("render.out"), err = server.Dir().File("render.err");
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen(err.c_str(), "w", stderr)) ::_exit(126);
    ::execl(MORVANE_RENDER, "morvane-render", "--play", "--seconds", "60", "--device", GetParam(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_TRUE(test::RunEventsUntil([&] { return Read(out).find("play\n") != std::string::npos; }, 10000)) << Read(err);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  server.KillDaemon();
  int raw = 0;
  bool ended = false;
  test::RunEventsUntil([&] { return ended = ended || ::waitpid(pid, &raw, WNOHANG) == pid; }, 10000);
  if (!ended) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &raw, 0);
  }
  ASSERT_TRUE(ended) << "still playing 10 s after the daemon died";
  ASSERT_TRUE(WIFEXITED(raw)) << "ended by signal " << (WIFSIGNALED(raw) ? WTERMSIG(raw) : 0);
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  const std::string said = Read(err);
  EXPECT_NE(said.find("stopped working while playing"), std::string::npos) << said;
  EXPECT_LT(std::count(said.begin(), said.end(), '\n'), 20) << said.substr(0, 2000);
}

INSTANTIATE_TEST_SUITE_P(Devices, DeviceLoss, ::testing::ValuesIn(kDevices),
                         [](const auto& info) { return info.index == 0 ? "Native" : "AlsaPlugin"; });

// The window on "JACK: system" when jackd dies, playing and then stopped:
// reported, nothing aborts (libjack with a dead server is the danger), Play
// works on a new server, and the window still quits at once with status 0.
TEST(JackLoss, TheWindowSurvivesAServerKilledPlayingAndStopped) {
  test::JackServer server;
  if (!server.Failure().empty()) GTEST_SKIP() << server.Failure();
  bool reported = false, playedAgain = false;
  const WindowRun run = RunWindow("JACK: system", [&](MainDialog& window) {
    LMVModel& model = window.Model();
    model.StartPlaying();
    test::RunEventsUntil([] { return false; }, 500);
    ASSERT_TRUE(model.IsPlaying()) << window.InfoText().toStdString();
    server.KillDaemon();
    reported = test::RunEventsUntil(
        [&] { return !model.IsPlaying() && window.InfoText().contains(QStringLiteral("stopped working")); }, 3000);
    ASSERT_TRUE(server.StartDaemon());
    playedAgain = model.StartPlaying();
    test::RunEventsUntil([] { return false; }, 500);
    playedAgain = playedAgain && model.IsPlaying();
    model.StopPlaying();
    test::RunEventsUntil([] { return false; }, 300);
    server.KillDaemon();
    test::RunEventsUntil([] { return false; }, 500);
  });
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(reported) << "the loss was not shown within 3 s";
  EXPECT_TRUE(playedAgain);
  EXPECT_LT(run.quitMs, 3000);
}

}  // namespace
