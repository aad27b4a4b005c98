// Runs a sound back end's teardown call on a helper thread and waits for it
// at most a set time: a back end whose server vanished may never return
// (PortAudio's ALSA and JACK streams have been seen to), and the caller is
// usually the main thread, which must stay responsive. A call that overruns
// is abandoned: the helper thread is left to it and a fresh one serves the
// next call. The helper sleeps on a condition variable between calls, so an
// idle runner costs no wake-ups.
#pragma once

#include <functional>
#include <memory>
#include <thread>

class LBoundedRunner {
 public:
  static constexpr int kDefaultMs = 2000;

  LBoundedRunner() = default;
  ~LBoundedRunner();
  LBoundedRunner(const LBoundedRunner&) = delete;
  LBoundedRunner& operator=(const LBoundedRunner&) = delete;

  // True when job returned within ms milliseconds; false when it was
  // abandoned still running.
  bool Run(std::function<void()> job, int ms = kDefaultMs);
  // Calls abandoned so far by this runner.
  int Abandoned() const { return m_abandoned; }

 private:
  struct State;
  std::shared_ptr<State> m_state;
  std::thread m_thread;
  int m_abandoned = 0;
};
