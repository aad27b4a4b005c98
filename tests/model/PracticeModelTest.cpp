#include <gtest/gtest.h>

#include <memory>

#include "audio/CaptureOutputUnit.h"
#include "model/MVModel.h"
#include "model/PracticeModel.h"
#include "store/Settings.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/InstalledHome.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"

namespace {

// A model over the capture device, isolated from the real home, on a
// clock the test moves by hand.
class PracticeModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::App();
    ASSERT_TRUE(home.Installed());
    model = std::make_unique<LMVModel>(std::make_unique<LCaptureOutputUnit>(home.Dir().File("c.wav"), false));
    model->SetTickSource([this] { return now; });
    ASSERT_TRUE(model->Init());
  }
  void TearDown() override { model.reset(); }

  test::InstalledHome home;
  test::ScriptedDevices devices{{{0, "Capture", 2}}, 0};
  uint32_t now = 5000;
  std::unique_ptr<LMVModel> model;
};

}  // namespace

TEST_F(PracticeModelTest, TapsAndNudgesSetTheModelsTempo) {
  LPracticeModel& p = model->Practice();
  const struct {
    char what;  // t tap at value ms, n nudge by value
    int value;
    int tempo;  // the model's tempo after it
  } steps[] = {{'t', 0, 92},    {'t', 500, 120}, {'t', 1000, 120}, {'n', 1, 121},   {'n', -10, 111},
               {'n', 500, 280}, {'n', -500, 10}, {'t', 3500, 10},  {'t', 3900, 150}};  // a pause, then a new series
  for (const auto& s : steps) {
    if (s.what == 't')
      p.Tap(s.value * 1000LL);
    else
      p.Nudge(s.value);
    EXPECT_EQ(model->GetTempo(), s.tempo) << s.what << s.value;
  }
}

TEST_F(PracticeModelTest, PlanIsCheckedStoredAndTheTimerStopsPlaying) {
  LPracticeModel& p = model->Practice();
  LPracticePlan plan;
  plan.gap = {0, 4};
  std::string error;
  EXPECT_FALSE(p.SetPlan(plan, &error));
  EXPECT_NE(error.find("gap"), std::string::npos);
  EXPECT_EQ(LUserSettingGet<int>("Settings", "PracticeGapMute", -1), -1);  // nothing stored

  plan.gap = {2, 1};
  plan.countInBars = 1;
  plan.timerSeconds = 2;
  ASSERT_TRUE(p.SetPlan(plan));
  EXPECT_EQ(LUserSettingGet<int>("Settings", "PracticeGapMute", -1), 1);
  ASSERT_TRUE(model->StartPlaying());
  ASSERT_TRUE(test::RunEventsUntil([&] { return p.Poll(now).playing; }));
  now += 1000;
  LPracticeModel::Status s = p.Poll(now);
  EXPECT_TRUE(s.playing);
  EXPECT_EQ(s.elapsed, 1);
  EXPECT_EQ(s.remaining, 1);
  now += 1000;
  s = p.Poll(now);
  EXPECT_EQ(s.remaining, 0);
  ASSERT_TRUE(test::RunEventsUntil([&] { return !model->IsPlaying() && !p.Poll(now).playing; }));
  EXPECT_EQ(p.Poll(now).session, 2);
}
