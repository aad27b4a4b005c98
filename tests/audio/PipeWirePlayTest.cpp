// Playback through a real PipeWire daemon (started by the test), recorded
// from the null sink's monitor by pw-record.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "audio/DeviceWatch.h"
#include "audio/SoundPlayer.h"
#include "tests/audio/SoundServer.h"
#include "tests/support/QtApp.h"

namespace {

constexpr int kRate = test::PipeWireServer::kRate;
constexpr int kCycleFrames = 512;  // the graph's period for the ~10 ms asked for (a power of two)
constexpr int kClickFrames = 240;
constexpr int kLevel = 0x40000;  // under the limiter's bound

// A click of kClickFrames frames at full level every `spacing` frames.
LSoundSource Clicks(int spacing, int frames) {
  return LSoundSource(new test::RepeatedSound(kRate, std::vector<int>(kClickFrames, kLevel), spacing, frames, kLevel));
}

class PipeWirePlay : public ::testing::Test {
 protected:
  void SetUp() override {
    test::App();
    ::unsetenv("MORVANE_AUDIO_CAPTURE");
    if (!server.Failure().empty()) GTEST_SKIP() << "no PipeWire daemon here: " << server.Failure();
  }

  // Plays `seconds` of clicks at bpm through the device (the default one
  // unless named): what the sink played is every click, evenly spaced, whole
  // from the first.
  void PlayAndCheck(int bpm, int seconds, int cyclesMissedAllowed, const char* device = nullptr) {
    const int spacing = 60 * kRate / bpm;
    const std::string file = server.Dir().File("monitor.wav");
    LSoundPlayer player;
    if (device) {
      const int index = LSoundPlayDevice::GetListDeviceIndex(device);
      ASSERT_NE(index, 0) << device << " is not listed";
      player.GetOutput().SetDevice(LSoundPlayDevice(index, 0, 0));
    }
    ASSERT_TRUE(server.StartRecording(file));
    LSoundSource source = Clicks(spacing, seconds * kRate);
    ASSERT_TRUE(player.Start(source));
    EXPECT_TRUE(test::RunEventsUntil([&] { return !player.IsPlaying(); }, (seconds + 10) * 1000));
    EXPECT_FALSE(player.GetOutput().HasDeviceFailed());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    server.StopRecording();
    test::ExpectEvenClicks(test::FindClicks(test::ReadRecording(file, 2), kClickFrames),
                           (seconds * kRate + spacing - 1) / spacing, spacing, kCycleFrames, cyclesMissedAllowed);
  }

  test::PipeWireServer server;
};

TEST_F(PipeWirePlay, ListsTheSinkAndPlaysEveryClickEvenlyFromTheFirst) {
  const auto choices = LSoundPlayDevice::GetChoices();
  ASSERT_GE(choices.size(), 2u);
  EXPECT_EQ(choices[0], "Default Playback Device");
  EXPECT_EQ(choices[1], "Test Sink");
  PlayAndCheck(100, 3, 3);
}

// PortAudio through ALSA's default device, which pipewire-alsa routes to
// the daemon.
TEST_F(PipeWirePlay, ThroughAlsasDefaultDeviceEveryClickEvenlyFromTheFirst) {
  if (!std::filesystem::exists("/etc/alsa/conf.d/99-pipewire-default.conf"))
    GTEST_SKIP() << "pipewire-alsa is not installed";
  PlayAndCheck(100, 3, 3, "ALSA: default");
}

// A sink that comes and goes while the list is watched is heard as it
// happens, and the list read then has it, and then has it no more.
TEST_F(PipeWirePlay, ASinkThatComesAndGoesIsHeardAsItHappens) {
  std::atomic<int> changes{0};
  LOutputDeviceWatch watch([&] { ++changes; });
  ASSERT_TRUE(watch.Connected());
  const struct {
    const char* command;
    bool listed;
  } steps[] = {{"pw-cli create-node adapter '{ factory.name=support.null-audio-sink node.name=second-sink "
                "node.description=\"Second Sink\" media.class=Audio/Sink object.linger=true }'",
                true},
               {"pw-cli destroy second-sink", false}};
  for (const auto& step : steps) {
    const int before = changes;
    ASSERT_EQ(std::system((std::string(step.command) + " >/dev/null").c_str()), 0) << step.command;
    EXPECT_TRUE(test::RunEventsUntil([&] { return changes > before; }, 5000)) << step.command;
    const auto choices = LSoundPlayDevice::GetChoices();
    EXPECT_EQ(std::count(choices.begin(), choices.end(), "Second Sink"), step.listed ? 1 : 0) << step.command;
  }
  const int before = changes;
  server.KillDaemon();
  EXPECT_TRUE(test::RunEventsUntil([&] { return changes > before && !watch.Connected(); }, 5000));
}

// Even run alone (the stress label), a build elsewhere on the machine makes
// the daemon miss a few cycles: up to one every two seconds passes.
TEST_F(PipeWirePlay, StressTenSecondsAtOneHundredBpm) { PlayAndCheck(100, 10, 5); }

// The daemon killed mid-play: the player stops by itself and says the
// device failed, nothing hangs; once the daemon is back, Play works again.
TEST_F(PipeWirePlay, ADaemonKilledWhilePlayingIsReportedAndPlayWorksOnceItIsBack) {
  LSoundPlayer player;
  LSoundSource endless = Clicks(kRate / 2, 600 * kRate);
  ASSERT_TRUE(player.Start(endless));
  test::RunEventsUntil([] { return false; }, 500);
  ASSERT_TRUE(player.IsPlaying()) << "device failed: " << player.GetOutput().HasDeviceFailed();
  server.KillDaemon();
  ASSERT_TRUE(test::RunEventsUntil([&] { return !player.IsPlaying(); }, 5000));
  EXPECT_TRUE(player.GetOutput().HasDeviceFailed());

  ASSERT_TRUE(server.StartDaemon());
  LSoundSource again = Clicks(kRate / 2, kRate);
  ASSERT_TRUE(player.Start(again));
  EXPECT_TRUE(test::RunEventsUntil([&] { return !player.IsPlaying(); }, 10000));
  EXPECT_FALSE(player.GetOutput().HasDeviceFailed());
}

}  // namespace
