#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "platform/SignalObject.h"
#include "platform/Thread.h"

namespace {

TEST(SignalObject, SetsCollapseIntoOneWakeUpAndNeverBlock) {
  LSignalObject s;
  ASSERT_TRUE(s.IsValid());
  EXPECT_FALSE(s.IsSignaled());
  for (int i = 0; i < 200000; ++i) s.Set();  // more than a pipe holds
  EXPECT_TRUE(s.WaitSignal(0));
  EXPECT_TRUE(s.IsSignaled()) << "waiting must not clear";
  s.Reset();
  EXPECT_FALSE(s.IsSignaled());
  EXPECT_FALSE(s.WaitSignal(1));
  LSignalObject other;
  other.Set();
  EXPECT_TRUE(s.WaitSignalDual(other, kWaitForever));
}

// Runs a function body given by the test.
class FnThread : public LThread {
 public:
  explicit FnThread(std::function<void(LThread&)> f) : LThread("test-thread"), m_fn(std::move(f)) {}
  ~FnThread() override { StopThreadNow(); }

 protected:
  void ThreadFunction() override { m_fn(*this); }
  std::function<void(LThread&)> m_fn;
};

TEST(Thread, StartReturnsWithTheThreadRunningAndStopNowWaitsForItsEnd) {
  std::atomic<int> runs{0};
  std::atomic<bool> returned{false};
  FnThread t([&](LThread& self) {
    ++runs;
    while (self.ProcessWait(1) != kWaitStop) {
    }
    returned = true;
  });
  ASSERT_TRUE(t.Start(20));
  EXPECT_TRUE(t.IsRunning());
  ASSERT_TRUE(t.Start(20));  // still running: nothing happens
  t.StopThreadNow();
  EXPECT_TRUE(returned);
  EXPECT_FALSE(t.IsRunning());
  EXPECT_TRUE(t.DoneSignal().IsSignaled());
  ASSERT_TRUE(t.Start(LThread::kPriorityRealTime));  // finished: started again
  t.StopThreadNow();
  EXPECT_EQ(runs, 2);
}

// Plain and group waits tell a time-out, a signal and the stop apart; the
// stop wins when both are set.
TEST(Thread, StopAwareWaitResults) {
  LSignalObject a, b, step;
  LSignalObjectGroup group;
  group.Add(a.Ref());
  group.Add(b.Ref());
  std::atomic<int> results[6];
  FnThread t([&](LThread& self) {
    results[0] = self.ProcessWaitSignal(a.Ref(), 0);
    results[1] = self.ProcessWaitSignalObjectGroup(group, 0);
    a.Set();
    results[2] = self.ProcessWaitSignal(a.Ref(), kWaitForever);
    results[3] = self.ProcessWaitSignalObjectGroup(group, kWaitForever);
    step.Set();
    while (!self.IsToStop()) self.ProcessWait(kWaitForever);
    results[4] = self.ProcessWaitSignal(a.Ref(), 0);
    results[5] = self.ProcessWaitSignalObjectGroup(group, 0);
  });
  ASSERT_TRUE(t.Start(20));
  step.WaitSignal(kWaitForever);
  t.StopThreadNow();
  const int expected[6] = {kWaitTimeout, kWaitTimeout, kWaitSignal, kWaitGroupSignal + 0, kWaitStop, kWaitStop};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(results[i], expected[i]) << i;
}

}  // namespace
