#include "audio/SessionThread.h"

#include <gtest/gtest.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// A session that sleeps toward a deadline and keeps what the sleep said.
class Sleeper : public LSessionThread {
 public:
  explicit Sleeper(long long offsetMs) : LSessionThread("Sleeper"), m_offsetMs(offsetMs) {}
  ~Sleeper() override { StopThreadNow(); }
  std::atomic<int> slept{-1};  // 1 reached the deadline, 0 halted, -1 not yet
  std::atomic<bool> started{false};

 protected:
  void Session() override {
    timespec deadline{};
    ::clock_gettime(CLOCK_MONOTONIC, &deadline);
    const long long ns = deadline.tv_nsec + m_offsetMs * 1000000LL;
    deadline.tv_sec += static_cast<time_t>(ns / 1000000000LL);
    deadline.tv_nsec = static_cast<long>(ns % 1000000000LL);
    if (deadline.tv_nsec < 0) {
      deadline.tv_nsec += 1000000000L;
      --deadline.tv_sec;
    }
    started = true;
    slept = SessionSleepUntil(deadline) ? 1 : 0;
  }

 private:
  long long m_offsetMs;
};

}  // namespace

// A long device period must not hold up a Stop: the sleep toward a deadline
// 20 s away ends at the halt (an uninterruptible one would report the
// deadline reached), and one whose deadline has passed returns at once.
TEST(SessionThread, ASleepEndsAtTheHaltAndAPassedDeadlineDoesNotSleep) {
  Sleeper far(20000);
  ASSERT_TRUE(far.BeginSession(0));
  while (!far.started) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  far.EndSession();
  EXPECT_EQ(far.slept, 0);

  Sleeper past(-5);
  ASSERT_TRUE(past.BeginSession(0));
  while (past.InSession()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(past.slept, 1);
}
