#include "audio/BoundedCall.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <pthread.h>

struct LBoundedRunner::State {
  std::mutex lock;
  std::condition_variable wake;
  std::function<void()> job;
  bool done = true;
  bool quit = false;
};

LBoundedRunner::~LBoundedRunner() {
  if (!m_state) return;
  {
    std::lock_guard<std::mutex> guard(m_state->lock);
    m_state->quit = true;
  }
  m_state->wake.notify_all();
  m_thread.join();
}

bool LBoundedRunner::Run(std::function<void()> job, int ms) {
  if (!m_state) {
    m_state = std::make_shared<State>();
    m_thread = std::thread([state = m_state] {
      ::pthread_setname_np(::pthread_self(), "audio-teardown");
      std::unique_lock<std::mutex> lock(state->lock);
      for (;;) {
        state->wake.wait(lock, [&] { return state->quit || !state->done; });
        if (!state->done) {
          std::function<void()> task = std::move(state->job);
          lock.unlock();
          task();
          lock.lock();
          state->done = true;
          state->wake.notify_all();
        }
        if (state->quit) return;
      }
    });
  }
  std::unique_lock<std::mutex> lock(m_state->lock);
  m_state->job = std::move(job);
  m_state->done = false;
  m_state->wake.notify_all();
  if (m_state->wake.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_state->done; })) return true;
  // Left to finish (or not) on its own; it quits once the job returns.
  m_state->quit = true;
  lock.unlock();
  m_thread.detach();
  m_state.reset();
  ++m_abandoned;
  return false;
}
