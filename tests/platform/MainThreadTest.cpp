#include <gtest/gtest.h>

#include <QThread>
#include <memory>
#include <thread>
#include <vector>

#include "platform/ThreadQueuedNotify.h"
#include "platform/TimerHandler.h"
#include "tests/support/QtApp.h"

namespace {

class Counter : public LThreadQueuedNotify {
 public:
  ~Counter() override { ThreadQueuedNotifyDestroy(); }
  void EvNotify() override {
    EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
    ++calls;
  }
  int calls = 0;
};

TEST(QueuedNotify, PostsFromAnyThreadArriveOnTheMainThreadUnlessTheObjectIsGone) {
  test::App();
  Counter c;
  std::vector<std::thread> posters;
  for (int t = 0; t < 4; ++t)
    posters.emplace_back([&] {
      for (int i = 0; i < 25; ++i) c.PostQueueNotify();
    });
  auto gone = std::make_unique<Counter>();
  std::thread([&] { gone->PostQueueNotify(); }).join();
  gone.reset();  // its post must never arrive
  for (auto& t : posters) t.join();
  EXPECT_TRUE(test::RunEventsUntil([&] { return c.calls == 100; }));
  EXPECT_EQ(c.PostsInFlight(), 0);
  c.ThreadQueuedNotifyDestroy();  // once destroyed, posts are ignored
  c.PostQueueNotify();
  EXPECT_EQ(c.PostsInFlight(), 0);
}

class Timers : public LTimerHandler {
 public:
  void EvTimer(int id) override { fired.push_back(id); }
  std::vector<int> fired;
};

TEST(TimerHandler, SetResetAndDestroy) {
  test::App();
  Timers t, destroyed;
  t.TimerSet(-1, 1);  // ignored
  t.TimerSet(5, 1);
  t.TimerSet(5, 1);  // moves the firing, does not add a second
  t.TimerSet(3, 1);
  t.TimerReset(3);
  destroyed.TimerSet(1, 1);
  destroyed.TimerDestroy();
  ASSERT_TRUE(test::RunEventsUntil([&] { return !t.fired.empty(); }));
  QCoreApplication::processEvents();
  EXPECT_EQ(t.fired, std::vector<int>{5});
  EXPECT_TRUE(destroyed.fired.empty());
  EXPECT_TRUE(t.IsTimerSet(5)) << "a fired timer stays mapped until reset";
  t.TimerSet(5, 1);
  ASSERT_TRUE(test::RunEventsUntil([&] { return t.fired.size() == 2; }));
  t.TimerReset(5);
  EXPECT_FALSE(t.IsTimerSet(5));
}

// During start-up requests are held, once per id, and armed on enable.
TEST(TimerHandler, RequestsWhileDisabledAreHeldOncePerIdAndArmedOnEnable) {
  test::App();
  Timers a, b;
  LTimerHandler::Enable(false);
  a.TimerSet(7, 1);
  a.TimerSet(7, 100000);  // the first request for an id wins
  b.TimerSet(7, 1);       // for any handler
  a.TimerSet(8, 1);
  a.TimerReset(8);  // removes the held request
  {
    Timers gone;
    gone.TimerSet(9, 1);
  }
  EXPECT_FALSE(a.IsTimerSet(7));
  LTimerHandler::Enable(true);  // must not call into the dead handler
  EXPECT_TRUE(a.IsTimerSet(7));
  EXPECT_FALSE(b.IsTimerSet(7));
  EXPECT_FALSE(a.IsTimerSet(8));
  ASSERT_TRUE(test::RunEventsUntil([&] { return !a.fired.empty(); }));
  EXPECT_EQ(a.fired, std::vector<int>{7});
}

}  // namespace
