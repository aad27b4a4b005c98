#include "audio/BoundedCall.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// A call that returns is waited for; one that hangs is abandoned after the
// bound and the runner serves the next call on a fresh helper.
TEST(BoundedRunner, WaitsForCallsThatReturnAndAbandonsOnesThatHang) {
  LBoundedRunner runner;
  int ran = 0;
  EXPECT_TRUE(runner.Run([&] { ++ran; }, 1000));
  EXPECT_TRUE(runner.Run([&] { ++ran; }, 1000));
  EXPECT_EQ(ran, 2);

  auto release = std::make_shared<std::atomic<bool>>(false);
  EXPECT_FALSE(runner.Run(
      [release] {
        while (!release->load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      },
      100));
  EXPECT_EQ(runner.Abandoned(), 1);

  EXPECT_TRUE(runner.Run([&] { ++ran; }, 1000));
  EXPECT_EQ(ran, 3);
  release->store(true);  // the abandoned helper ends on its own
}

}  // namespace
