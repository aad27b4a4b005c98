// Playback through a real JACK server (jackd's dummy driver at 48 kHz,
// started by the test), recorded from the server's monitor ports by
// jack_capture.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "audio/JackOutputUnit.h"
#include "audio/SoundPlayer.h"
#include "soundfile/Resample.h"
#include "tests/audio/SoundServer.h"
#include "tests/support/QtApp.h"

namespace {

constexpr int kRate = test::JackServer::kRate;
constexpr int kSoundRate = 44100;
constexpr double kPitch = 1000.0;  // Hz
constexpr int kLevel = 0x40000;    // under the limiter's bound

// A tone at kPitch sampled at 44.1 kHz, converted to the server's rate as a
// click sound is when it is loaded.
std::vector<int> ConvertedTone(int frames) {
  std::vector<int> tone(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) tone[i] = static_cast<int>(kLevel * std::sin(2 * M_PI * kPitch * i / kSoundRate));
  LSoundSource converted =
      LResampleSound(LSoundSource(new test::RepeatedSound(kSoundRate, tone, frames, frames, kLevel)), kRate);
  std::vector<int> out(static_cast<size_t>(converted->GetEndSample()));
  converted->Read(out.data(), converted->GetEndSample());
  return out;
}

LSoundSource Track(int spacing, int frames) {
  return LSoundSource(new test::RepeatedSound(kRate, ConvertedTone(2205), spacing, frames, kLevel));
}

// The tone's frequency from the zero crossings of a stretch of it.
double Pitch(const std::vector<int>& s) {
  int crossings = 0, first = -1, last = -1;
  for (size_t i = 1; i < s.size(); ++i)
    if ((s[i - 1] < 0) != (s[i] < 0)) {
      ++crossings;
      if (first < 0) first = static_cast<int>(i);
      last = static_cast<int>(i);
    }
  return crossings > 2 ? (crossings - 1) / 2.0 * kRate / (last - first) : 0;
}

class JackPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    test::App();
    ::unsetenv("MORVANE_AUDIO_CAPTURE");
    if (!server.Failure().empty()) GTEST_SKIP() << "no JACK server here: " << server.Failure();
    // JACK before any ALSA device a machine with a sound card may list.
    const std::vector<std::string> choices = LSoundPlayDevice::GetChoices();
    ASSERT_GE(choices.size(), 2u);
    ASSERT_EQ(choices[1], kJackDeviceName);
    player.GetOutput().SetDevice(LSoundPlayDevice(1, 0, 0));
  }
  bool PlayToTheEnd(LSoundSource track) {
    return player.Start(track) && test::RunEventsUntil([&] { return !player.IsPlaying(); }, 15000);
  }

  test::JackServer server;
  LSoundPlayer player;
};

// The device asks for the server's rate; a 44.1 kHz mono click sound
// converted to it plays every click at its true pitch, on both ports,
// evenly spaced to the frame, the first as whole as the others.
TEST_F(JackPlay, AMonoTrackAtTheServersRateReachesBothPortsWholeFromTheFirstClick) {
  ASSERT_EQ(player.GetOutput().OpenDeviceRate(kSoundRate), kRate);
  constexpr int kSeconds = 3, kSpacing = 60 * kRate / 100;
  const std::string file = server.Dir().File("monitor.wav");
  ASSERT_TRUE(server.StartRecording(file));
  ASSERT_TRUE(PlayToTheEnd(Track(kSpacing, kSeconds * kRate)));
  EXPECT_FALSE(player.GetOutput().HasDeviceFailed());
  // What the heard position is taken back by: the server's output buffering.
  EXPECT_GE(player.GetOutput().GetUnit().LatencyFrames(), test::JackServer::kPeriod);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  server.StopRecording();
  const std::vector<test::Click> clicks = test::FindClicks(test::ReadRecording(file, 2), kRate / 25);
  test::ExpectEvenClicks(clicks, (kSeconds * kRate + kSpacing - 1) / kSpacing, kSpacing, test::JackServer::kPeriod, 2);
  for (const test::Click& c : clicks) EXPECT_NEAR(Pitch(c.left), kPitch, kPitch / 100) << c.frame;
}

// The heard position is taken back by the server's playback latency from
// the first period of every Play, though each Play connects afresh and the
// server works the figure out only after the connection is made.
TEST_F(JackPlay, EveryPlayKnowsThePlaybackLatencyFromItsFirstPeriod) {
  for (int play = 0; play < 3; ++play) {
    LSoundSource endless = Track(kRate / 2, 600 * kRate);
    player.GetOutput().TakePositionRefreshRequest();  // set by every render callback
    ASSERT_TRUE(player.Start(endless));
    // Polled without running events: the window's handler would take it.
    bool rendered = false;
    for (int i = 0; i < 30000 && !(rendered = player.GetOutput().TakePositionRefreshRequest()); ++i)
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    ASSERT_TRUE(rendered) << "Play " << play;
    const int first = player.GetOutput().GetUnit().LatencyFrames();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const int settled = player.GetOutput().GetUnit().LatencyFrames();
    player.Stop();
    EXPECT_GE(settled, test::JackServer::kPeriod) << "Play " << play;
    EXPECT_EQ(first, settled) << "Play " << play;
  }
}

// Stopped, the client takes no part in the server's cycles: no thread of
// the process wakes up, though the device stays open for the next Play.
TEST_F(JackPlay, StoppedTheProcessSleeps) {
  ASSERT_TRUE(PlayToTheEnd(Track(kRate, kRate / 10)));
  ASSERT_TRUE(player.GetOutput().GetUnit().IsOpen());
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const long before = test::OtherThreadsSwitches();
  std::this_thread::sleep_for(std::chrono::seconds(5));
  EXPECT_EQ(test::OtherThreadsSwitches() - before, 0);
}

// The server killed while playing and while stopped: reported as a lost
// device, no call hangs, nothing aborts (at the next device change, the next
// Play or the end of the process); once a server is back, Play works again.
TEST_F(JackPlay, AServerThatGoesAwayIsReportedAndNeverHangs) {
  LSoundSource endless = Track(kRate / 2, 600 * kRate);
  ASSERT_TRUE(player.Start(endless));
  test::RunEventsUntil([] { return false; }, 300);
  server.KillDaemon();
  ASSERT_TRUE(test::RunEventsUntil([&] { return !player.IsPlaying(); }, 3000));
  EXPECT_TRUE(player.GetOutput().HasDeviceFailed());
  player.GetOutput().SetDevice(LSoundPlayDevice(0, 0, 0));
  LSoundPlayDeviceRescan();  // PortAudio terminated and started again: it holds no JACK client

  ASSERT_TRUE(server.StartDaemon());
  player.GetOutput().SetDevice(LSoundPlayDevice(1, 0, 0));
  ASSERT_TRUE(PlayToTheEnd(Track(kRate, kRate / 10)));
  server.KillDaemon();
  LSoundSource again = Track(kRate, kRate / 10);
  EXPECT_FALSE(player.Start(again)) << "no server to play on";

  ASSERT_TRUE(server.StartDaemon());
  EXPECT_TRUE(PlayToTheEnd(Track(kRate, kRate / 10)));
  EXPECT_FALSE(player.GetOutput().HasDeviceFailed());
}

}  // namespace
