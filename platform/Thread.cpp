#include "platform/Thread.h"

#include <poll.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// Modest: above ordinary threads, below what audio servers use for their own.
constexpr int kFifoPriority = 10;
}  // namespace

LThread::LThread(const char* name) : m_name(name ? name : "") {}

LThread::~LThread() { StopThreadNow(); }

bool LThread::Start(int priority) {
  std::lock_guard<std::mutex> guard(m_lock);
  if (HasHandle()) {
    if (IsRunning()) return true;
    Join();
  }
  m_stop.Reset();
  m_done.Reset();
  m_started.Reset();
  m_running.store(true, std::memory_order_release);
  pthread_t handle;
  if (::pthread_create(&handle, nullptr, &LThread::Trampoline, this) != 0) {
    m_running.store(false, std::memory_order_release);
    return false;
  }
  {
    std::lock_guard<std::mutex> handleGuard(m_handleLock);
    m_handle = handle;
    m_hasHandle = true;
  }
  while (!m_started.IsSignaled()) m_started.WaitSignal(kWaitForever);  // EINTR wakes early
  SetPriority(priority);
  return true;
}

bool LThread::HasHandle() {
  std::lock_guard<std::mutex> handleGuard(m_handleLock);
  return m_hasHandle;
}

void* LThread::Trampoline(void* self) {
  static_cast<LThread*>(self)->Body();
  return nullptr;
}

void LThread::Body() {
  ::pthread_setname_np(::pthread_self(), m_name.substr(0, 15).c_str());
  m_tid.store(static_cast<int>(::syscall(SYS_gettid)), std::memory_order_release);
  m_started.Set();
  ThreadFunction();
  // The handle stays until the thread is joined, so that no thread is leaked.
  m_tid.store(-1, std::memory_order_release);
  m_running.store(false, std::memory_order_release);
  m_done.Set();
}

void LThread::StopThreadSoon() { m_stop.Set(); }

void LThread::StopThreadNow() {
  std::lock_guard<std::mutex> guard(m_lock);
  m_stop.Set();
  Join();
}

// Joins outside m_handleLock: the ending thread may still ask another
// thread to change this one's priority.
void LThread::Join() {
  pthread_t handle;
  {
    std::lock_guard<std::mutex> handleGuard(m_handleLock);
    if (!m_hasHandle || ::pthread_equal(m_handle, ::pthread_self())) return;  // none, or cannot join itself
    handle = m_handle;
  }
  ::pthread_join(handle, nullptr);
  std::lock_guard<std::mutex> handleGuard(m_handleLock);
  m_hasHandle = false;
}

void LThread::SetPriority(int priority) {
  std::lock_guard<std::mutex> handleGuard(m_handleLock);
  m_priority = priority;
  if (m_hasHandle) ApplyPriorityLocked();
}

void LThread::ApplyPriorityLocked() {
  sched_param param{};
  if (m_priority == kPriorityRealTime) {
    param.sched_priority = kFifoPriority;
    // EPERM without rtprio: keep ordinary scheduling, as a desktop user expects.
    if (::pthread_setschedparam(m_handle, SCHED_FIFO, &param) == 0) return;
    param.sched_priority = 0;
  }
  ::pthread_setschedparam(m_handle, SCHED_OTHER, &param);
}

bool LThread::IsToStop() { return m_stop.IsSignaled(); }

int LThread::ProcessWait(unsigned int ms) { return m_stop.WaitSignal(ms) ? kWaitStop : kWaitTimeout; }

int LThread::ProcessWaitSignal(LSignalObjectRef signal, unsigned int ms) {
  if (!m_stop.WaitSignalDual(signal, ms)) return kWaitTimeout;
  return m_stop.IsSignaled() ? kWaitStop : kWaitSignal;
}

int LThread::ProcessWaitSignalObjectGroup(LSignalObjectGroup& group, unsigned int ms) {
  pollfd p[LSignalObjectGroup::kMaxSignals + 1];
  p[0] = {m_stop.ReadFd(), POLLIN, 0};
  for (int i = 0; i < group.Count(); ++i) p[i + 1] = {group.At(i).ReadFd(), POLLIN, 0};
  if (::poll(p, static_cast<nfds_t>(group.Count()) + 1, PollTimeout(ms)) <= 0) return kWaitTimeout;
  if (p[0].revents & POLLIN) return kWaitStop;
  for (int i = 0; i < group.Count(); ++i)
    if (p[i + 1].revents & POLLIN) return kWaitGroupSignal + i;
  return kWaitTimeout;
}
