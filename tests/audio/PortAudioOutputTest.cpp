// The PortAudio path without a sound card: an ALSA configuration whose
// default PCM writes everything it is given to a raw file over the null PCM.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/PortAudioOutputUnit.h"
#include "audio/SoundPlayer.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"

namespace {

class PortAudioOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    test::App();
    ::unsetenv("MORVANE_AUDIO_CAPTURE");
    std::ofstream(dir.File("asound.conf")) << "pcm.!default { type file; slave.pcm { type null }; file \""
                                           << dir.File("out.raw") << "\"; format \"raw\" }\n";
    // Read by ALSA when PortAudio first initialises in this process.
    ::setenv("ALSA_CONFIG_PATH", dir.File("asound.conf").c_str(), 1);
    player.SetListener(&listener, 0);
  }
  // Counts the player's stops, whether asked for or not.
  struct : LSoundPlayerNotify {
    void spntfStop(long) override { ++stops; }
    int stops = 0;
  } listener;
  int& stops = listener.stops;
  test::TempDir dir;
  LSoundPlayer player;
};

TEST_F(PortAudioOutput, ListsTheDefaultDeviceAndWritesExactlyWhatWasRendered) {
  const auto choices = LSoundPlayDevice::GetChoices();
  ASSERT_GE(choices.size(), 2u);
  EXPECT_EQ(choices[0], "Default Playback Device");
  EXPECT_EQ(choices[1], "ALSA: default");
  EXPECT_EQ(LSoundPlayDevice::GetListDeviceIndex("ALSA: default"), 1);
  EXPECT_EQ(LSoundPlayDevice::GetListDeviceIndex("default"), 1);  // as stored by earlier versions

  // Fits the pre-fill, so the unpaced device never runs dry in the middle.
  constexpr int kFrames = 6000;
  LSoundSource source = test::Counting(kFrames);
  ASSERT_TRUE(player.Start(source));
  ASSERT_TRUE(player.IsPlaying());
  ASSERT_TRUE(test::RunEventsUntil([&] { return stops == 1; }));

  std::vector<int> data;
  {
    std::ifstream in(dir.File("out.raw"), std::ios::binary);
    int s;
    while (in.read(reinterpret_cast<char*>(&s), 4)) data.push_back(s);
  }
  size_t first = 0;
  while (first < data.size() && data[first] == 0) ++first;  // PortAudio's priming silence
  ASSERT_GE(data.size(), first + kFrames * 2);
  ASSERT_EQ(first % 2, 0u);
  for (int f = 0; f < kFrames; ++f) {
    ASSERT_EQ(data[first + f * 2], test::CountingSource::Value(f, 0) * 4096) << f;
    ASSERT_EQ(data[first + f * 2 + 1], test::CountingSource::Value(f, 1) * 4096) << f;
  }
}

// The device fails while playing (here the ALSA file plugin's output sits on
// a full disk): the player stops by itself and says the device failed; once
// the device works again, so does the next Start.
TEST_F(PortAudioOutput, ADeviceFailingWhilePlayingStopsThePlayerUntilItIsBack) {
  std::filesystem::create_symlink("/dev/full", dir.File("out.raw"));
  LSoundSource endless = test::Counting(44100 * 600);
  ASSERT_TRUE(player.Start(endless));
  ASSERT_TRUE(test::RunEventsUntil([&] { return stops == 1; }));
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_TRUE(player.GetOutput().HasDeviceFailed());

  std::filesystem::remove(dir.File("out.raw"));
  LSoundSource source = test::Counting(6000);
  ASSERT_TRUE(player.Start(source));
  ASSERT_TRUE(test::RunEventsUntil([&] { return stops == 2; }));
  EXPECT_FALSE(player.GetOutput().HasDeviceFailed());
  EXPECT_GE(std::filesystem::file_size(dir.File("out.raw")), 6000u * 8);
}

// PortAudio reads ALSA's devices when it starts only: a rescan finds a
// device configured since, but not while a unit holds a device (its index
// would change under it).
TEST_F(PortAudioOutput, ARescanFindsADeviceConfiguredSinceOnceNoDeviceIsHeld) {
  const auto listed = [] {
    const auto choices = LSoundPlayDevice::GetChoices();
    return std::count(choices.begin(), choices.end(), "ALSA: second") == 1;
  };
  ASSERT_FALSE(listed());
  std::ofstream(dir.File("asound.conf"), std::ios::app) << "pcm.second { type null }\n";
  LPortAudioOutputUnit unit;
  ASSERT_TRUE(unit.Open(LSoundPlayDevice::GetListDeviceIDAtIndex(1)));
  LSoundPlayDeviceRescan();
  EXPECT_FALSE(listed());
  unit.Close();
  LSoundPlayDeviceRescan();
  EXPECT_TRUE(listed());
}

}  // namespace
