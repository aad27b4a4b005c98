#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "audio/SoundPlayerLLCA.h"
#include "tests/audio/ManualOutput.h"

namespace {

using Output = test::ManualOutput;

TEST(SoundPlayerLLCA, VolumeFactor) {
  Output o;
  struct Case {
    int db;
    int factor;
  } cases[] = {{0, 512}, {-6, 256}, {-20, 51}, {-127, 0}, {6, 1021}};
  for (const Case& c : cases) {
    o.llca->SetPlayVolume(LdBLevel(c.db));
    EXPECT_EQ(o.llca->GetVolumeFactor(), c.factor) << c.db;
  }
}

TEST(SoundPlayerLLCA, PrefillQueuesAtMost8192FramesAndThePlayCursorTrailsTheSource) {
  Output o;
  o.Play(test::Counting(test::kEndless, 1, 22050));  // ring of 16384 frames
  ASSERT_NE(o.llca->GetRing(), nullptr);
  EXPECT_EQ(o.llca->GetRing()->FilledFrames(), 8192);
  EXPECT_TRUE(o.llca->IsNextBufferReady());  // 8192 free
  o.llca->WriteBuffer(1);
  EXPECT_FALSE(o.llca->IsNextBufferReady());  // 8191 free
  EXPECT_EQ(o.llca->GetLagToPlayCursor(), 8193);
  std::vector<int> out;
  o.Render(out, 512, 1);
  o.llca->EvNotify();
  EXPECT_EQ(o.llca->GetPosition(), 512);
}

TEST(SoundPlayerLLCA, UnderRuns) {
  Output o;
  o.Play(test::Counting(300));
  std::vector<int> out;
  // Partial: what is queued is delivered and the worker is signalled at once.
  EXPECT_EQ(o.Render(out, 512, 2), 300u * 2 * 4);
  EXPECT_TRUE(o.llca->ConsumptionSignal().IsSignaled());
  EXPECT_EQ(out[299 * 2 + 1], -300 * 4096);
  EXPECT_TRUE(o.llca->TakePositionRefreshRequest());
  EXPECT_FALSE(o.llca->PlayRemainingBuffer());
  // Complete: silence, published at the usual pace (44100 / 20 = 2205 frames:
  // the fifth 512-frame callback).
  Output e;
  e.Play(test::Counting(0));
  for (int call = 1; call <= 5; ++call) {
    EXPECT_EQ(e.Render(out, 512, 2), 512u * 2 * 4);
    for (int s : out) ASSERT_EQ(s, 0);
    EXPECT_EQ(e.llca->ConsumptionSignal().IsSignaled(), call == 5) << call;
  }
  const auto levels = e.llca->GetLevels();
  ASSERT_EQ(levels.GetCount(), 2);
  EXPECT_EQ(levels[1].Get(), -127);
}

// A stall of the worker: the device plays silence on its own clock, and the
// audio that comes late is dropped so that the track goes on where the
// device is (frame d plays track frame d); one stall counts one under-run
// however many callbacks it spans. The same for callbacks that ask for more
// than the staging buffer and run dry part-way.
TEST(SoundPlayerLLCA, LateAudioIsDroppedAndEachStallCountsOnce) {
  for (const int callback : {512, 2048}) {
    Output o;
    o.Play(test::Counting(test::kEndless, 1, 44100));  // 8192 frames queued
    std::vector<int> out(static_cast<size_t>(callback) * 8);
    long device = 0;
    struct Step {
      int queue;   // frames the worker writes before the callbacks
      int frames;  // the callbacks play
      long underRuns;
    } steps[] = {{0, 8192, 0}, {300, 2048, 1}, {8192, 2048, 1}, {0, 16384, 2}, {20000, 2048, 2}};
    for (const Step& s : steps) {
      if (s.queue) o.llca->WriteBuffer(s.queue);
      for (int c = 0; c < s.frames / callback; ++c) {
        int delivered = 0;
        o.unit->Period(out.data(), callback, &delivered);
        // Whatever sounds is the track frame the device is at.
        const int stride = o.unit->Opened();
        for (int f = 0; f < callback; ++f)
          if (out[f * stride] != 0) {
            ASSERT_EQ(out[f * stride], (device + f + 1) * 4096) << callback << " " << device + f;
          }
        device += callback;
      }
      EXPECT_EQ(o.llca->GetUnderRuns(), s.underRuns) << callback << " " << device;
    }
    EXPECT_NE(out[(callback - 1) * o.unit->Opened()], 0) << callback;  // playing again after the second stall
  }
}

// The device clock: the frames stamped at the latest callback, advanced at
// the stream's rate by the time since, less the declared latency, and not
// further than four periods past the callback, however the callback was cut
// into pieces.
TEST(SoundPlayerLLCA, HeardFrameFollowsTheDeviceClockLessItsLatency) {
  static int64_t now = 0;
  Output o;
  o.unit->latency = 1764;  // 40 ms
  o.llca->SetClock([] { return now; });
  o.Play(test::Counting(test::kEndless, 1, 44100));
  int64_t frame = 0;
  EXPECT_FALSE(o.llca->HeardFrame(now, frame));  // no callback yet
  std::vector<int> out;
  now = 1000000000;
  o.Render(out, 512, 1);
  now += 11609977;  // 512 frames later
  o.Render(out, 512, 1);
  struct Case {
    int64_t afterNs;
    int64_t heard;
  } cases[] = {{0, 512 - 1764}, {5000000, 512 + 220 - 1764}, {1000000000, 512 + 2048 - 1764}, {-5000000, 512 - 1764}};
  for (const Case& c : cases) {
    ASSERT_TRUE(o.llca->HeardFrame(now + c.afterNs, frame));
    EXPECT_EQ(frame, c.heard) << c.afterNs;
  }
  // A callback bigger than the staging buffer, rendered in pieces, keeps
  // the time of its start for all of its frames.
  now += 11609977;
  std::vector<int> big(2048 * 8);
  int delivered = 0;
  o.unit->Period(big.data(), 2048, &delivered);
  ASSERT_EQ(delivered, 2048);
  ASSERT_TRUE(o.llca->HeardFrame(now, frame));
  EXPECT_EQ(frame, 1024 - 1764);
  ASSERT_TRUE(o.llca->HeardFrame(now + 1000000000, frame));
  EXPECT_EQ(frame, 1024 + 4 * 2048 - 1764);
  o.llca->Stop();
  EXPECT_FALSE(o.llca->HeardFrame(now, frame));
}

TEST(SoundPlayerLLCA, StreamChannelsArePlacedOnTheirDeviceChannels) {
  Output o(4);
  o.llca->SetDevice(LSoundPlayDevice(1, 3, 1));
  o.Play(test::Counting(100));
  ASSERT_EQ(o.unit->Opened(), 4);
  std::vector<int> device(64 * 4);
  int delivered = 0;
  EXPECT_EQ(o.unit->Period(device.data(), 64, &delivered), 64);
  for (int f = 0; f < 64; ++f) {
    EXPECT_EQ(device[f * 4 + 3], (f + 1) * 4096);
    EXPECT_EQ(device[f * 4 + 1], -(f + 1) * 4096);
    EXPECT_EQ(device[f * 4 + 0] | device[f * 4 + 2], 0);
  }
  // A short delivery leaves the rest of the device buffer silent.
  EXPECT_EQ(o.unit->Period(device.data(), 64, &delivered), 36);
  EXPECT_EQ(delivered, 36);
  EXPECT_EQ(device[40 * 4 + 3], 0);
}

TEST(SoundPlayerLLCA, AMissingDeviceOrWorkerLeavesTheOutputStopped) {
  Output o;
  o.llca->SetDevice(LSoundPlayDevice(5, 0, 0));  // no fifth device
  LSoundSource source = test::Counting(10);
  EXPECT_FALSE(o.llca->Init(source, 0));
  o.llca->SetDevice(LSoundPlayDevice(1, 0, 0));
  ASSERT_TRUE(o.llca->Init(source, 0));
  o.llca->Start();  // the worker never signals: gives up after 1000 ms
  EXPECT_EQ(o.llca->GetState(), LSoundPlayerLLCA::kStopped);
  EXPECT_FALSE(o.unit->running);
  o.Play(test::Counting(1000));
  o.llca->Stop();  // empties the ring
  EXPECT_FALSE(o.llca->PlayRemainingBuffer());
  EXPECT_EQ(o.llca->GetLagToPlayCursor(), 0);
}

}  // namespace
