#include "audio/SessionThread.h"

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
