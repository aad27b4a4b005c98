#include "audio/SessionThread.h"

#include <poll.h>
#include <time.h>

LSessionThread::LSessionThread(const char* name) : LThread(name) {}

bool LSessionThread::BeginSession(int priority) {
  EndSession();
  if (!IsRunning() && !Start(priority)) return false;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_inSession = true;
  }
  m_halting.store(false, std::memory_order_relaxed);
  m_halt.Reset();
  m_go.Set();
  return true;
}

void LSessionThread::EndSession() {
  std::unique_lock<std::mutex> lock(m_lock);
  if (!m_inSession) return;
  m_halting.store(true, std::memory_order_relaxed);
  m_halt.Set();
  m_ended.wait(lock, [this] { return !m_inSession; });
}

bool LSessionThread::InSession() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_inSession;
}

bool LSessionThread::IsToHalt() { return m_halting.load(std::memory_order_relaxed) || IsToStop(); }

bool LSessionThread::SessionSleepUntil(const timespec& deadline) {
  pollfd p[2] = {{m_halt.Ref().ReadFd(), POLLIN, 0}, {StopSignal().ReadFd(), POLLIN, 0}};
  for (;;) {
    if (IsToHalt()) return false;
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    long long ns = (static_cast<long long>(deadline.tv_sec) - now.tv_sec) * 1000000000LL + (deadline.tv_nsec - now.tv_nsec);
    if (ns <= 0) return true;
    const timespec left{static_cast<time_t>(ns / 1000000000LL), static_cast<long>(ns % 1000000000LL)};
    const int r = ::ppoll(p, 2, &left, nullptr);
    if (r > 0) return !IsToHalt();
    if (r == 0) return true;
    // Interrupted by a signal: sleep on to the same deadline.
  }
}

int LSessionThread::SessionWait(LSignalObjectGroup group, unsigned int ms) {
  if (m_halt.IsSignaled() || !group.Add(m_halt.Ref())) return kWaitStop;
  const int r = ProcessWaitSignalObjectGroup(group, ms);
  return r == kWaitGroupSignal + group.Count() - 1 ? kWaitStop : r;
}

// Between sessions the thread waits for the next one, or for its end, with
// no timeout: it does not wake at all while stopped.
void LSessionThread::ThreadFunction() {
  while (ProcessWaitSignal(m_go.Ref(), kWaitForever) != kWaitStop) {
    m_go.Reset();
    Session();
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_inSession = false;
    }
    m_ended.notify_all();
  }
  // Ended while a session was asked for: nobody waits for it any more.
  std::lock_guard<std::mutex> guard(m_lock);
  m_inSession = false;
  m_ended.notify_all();
}
