// The click track end to end: metronome source, limiter, player, ring,
// render callback and a capture device, checked sample by sample.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "audio/CaptureOutputUnit.h"
#include "audio/SoundPlayer.h"
#include "engine/MetronomeAdvanced.h"
#include "engine/MetronomeSource.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

namespace {

constexpr int kSoundFrames = 200;
// 16-bit levels of the three sounds, told apart in the capture.
constexpr int kAccent = 1000, kBeat = 2000, kClick = 3000;

void WriteSound(const test::TempDir& dir, const char* name, int value) {
  std::vector<int32_t> samples(kSoundFrames, value);
  ASSERT_TRUE(test::WriteFile(dir.File(name), test::PcmWav(samples, 1, 44100, 16)));
}

TEST(ClickTrackCapture, ClicksLandOnTheGridInTheMeasuresOrderAtTheOutputVolume) {
  test::App();
  test::TempDir dir;
  WriteSound(dir, "accent.wav", kAccent);
  WriteSound(dir, "beat.wav", kBeat);
  WriteSound(dir, "click.wav", kClick);
  LMetronomeAdvanced::SetDefaultSoundFolder(dir.Path());
  LMetronomeAdvanced metronome;
  metronome.m_measure = LMetronomeAdvanced::MeasureIndex("3");
  metronome.SetTempo(120);
  metronome.SetSubDiv(1);  // two clicks per beat
  const int slot = metronome.ReCalculateInterval();
  ASSERT_EQ(slot, 11025);
  LSoundSource track(new LMetronomeAdvancedSource(metronome));
  ASSERT_EQ(track->GetError(), 0);

  test::ScriptedDevices devices({{0, "Capture", 2}}, 0);
  auto unit = std::make_unique<LCaptureOutputUnit>(dir.File("track.wav"), false);
  LCaptureOutputUnit* capture = unit.get();
  LSoundPlayer player(std::move(unit));
  player.GetOutput().SetPlayVolume(LdBLevel(-6));
  ASSERT_TRUE(player.Start(track));
  const int slotCount = 14;  // two bars of three beats and a bit
  ASSERT_TRUE(test::RunEventsUntil([&] { return capture->FramesWritten() >= slotCount * slot; }));
  player.Stop();

  const test::Capture c = test::ReadCapture(dir.File("track.wav"));
  ASSERT_EQ(c.channels, 2);  // the mono track on both channels of the pair
  ASSERT_GE(c.Frames(), slotCount * slot);
  const int order[6] = {kAccent, kClick, kBeat, kClick, kBeat, kClick};
  for (int k = 0; k < slotCount; ++k) {
    // -6 dB halves the internal sample (value * 16); the device gets it x 4096.
    const int expected = (order[k % 6] * 16 * 256 >> 9) * 4096;
    for (int f = 0; f < slot; ++f) {
      for (int channel = 0; channel < 2; ++channel) {
        const int got = c.samples[(static_cast<size_t>(k) * slot + f) * 2 + channel];
        ASSERT_EQ(got, f < kSoundFrames ? expected : 0) << "slot " << k << " frame " << f << " channel " << channel;
      }
    }
  }
}

}  // namespace
