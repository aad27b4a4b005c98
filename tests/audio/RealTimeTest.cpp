// The device callback's contract, held by a test: the render path (ring
// read, volume, meters, channel map) allocates nothing, and when another
// thread holds a lock it needs it returns silence at once instead of waiting.
// Its own program, because it replaces the global operator new.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <new>
#include <vector>

#include "audio/SoundPlayerLLCA.h"
#include "tests/audio/ManualOutput.h"

namespace {
thread_local bool t_inCallback = false;
std::atomic<long> g_callbackAllocations{0};

// Marks the calling thread as the device thread for the scope.
struct CallbackScope {
  CallbackScope() { t_inCallback = true; }
  ~CallbackScope() { t_inCallback = false; }
};
}  // namespace

void* operator new(std::size_t size) {
  if (t_inCallback) g_callbackAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using Output = test::ManualOutput;

TEST(RealTime, ThousandsOfPeriodsAllocateNothing) {
  // Mono and stereo tracks onto a six-channel device, every period size a
  // device may ask for, the volume and the meters changing under way.
  for (int channels : {1, 2}) {
    Output o(6);
    o.Play(test::Counting(test::kEndless, static_cast<unsigned char>(channels)));
    std::vector<int> period(static_cast<size_t>(LAudioOutputUnit::kPeriodFrames) * 6);
    long delivered = 0;
    for (int i = 0; i < 4000; ++i) {
      const int frames = 64 << (i % 4);                                         // 64..512
      while (o.llca->IsNextBufferReady()) o.llca->WriteBuffer(kMaxReadFrames);  // the worker's part
      if (i % 500 == 0) o.llca->SetPlayVolume(LdBLevel(-(i / 500)));
      int got = 0;
      {
        CallbackScope rt;
        o.unit->Period(period.data(), frames, &got);
      }
      delivered += got;
    }
    EXPECT_EQ(g_callbackAllocations.load(), 0) << channels << " channel(s)";
    EXPECT_EQ(delivered, 4000L / 4 * (64 + 128 + 256 + 512)) << "every period was served from the ring";
  }
}

TEST(RealTime, AHeldLockGivesSilenceAtOnce) {
  Output o;
  o.Play(test::Counting(test::kEndless, 2));
  std::promise<void> held, release;
  std::thread holder([&] {
    std::lock_guard<std::mutex> lock(o.llca->GetRing()->Lock());
    held.set_value();
    release.get_future().wait();
  });
  held.get_future().wait();
  // A callback that waited for the lock would never return: run them on
  // their own thread and give up long before the suite's timeout.
  auto callbacks = std::async(std::launch::async, [&] {
    std::vector<int> out(1024, -1);
    long taken = 0;
    for (int i = 0; i < 2000; ++i) {
      unsigned long bytes = out.size() * sizeof(int);
      taken += o.llca->Render(out.data(), 512, &bytes, false);
      if (bytes != 0) return -1L;  // wrote audio it could not have read
    }
    return taken;
  });
  const bool returned = callbacks.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  release.set_value();
  holder.join();
  ASSERT_TRUE(returned) << "the render callback waited for a lock";
  EXPECT_EQ(callbacks.get(), 0);
}

}  // namespace
