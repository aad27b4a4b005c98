#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
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

TEST(QueuedNotify, EveryPostFromAnyThreadIsOneCallOnTheMainThread) {
  test::App();
  Counter c;
  std::vector<std::thread> posters;
  for (int t = 0; t < 4; ++t)
    posters.emplace_back([&] {
      for (int i = 0; i < 25; ++i) c.PostQueueNotify();
    });
  for (auto& t : posters) t.join();
  EXPECT_TRUE(test::RunEventsUntil([&] { return c.calls == 100; }));
  EXPECT_EQ(c.PostsInFlight(), 0);
}

TEST(QueuedNotify, PostsForADestroyedObjectNeverArrive) {
  test::App();
  auto c = std::make_unique<Counter>();
  std::thread([&] { c->PostQueueNotify(); }).join();
  EXPECT_EQ(c->PostsInFlight(), 1);
  c.reset();
  // A second object proves the loop ran past the removed post.
  Counter later;
  later.PostQueueNotify();
  EXPECT_TRUE(test::RunEventsUntil([&] { return later.calls == 1; }));
  // Once destroyed, posts are ignored.
  later.ThreadQueuedNotifyDestroy();
  later.PostQueueNotify();
  EXPECT_EQ(later.PostsInFlight(), 0);
}

class Timers : public LTimerHandler {
 public:
  void EvTimer(int id) override { fired.push_back(id); }
  std::vector<int> fired;
};

TEST(TimerHandler, FiresOnceAndRearmsWhileStillMapped) {
  test::App();
  Timers t;
  t.TimerSet(5, 1);
  t.TimerSet(5, 1);  // moves the firing, does not add a second
  ASSERT_TRUE(test::RunEventsUntil([&] { return !t.fired.empty(); }));
  QCoreApplication::processEvents();
  EXPECT_EQ(t.fired, std::vector<int>{5});
  EXPECT_TRUE(t.IsTimerSet(5)) << "a fired timer stays mapped until reset";
  t.TimerSet(5, 1);
  ASSERT_TRUE(test::RunEventsUntil([&] { return t.fired.size() == 2; }));
  t.TimerReset(5);
  EXPECT_FALSE(t.IsTimerSet(5));
}

TEST(TimerHandler, ResetAndDestroyCancelAndNegativeOrUnknownIdsAreIgnored) {
  test::App();
  Timers t;
  t.TimerSet(-1, 1);
  EXPECT_FALSE(t.IsTimerSet(-1));
  t.TimerReset(42);  // never set
  t.TimerSet(3, 1);
  t.TimerSet(4, 1);
  t.TimerReset(3);
  Timers destroyed;
  destroyed.TimerSet(1, 1);
  destroyed.TimerDestroy();
  ASSERT_TRUE(test::RunEventsUntil([&] { return !t.fired.empty(); }));
  QCoreApplication::processEvents();
  EXPECT_EQ(t.fired, std::vector<int>{4});
  EXPECT_TRUE(destroyed.fired.empty());
}

TEST(TimerHandler, RequestsWhileDisabledAreKeptOncePerIdAndArmedOnEnable) {
  test::App();
  Timers a, b;
  LTimerHandler::Enable(false);
  a.TimerSet(7, 1);
  a.TimerSet(7, 100000);  // the first request for an id wins
  b.TimerSet(7, 1);       // for any handler
  a.TimerSet(8, 1);
  a.TimerReset(8);  // removes the kept request
  EXPECT_FALSE(a.IsTimerSet(7));
  LTimerHandler::Enable(true);
  EXPECT_TRUE(a.IsTimerSet(7));
  EXPECT_FALSE(b.IsTimerSet(7));
  ASSERT_TRUE(test::RunEventsUntil([&] { return !a.fired.empty(); }));
  EXPECT_EQ(a.fired, std::vector<int>{7});
}

TEST(TimerHandler, KeptRequestsOfADestroyedHandlerAreDropped) {
  test::App();
  LTimerHandler::Enable(false);
  { Timers gone; gone.TimerSet(9, 1); }
  LTimerHandler::Enable(true);  // must not call into the dead handler
  Timers t;
  EXPECT_FALSE(t.IsTimerSet(9));
}

}  // namespace
