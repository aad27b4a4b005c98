#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/CaptureOutputUnit.h"
#include "model/MVModel.h"
#include "model/PracticeModel.h"
#include "soundfile/WaveFile.h"
#include "store/DataFolders.h"
#include "store/Presets.h"
#include "store/Profile.h"
#include "store/Settings.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/ClickOracle.h"
#include "tests/support/InstalledHome.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

namespace {

// Every event as a line, in order.
class Recorder : public LMVModelEvents {
 public:
  void EvMeasureChanged(int i, const char* n) override { Add("Measure " + std::to_string(i) + " " + n); }
  void EvSubDivChanged(int i, const char* n) override { Add("SubDiv " + std::to_string(i) + " " + n); }
  void EvTempoChanged(int b, const char* m) override { Add("Tempo " + std::to_string(b) + " " + m); }
  void EvVolumeChanged(const LdBLevel& v) override { Add("Volume " + std::to_string(v.Get())); }
  void EvPlayingStarted() override { Add("Started"); }
  void EvPlayingStopped() override { Add("Stopped"); }
  void EvPlayingTime(int p, int s) override { lastTime = p, ++times, scale = s; }
  void EvHeardTempo(int bpm) override { heardTempos.push_back(bpm); }
  void EvShowAudelleInfoBar() override {
    if (recordInfoBar) Add("InfoBar");
  }
  void Add(const std::string& e) { events.push_back(e); }
  std::vector<std::string> Take() { return std::exchange(events, {}); }
  std::vector<std::string> events;
  int lastTime = -1, times = 0, scale = 0;
  std::vector<int> heardTempos;
  bool recordInfoBar = true;
};

// A user with the shipped sounds installed, isolated from the real home,
// and a capture device in place of a sound card.
class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::App();
    ASSERT_TRUE(home.Installed());
    shared = GetSharedDataFolderApp();
  }

  std::unique_ptr<LMVModel> MakeModel() {
    auto unit = std::make_unique<LCaptureOutputUnit>(home.Dir().File("capture.wav"), false);
    capture = unit.get();
    auto model = std::make_unique<LMVModel>(std::move(unit));
    model->SetTickSource([this] { return now; });
    return model;
  }
  void SetOptions(const char* field, const char* value) { home.SetOption(field, value); }
  // A model playing constant sounds (accent 1000, beat 2000, click 3000,
  // the downbeat at the accent's level) at 240 bpm in "4", so onsets name
  // their sounds.
  std::unique_ptr<LMVModel> ConstantSoundsModel() {
    const char* fields[] = {options_field::kAccent, options_field::kBeat, options_field::kClick};
    for (int i = 0; i < 3; ++i) {
      const std::string name = std::string(1, static_cast<char>('a' + i)) + ".wav";
      WriteUserSound(name.c_str(), 1000 * (i + 1));
      SetOptions(fields[i], name.c_str());
    }
    LUserSettingSet<int>("Sound", "DownbeatLevel", 0);
    auto model = MakeModel();
    EXPECT_TRUE(model->Init());
    model->SetTempo(240);
    model->SetMeasure(3);  // "4"
    model->SetSubDiv(0);
    return model;
  }
  // How many beats at or after frame `taken` explain every onset captured
  // before `end` as a change from 240 bpm in "4" to `after` there: the beat
  // a change lands on is not known in advance (the worker runs ahead of the
  // device), so exactly one must.
  int ChangeLandings(long taken, long end, const test::Meter& after) {
    const test::Capture c = test::ReadCapture(home.Dir().File("capture.wav"));
    const std::vector<int> heard(c.samples.begin(), c.samples.begin() + end * c.channels);
    const auto onsets = test::Onsets(heard, c.channels, 1000, 2000, 3000, 16 * 4096);
    int matches = 0;
    // Every beat up to the end: the un-paced capture may run far ahead of
    // the test's thread before `taken` is read.
    for (int n = 0; test::ExactClick(n, 44100, 240, 1) < end; ++n) {
      const int64_t beat = test::ExactClick(n, 44100, 240, 1);
      if (beat >= taken && onsets == test::ExpectedChange(44100, {240, 1, "4"}, after, beat, end)) ++matches;
    }
    return matches;
  }
  std::string GetOption(const char* field) { return home.Option(field); }
  void WriteUserSound(const char* name, int value, int frames = 200) {
    std::filesystem::create_directories(shared + "/Sound");
    std::vector<int32_t> s(static_cast<size_t>(frames), value);
    ASSERT_TRUE(test::WriteFile(shared + "/Sound/" + name, test::PcmWav(s, 1, 44100, 16)));
  }

  test::InstalledHome home;
  test::ScriptedDevices devices{{{0, "Capture", 2}}, 0};
  // Outlives the models made in the test bodies, which may still notify it
  // while they are destroyed.
  Recorder r;
  std::string shared;
  LCaptureOutputUnit* capture = nullptr;
  uint32_t now = 5000;
};

TEST_F(ModelTest, InitAppliesStoredSettingsAndAnnouncesOnRegistration) {
  LUserSettingSet<int>("Settings", "Tempo", 150);
  LUserSettingSet<int>("Settings", "Measure", 5);
  LUserSettingSet<int>("Settings", "SubDiv", 2);
  LUserSettingSet<int>("Settings", "Volume", -20);
  auto model = MakeModel();
  EXPECT_EQ(model->GetPlayer().GetOutput().GetPlayVolume().Get(), -20);  // applied at construction
  ASSERT_TRUE(model->Init());
  ASSERT_TRUE(model->SetNotify(&r));
  EXPECT_EQ(r.Take(),
            (std::vector<std::string>{"Measure 5 5(3+2)", "SubDiv 2 3", "Tempo 150 Allegro", "Volume -20", "Stopped"}));
  EXPECT_FALSE(model->SetNotify(&r));
  EXPECT_FALSE(model->SetNotify(nullptr));
  std::vector<Recorder> more(16);
  int accepted = 0;
  for (Recorder& m : more) accepted += model->SetNotify(&m);
  EXPECT_EQ(accepted, 15);  // sixteen slots in all

  // The info bar is announced once, a second after start-up.
  EXPECT_TRUE(test::RunEventsUntil([&] { return !r.events.empty(); }, 5000));
  EXPECT_EQ(r.Take(), std::vector<std::string>{"InfoBar"});
}

TEST_F(ModelTest, SettersClampRefuseAndPersist) {
  auto model = MakeModel();
  ASSERT_TRUE(model->Init());
  model->SetNotify(&r);
  r.Take();
  EXPECT_TRUE(model->SetTempo(5));
  EXPECT_EQ(model->GetTempo(), 10);
  EXPECT_TRUE(model->SetTempo(300));
  EXPECT_EQ(model->GetTempo(), 280);
  EXPECT_FALSE(model->SetTempo(280));
  EXPECT_FALSE(model->SetTempo(1000));
  EXPECT_FALSE(model->SetMeasure(12));
  EXPECT_FALSE(model->SetMeasure(-1));
  EXPECT_FALSE(model->SetMeasure(3));  // the stored default
  EXPECT_FALSE(model->SetSubDiv(8));
  EXPECT_FALSE(model->SetSubDiv(0));
  EXPECT_TRUE(model->SetMeasure(10));
  EXPECT_TRUE(model->SetSubDiv(7));
  EXPECT_TRUE(model->SetVolume(-300));
  EXPECT_FALSE(model->SetVolume(-127));
  EXPECT_EQ(r.Take(), (std::vector<std::string>{"Tempo 10 Largo", "Tempo 280 Prestissimo", "Measure 10 7(3+4)",
                                                "SubDiv 7 8", "Volume -127"}));
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Tempo", 0), 280);
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Measure", 0), 10);
  EXPECT_EQ(LUserSettingGet<int>("Settings", "SubDiv", 0), 7);
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Volume", 0), -127);
  EXPECT_EQ(model->GetPlayer().GetOutput().GetPlayVolume().Get(), -127);
  char name[260];
  EXPECT_EQ(model->GetMeasure(name), 10);
  EXPECT_STREQ(name, "7(3+4)");
}

TEST(ModelTables, TempoMarkingsAtEveryBoundary) {
  const struct {
    int bpm;
    const char* marking;
  } cases[] = {{10, "Largo"},     {39, "Largo"},        {40, "Largo"},       {59, "Largo"},    {60, "Larghetto"},
               {65, "Larghetto"}, {66, "Adagio"},       {75, "Adagio"},      {76, "Andante"},  {107, "Andante"},
               {108, "Moderato"}, {119, "Moderato"},    {120, "Allegro"},    {167, "Allegro"}, {168, "Presto"},
               {199, "Presto"},   {200, "Prestissimo"}, {280, "Prestissimo"}};
  for (const auto& c : cases) EXPECT_STREQ(LMVModel::GetTempoMarking(c.bpm), c.marking) << c.bpm;
  EXPECT_EQ(LMVModel::PlayingTimePeriod(120), 10);
  EXPECT_EQ(LMVModel::PlayingTimePeriod(10), 63);
  EXPECT_EQ(LMVModel::PlayingTimePeriod(60), 10);
  EXPECT_EQ(LMVModel::PlayingTimePeriod(40), 15);
}

TEST_F(ModelTest, UserSoundsFallBackToDefaultsAndTakeTheirLevels) {
  WriteUserSound("my-accent.wav", 1000, 321);
  SetOptions(options_field::kAccent, "my-accent.wav");
  SetOptions(options_field::kClick, "gone.wav");
  SetOptions(options_field::kBeat, "../../etc/passwd");
  LUserSettingSet<int>("Sound", "AccentVolume", -6);
  auto model = MakeModel();
  ASSERT_TRUE(model->Init());
  const LMetronomeAdvanced& m = model->GetMetronome();
  EXPECT_EQ(m.m_accentSound->GetEndSample(), 321);
  std::vector<int> buf(4);
  m.m_accentSound->Seek(0);
  m.m_accentSound->Read(buf.data(), 4);
  EXPECT_EQ(buf[0], (1000 * 16 * 256) >> 9);  // -6 dB is factor 256/512
  LSoundSource defaultClick = LWaveFile::OpenSource((shared + "/metronome/click.wav").c_str());
  EXPECT_EQ(m.m_clickSound->GetEndSample(), defaultClick->GetEndSample());
  EXPECT_EQ(GetOption(options_field::kAccent), "my-accent.wav");
  EXPECT_EQ(GetOption(options_field::kClick), "");
  EXPECT_EQ(GetOption(options_field::kBeat), "");
}

TEST_F(ModelTest, MissingDefaultSoundMakesInitFail) {
  std::filesystem::remove(shared + "/metronome/beat.wav");
  auto model = MakeModel();
  EXPECT_FALSE(model->Init());
}

// The light follows what is heard, on a hand-driven device with a test
// clock and 40 ms of declared latency: the swing reaches its end (the
// phase wraps to 0) 40 ms after each click is rendered, at the clicks the
// rule puts at 120 bpm and then at 200 bpm from the beat the change landed
// on; between them the phase moves on smoothly, without a jump.
TEST_F(ModelTest, TheLightSwingsWithTheHeardClickThroughATempoChange) {
  static int64_t clockNs = 0;
  auto unit = std::make_unique<test::ManualUnit>(2);
  test::ManualUnit* device = unit.get();
  device->latency = 1764;
  auto model = std::make_unique<LMVModel>(std::move(unit));
  model->SetTickSource([this] { return now; });
  ASSERT_TRUE(model->Init());
  model->SetTempo(120);
  model->SetSubDiv(0);
  model->SetNotify(&r);
  LSoundPlayerLLCA& output = model->GetPlayer().GetOutput();
  output.SetClock([] { return clockNs; });
  ASSERT_TRUE(model->StartPlaying());
  std::vector<int> buffer(512 * 2);
  std::vector<int64_t> wraps;  // ms at which the phase fell back
  int last = -1, biggestStep = 0;
  int64_t played = 0;  // frames the device has taken
  for (int64_t ms = 0; ms < 3000; ++ms) {
    // Each period whose time has come is called back on time, once the
    // worker has queued it.
    for (int64_t due = 0; (due = played * 1000000000 / 44100) <= ms * 1000000; played += 512) {
      clockNs = due;
      for (int wait = 0; output.GetRing()->FilledFrames() < 512 && wait < 20000; ++wait)
        std::this_thread::sleep_for(std::chrono::microseconds(100));
      int delivered = 0;
      device->Period(buffer.data(), 512, &delivered);
    }
    clockNs = ms * 1000000;
    if (ms == 1200) model->SetTempo(200);
    model->EvTimer(LMVModel::kTimerPlayingTime);
    ASSERT_EQ(r.scale, 100);
    if (r.lastTime < last)
      wraps.push_back(ms);
    else if (last >= 0)
      biggestStep = std::max(biggestStep, r.lastTime - last);
    last = r.lastTime;
  }
  EXPECT_TRUE(model->IsTimerSet(LMVModel::kTimerPlayingTime));
  EXPECT_LE(biggestStep, 1);  // 1 ms is at most 0.34 % of a beat at 200 bpm
  // The 120 bpm beats up to the change, then the 200 bpm grid from there:
  // one beat of the old grid after the request explains every wrap.
  int matches = 0;
  for (int64_t n = 3; n < 6; ++n) {
    std::vector<int64_t> expected;
    for (int64_t b = 1;; ++b) {
      const int64_t frame = b < n ? test::ExactClick(b, 44100, 120, 1)
                                  : test::ExactClick(n, 44100, 120, 1) + test::ExactClick(b - n, 44100, 200, 1);
      // Heard 40 ms after it is rendered; the first 1-ms sample at or after.
      const int64_t at = ((frame + 1764) * 1000 + 44099) / 44100;
      if (at >= 3000) break;
      expected.push_back(at);
    }
    matches += wraps == expected;
  }
  EXPECT_EQ(matches, 1) << ::testing::PrintToString(wraps);
  EXPECT_EQ(r.heardTempos, (std::vector<int>{120, 200}));  // the display follows the heard beat
  r.Take();
  model->StopPlaying();
  EXPECT_EQ(r.Take(), std::vector<std::string>{"Stopped"});
  model->EvTimer(LMVModel::kTimerPlayingTime);  // finds the player stopped
  EXPECT_EQ(r.Take(), std::vector<std::string>{"Stopped"});
}

TEST_F(ModelTest, ChangesWhilePlayingKeepPlayingAndARunOfTempoChangesSettlesOnce) {
  auto model = MakeModel();
  ASSERT_TRUE(model->Init());
  r.recordInfoBar = false;  // due during the run below
  ASSERT_TRUE(model->StartPlaying());
  model->SetNotify(&r);
  EXPECT_EQ(r.Take().back(), "Started");  // registered while playing
  EXPECT_FALSE(model->StartPlaying());
  model->SetMeasure(4);
  EXPECT_EQ(r.Take(), (std::vector<std::string>{"Measure 4 5"}));

  for (int bpm : {100, 101, 102, 103, 104}) {
    EXPECT_TRUE(model->SetTempoDelayed(bpm));
    QCoreApplication::processEvents();
  }
  EXPECT_FALSE(model->SetTempoDelayed(104));
  EXPECT_EQ(model->GetTempo(), 92);  // nothing applied while the changes keep coming
  EXPECT_EQ(r.Take(), std::vector<std::string>{});
  ASSERT_TRUE(test::RunEventsUntil([&] { return model->GetTempo() != 92; }, 5000));
  EXPECT_EQ(model->GetTempo(), 104);
  EXPECT_EQ(r.Take(), (std::vector<std::string>{"Tempo 104 Andante"}));
  EXPECT_TRUE(model->IsPlaying());
  model->Destroy();
  EXPECT_FALSE(model->IsPlaying());
}

// Damaged files on disk never stop the metronome: garbage settings read as
// the defaults, a garbage options record names no sounds, a user sound cut
// short after it was chosen falls back to the default. (Settings that cannot
// be written: the window test of them.)
TEST_F(ModelTest, DamagedFilesFallBackToDefaults) {
  char settings[1024];
  LSettingsFilePath(settings, sizeof settings);
  std::filesystem::create_directories(std::filesystem::path(settings).parent_path());
  ASSERT_TRUE(test::WriteFile(settings, test::Bytes{'[', 0xFF, '\n', 'T', 'e', 'm', 'p', 'o', '=', '=', 0, '\n'}));
  WriteUserSound("cut.wav", 1000);
  std::filesystem::resize_file(shared + "/Sound/cut.wav", 30);
  SetOptions(options_field::kAccent, "cut.wav");
  {
    LProfile profile(shared);
    LOptionsList list(profile);
    std::ofstream(list.PathOf(options_field::kKey), std::ios::app) << "\n%%%=&&=\x01\x02"
                                                                      "Beat";
  }
  auto model = MakeModel();
  ASSERT_TRUE(model->Init());
  EXPECT_EQ(model->GetTempo(), 92);
  EXPECT_EQ(model->GetMeasure(), 3);
  EXPECT_EQ(model->GetSubDiv(), 0);
  EXPECT_EQ(model->GetVolume().Get(), 0);
  LSoundSource defaultAccent = LWaveFile::OpenSource((shared + "/metronome/accent.wav").c_str());
  EXPECT_EQ(model->GetMetronome().m_accentSound->GetEndSample(), defaultAccent->GetEndSample());
  EXPECT_EQ(GetOption(options_field::kAccent), "");
  ASSERT_EQ(model->GetMissingSounds().size(), 1u);
  EXPECT_EQ(model->GetMissingSounds()[0].role, 0);
  EXPECT_EQ(model->GetMissingSounds()[0].name.rfind("cut.wav", 0), 0u);  // the damage follows the name
}

// On the capture device: a subdivision change lands on a beat the device
// has not taken yet, the bar goes on through it with the new grid exact from
// there; Stop then Play starts a new bar on an accent.
TEST_F(ModelTest, ChangesLandOnTheBeatAndPlayAfterStopStartsANewBar) {
  auto model = ConstantSoundsModel();
  struct Boundaries : LMVModelEventsVoid {
    void EvPlayingStopped() override { at.push_back(capture->FramesWritten()); }
    LCaptureOutputUnit* capture = nullptr;
    std::vector<long> at;
  } boundaries;
  boundaries.capture = capture;
  model->SetNotify(&boundaries);
  boundaries.at.clear();
  ASSERT_TRUE(model->StartPlaying());
  ASSERT_TRUE(test::RunEventsUntil([&] { return capture->FramesWritten() > 30000; }));
  const long taken = capture->FramesWritten();
  model->SetSubDiv(1);  // eighths
  ASSERT_TRUE(test::RunEventsUntil([&] { return capture->FramesWritten() > taken + 3 * 44100; }));
  model->StopPlaying();
  ASSERT_TRUE(model->StartPlaying());
  ASSERT_TRUE(test::RunEventsUntil([&] { return capture->FramesWritten() > boundaries.at[0] + 1000; }));
  model->StopPlaying();
  ASSERT_EQ(boundaries.at.size(), 2u);
  const long end = boundaries.at[0];
  EXPECT_EQ(ChangeLandings(taken, end, {240, 2, "4"}), 1);
  const test::Capture c = test::ReadCapture(home.Dir().File("capture.wav"));
  EXPECT_EQ(c.samples[static_cast<size_t>(end) * c.channels], 1000 * 16 * 4096);  // accent
}

// With a practice plan on (a count-in bar, which sounds as the bar of "4"
// does), a tempo change goes to the playing track's bar score: the track
// plays on without a restart and the new tempo lands on the next beat.
TEST_F(ModelTest, ATempoChangeWithAPracticePlanOnLandsOnTheBeat) {
  auto model = ConstantSoundsModel();
  LPracticePlan plan;
  plan.countInBars = 1;
  ASSERT_TRUE(model->Practice().SetPlan(plan));
  Recorder stops;
  ASSERT_TRUE(model->StartPlaying());
  model->SetNotify(&stops);
  stops.Take();
  ASSERT_TRUE(test::RunEventsUntil([&] { return capture->FramesWritten() > 30000; }));
  const long taken = capture->FramesWritten();
  model->SetTempo(270);
  ASSERT_TRUE(test::RunEventsUntil([&] { return capture->FramesWritten() > taken + 2 * 44100; }));
  EXPECT_EQ(stops.Take(), std::vector<std::string>{"Tempo 270 Prestissimo"});  // no stop, no start
  const long end = capture->FramesWritten();
  model->StopPlaying();
  EXPECT_EQ(ChangeLandings(taken, end, {270, 1, "4"}), 1);
}

// A musician spinning the tempo and flipping measures while playing: every
// change restarts the player; nothing may leak or crash, and no restart
// (nor the stop) adds a thread: the player's are kept, asleep when stopped.
TEST_F(ModelTest, StressTenThousandChangesWhilePlaying) {
  auto threads = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/task"), {}); };
  auto model = MakeModel();
  ASSERT_TRUE(model->Init());
  ASSERT_TRUE(model->StartPlaying());
  const auto playingThreads = threads();
  for (int i = 0; i < 10000; ++i) {
    if (i % 3 == 0)
      model->SetMeasure(i % 12);
    else
      model->SetTempo(40 + i % 200);
    if (i % 100 == 0) QCoreApplication::processEvents();
  }
  EXPECT_TRUE(model->IsPlaying());
  EXPECT_EQ(threads(), playingThreads);
  model->StopPlaying();
  QCoreApplication::processEvents();
  EXPECT_EQ(threads(), playingThreads);
}

}  // namespace
