#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "platform/SignalObject.h"
#include "platform/Thread.h"

namespace {

TEST(SignalObject, SetsCollapseIntoOneWakeUp) {
  LSignalObject s;
  ASSERT_TRUE(s.IsValid());
  EXPECT_FALSE(s.IsSignaled());
  s.Set();
  s.Set();
  s.Set();
  EXPECT_TRUE(s.IsSignaled());
  EXPECT_TRUE(s.WaitSignal(0));
  EXPECT_TRUE(s.IsSignaled()) << "waiting must not clear";
  s.Reset();
  EXPECT_FALSE(s.IsSignaled());
  EXPECT_FALSE(s.WaitSignal(1));
  LSignalObject other;
  other.Set();
  EXPECT_TRUE(s.WaitSignalDual(other, kWaitForever));
}

TEST(SignalObject, ManySetsNeverBlockAndResetDrainsThemAll) {
  LSignalObject s;
  // More sets than a pipe holds: the writer must not block.
  for (int i = 0; i < 200000; ++i) s.Set();
  s.Reset();
  EXPECT_FALSE(s.IsSignaled());
}

// Runs a function body given by the test.
class FnThread : public LThread {
 public:
  template <typename F>
  explicit FnThread(F f) : LThread("test-thread"), m_fn(f) {}
  ~FnThread() override { StopThreadNow(); }
  std::function<void(LThread&)> m_fn;

 protected:
  void ThreadFunction() override { m_fn(*this); }
};

TEST(Thread, StartReturnsWithTheThreadRunningAndStopNowWaitsForItsEnd) {
  std::atomic<int> loops{0};
  std::atomic<bool> returned{false};
  FnThread t([&](LThread& self) {
    while (self.ProcessWait(1) != kWaitStop) ++loops;
    returned = true;
  });
  ASSERT_TRUE(t.Start(20));
  EXPECT_TRUE(t.IsRunning());
  EXPECT_GT(t.ThreadId(), 0);
  t.StopThreadNow();
  EXPECT_TRUE(returned);
  EXPECT_FALSE(t.IsRunning());
  EXPECT_EQ(t.ThreadId(), -1);
  EXPECT_TRUE(t.DoneSignal().IsSignaled());
}

TEST(Thread, RestartsAfterFinishingAndIgnoresStartWhileRunning) {
  std::atomic<int> runs{0};
  LSignalObject go;
  FnThread t([&](LThread& self) {
    ++runs;
    self.ProcessWaitSignal(go.Ref(), kWaitForever);
  });
  ASSERT_TRUE(t.Start(20));
  ASSERT_TRUE(t.Start(20));  // still running: nothing happens
  go.Set();
  ASSERT_TRUE(t.DoneSignal().WaitSignal(kWaitForever));
  go.Reset();
  ASSERT_TRUE(t.Start(LThread::kPriorityRealTime));  // finished: joined, started again
  t.StopThreadNow();
  EXPECT_EQ(runs, 2);
}

// Plain and group waits tell a time-out, a signal and the stop apart; the
// stop wins when both are set.
TEST(Thread, StopAwareWaitResults) {
  LSignalObject a, b;
  LSignalObjectGroup group;
  group.Add(a.Ref());
  group.Add(b.Ref());
  std::atomic<int> results[6];
  LSignalObject step;
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
