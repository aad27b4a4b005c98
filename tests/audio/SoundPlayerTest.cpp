#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "audio/CaptureOutputUnit.h"
#include "audio/SoundPlayer.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"

namespace {

class Recorder : public LSoundPlayerNotify {
 public:
  void spntfPlay(long user) override { events.push_back("play" + Tag(user)); }
  void spntfStop(long user) override { events.push_back("stop" + Tag(user)); }
  void spntfTime(LSoundTime t, long) override {
    events.push_back("time");
    times.push_back(t.GetMilliseconds());
  }
  void spntfLevel(const LDBMultiChannel<LdBLevel>& levels, long) override {
    events.push_back("level");
    levelCounts.push_back(levels.GetCount());
  }
  static std::string Tag(long user) { return user ? ":" + std::to_string(user) : ""; }
  int Count(const std::string& e) const { return static_cast<int>(std::count(events.begin(), events.end(), e)); }

  std::vector<std::string> events;
  std::vector<int> times;
  std::vector<int> levelCounts;
};

// A capture device that can be told to fail at one step, counting the steps.
class StepUnit : public LCaptureOutputUnit {
 public:
  enum Step { kNone, kOpen, kInitialize, kStart };
  StepUnit(std::string path, bool paced) : LCaptureOutputUnit(std::move(path), paced) {}
  bool Open(unsigned int id) override { return ++opens, failAt != kOpen && LCaptureOutputUnit::Open(id); }
  bool Initialize() override { return ++inits, failAt != kInitialize && LCaptureOutputUnit::Initialize(); }
  bool Start() override { return failAt != kStart && LCaptureOutputUnit::Start(); }
  Step failAt = kNone;
  int opens = 0, inits = 0;
};

// A player writing into a capture file, un-paced unless asked.
struct Rig {
  explicit Rig(bool paced = false) {
    test::App();
    auto u = std::make_unique<StepUnit>(dir.File("out.wav"), paced);
    unit = u.get();
    player = std::make_unique<LSoundPlayer>(std::move(u));
    player->SetListener(&recorder, 0);
  }
  test::TempDir dir;
  test::ScriptedDevices devices{{{0, "Capture", 2}}, 0};
  StepUnit* unit;
  std::unique_ptr<LSoundPlayer> player;
  Recorder recorder;
};

TEST(SoundPlayer, AFiniteSourceIsPlayedWholeThenTimedAtItsEndAndStopped) {
  Rig rig;
  LSoundSource broken(4);
  EXPECT_FALSE(rig.player->Start(broken));
  rig.player->Stop();  // while idle: sends nothing
  LSoundSource source = test::Counting(1000);
  ASSERT_TRUE(rig.player->Start(source));
  ASSERT_TRUE(test::RunEventsUntil([&] { return rig.recorder.Count("stop") == 1; }));
  const auto& e = rig.recorder.events;
  ASSERT_GE(e.size(), 3u);
  EXPECT_EQ(e.front(), "play");
  EXPECT_EQ(e[e.size() - 2], "time");
  EXPECT_EQ(rig.recorder.times.back(), 22);  // 1000 frames at 44100 Hz
  EXPECT_EQ(e.back(), "stop");
  EXPECT_FALSE(rig.player->IsPlaying());
  EXPECT_EQ(rig.recorder.Count("play"), 1);
  const test::Capture c = test::ReadCapture(rig.dir.File("out.wav"));
  ASSERT_EQ(c.channels, 2);
  EXPECT_EQ(c.rate, 44100);
  ASSERT_EQ(c.Frames(), 1000);
  for (int s = 0; s < 2000; ++s) ASSERT_EQ(c.samples[s], test::CountingSource::Value(s / 2, s % 2) * 4096) << s;
}

TEST(SoundPlayer, PlayingReportsTimeThenLevelsPeriodically) {
  Rig rig;
  rig.player->SetListener(&rig.recorder, 42);
  LSoundSource source = test::Counting(test::kEndless);
  ASSERT_TRUE(rig.player->Start(source));
  EXPECT_TRUE(rig.player->IsPlaying());
  ASSERT_TRUE(test::RunEventsUntil([&] { return rig.recorder.Count("level") >= 5; }));
  rig.player->Stop();
  const auto& e = rig.recorder.events;
  EXPECT_EQ(e.front(), "play:42");
  EXPECT_EQ(e.back(), "stop:42");
  for (size_t i = 0; i < e.size(); ++i)
    if (e[i] == "level") {
      EXPECT_EQ(e[i - 1], "time") << i;
    }
  for (int count : rig.recorder.levelCounts) EXPECT_EQ(count, 2);
  EXPECT_TRUE(std::is_sorted(rig.recorder.times.begin(), rig.recorder.times.end())) << "time runs forward";
  // The track is continuous: no gaps, no repeats.
  const test::Capture c = test::ReadCapture(rig.dir.File("out.wav"));
  ASSERT_GT(c.Frames(), 2205);
  for (int f = 0; f < c.Frames(); ++f) ASSERT_EQ(c.samples[f * 2], test::CountingSource::Value(f % 500000, 0) * 4096);
}

TEST(SoundPlayer, StartWhilePlayingStopsFirst) {
  Rig rig;
  LSoundSource first = test::Counting(test::kEndless);
  LSoundSource second = test::Counting(test::kEndless);
  ASSERT_TRUE(rig.player->Start(first));
  ASSERT_TRUE(rig.player->Start(second));
  rig.player->Stop();
  QCoreApplication::processEvents();
  std::erase_if(rig.recorder.events, [](const std::string& e) { return e != "play" && e != "stop"; });
  EXPECT_EQ(rig.recorder.events, (std::vector<std::string>{"play", "stop", "play", "stop"}));
}

TEST(SoundPlayer, DestroyingAPlayingPlayerDropsItsPendingNotifications) {
  Rig rig;
  LSoundSource source = test::Counting(test::kEndless);
  ASSERT_TRUE(rig.player->Start(source));
  ASSERT_TRUE(test::RunEventsUntil([&] { return rig.player->PostsInFlight() > 0; }));
  const size_t before = rig.recorder.events.size();
  rig.player.reset();
  QCoreApplication::processEvents();
  EXPECT_EQ(rig.recorder.events.size(), before);
}

// Whatever step the device refuses, Start says so, nothing is announced and
// no thread is left running; once the device works, the next Start plays.
TEST(SoundPlayer, ADeviceRefusingAnyStepFailsTheStartAndLeavesNothingRunning) {
  for (StepUnit::Step step : {StepUnit::kOpen, StepUnit::kInitialize, StepUnit::kStart}) {
    Rig rig(true);
    rig.unit->failAt = step;
    LSoundSource source = test::Counting(test::kEndless);
    EXPECT_FALSE(rig.player->Start(source)) << step;
    EXPECT_FALSE(rig.player->IsPlaying()) << step;
    EXPECT_FALSE(rig.player->IsRunning()) << step;
    EXPECT_FALSE(rig.unit->IsOpen()) << step;
    EXPECT_EQ(rig.recorder.Count("play"), 0) << step;
    rig.unit->failAt = StepUnit::kNone;
    LSoundSource again = test::Counting(test::kEndless);
    EXPECT_TRUE(rig.player->Start(again)) << step;
    EXPECT_TRUE(rig.player->IsPlaying()) << step;
    rig.player->Stop();
  }
}

// The device is opened by the first Start, not by choosing it, and its
// stream is made again only when the format changes (the window chooses the
// stored device again before every Play).
TEST(SoundPlayer, TheDeviceOpensAtPlayAndItsStreamLastsWhileTheFormatHolds) {
  Rig rig(true);
  rig.player->GetOutput().SetDevice(LSoundPlayDevice(1, 0, 0));
  EXPECT_EQ(rig.unit->opens, 0);
  struct Case {
    int rate, channels, opens, inits;
  } cases[] = {{44100, 2, 1, 1}, {44100, 2, 1, 1}, {48000, 2, 1, 2}, {48000, 1, 1, 3}, {48000, 1, 1, 3}};
  for (const Case& c : cases) {
    LSoundSource source = test::Counting(test::kEndless, static_cast<unsigned char>(c.channels), c.rate);
    rig.player->GetOutput().SetDevice(LSoundPlayDevice(1, 0, 0));
    ASSERT_TRUE(rig.player->Start(source)) << c.rate;
    rig.player->Stop();
    EXPECT_EQ(rig.unit->opens, c.opens) << c.rate << "/" << c.channels;
    EXPECT_EQ(rig.unit->inits, c.inits) << c.rate << "/" << c.channels;
  }
}

// The player's worker and the device's thread are made by the first Play
// and kept asleep while stopped: later Plays make no thread.
TEST(SoundPlayer, LaterPlaysMakeNoThread) {
  Rig rig(true);
  auto tasks = [] {
    std::set<std::string> ids;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) ids.insert(task.path().filename());
    return ids;
  };
  std::set<std::string> first;
  for (int play = 0; play < 3; ++play) {
    const long periods = rig.unit->Periods();
    LSoundSource source = test::Counting(test::kEndless);
    ASSERT_TRUE(rig.player->Start(source));
    ASSERT_TRUE(test::RunEventsUntil([&] { return rig.unit->Periods() > periods; }));
    if (play == 0) first = tasks();
    EXPECT_EQ(tasks(), first) << "Play " << play + 1;
    rig.player->Stop();
    EXPECT_EQ(tasks(), first) << "stopped after Play " << play + 1;
  }
}

// A device that starts but never calls back (its server hung) is lost:
// the player stops by itself and says why.
TEST(SoundPlayer, ADeviceThatGoesQuietWhilePlayingIsReportedLost) {
  test::App();
  test::ScriptedDevices devices{{{0, "Quiet", 2}}, 0};
  auto unit = std::make_unique<test::ManualUnit>(2);
  LSoundPlayer player(std::move(unit));
  Recorder recorder;
  player.SetListener(&recorder, 0);
  LSoundSource source = test::Counting(test::kEndless);
  ASSERT_TRUE(player.Start(source));
  ASSERT_TRUE(test::RunEventsUntil([&] { return recorder.Count("stop") == 1; }));
  EXPECT_TRUE(player.GetOutput().HasDeviceFailed());
  EXPECT_FALSE(player.InSession());
}

}  // namespace
