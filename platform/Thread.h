// A named worker thread with a stop request and a start handshake: Start()
// returns only once the thread runs, StopThreadNow() only once it has ended.
#pragma once

#include <pthread.h>
#include <atomic>
#include <mutex>
#include <string>

#include "platform/SignalObject.h"

// Lets long work ask whether to stop and wait with stop awareness; the
// progress reports are for interactive tasks and do nothing for threads.
class LProcessInterface {
 public:
  virtual ~LProcessInterface() = default;
  virtual bool IsToStop() = 0;
  virtual int ProcessWait(unsigned int ms) = 0;
  virtual int ProcessWaitSignal(LSignalObjectRef signal, unsigned int ms) = 0;
  virtual int ProcessWaitSignalObjectGroup(LSignalObjectGroup& group, unsigned int ms) = 0;
  virtual void SetError(int) {}
  virtual void SetStatus(const char*) {}
  virtual void SetProgress(int) {}
  virtual void SetProgressIndeterminateOn() {}
  virtual void SetProgressIndeterminateOff() {}
};

// Results of the stop-aware waits.
// A group wait reports signal i as kWaitGroupSignal + i.
enum LProcessWaitResult { kWaitSignal = 0, kWaitStop = 1, kWaitTimeout = 2, kWaitGroupSignal = 3 };

class LThread : public LProcessInterface {
 public:
  // Priority value that asks for real-time (SCHED_FIFO) scheduling.
  static constexpr int kPriorityRealTime = 91;

  // The name identifies the thread in the system's tools (cut to 15 bytes).
  explicit LThread(const char* name);
  // A subclass must stop its thread in its own destructor: by the time this
  // runs, its ThreadFunction() is gone. This only catches a forgotten stop.
  ~LThread() override;
  LThread(const LThread&) = delete;
  LThread& operator=(const LThread&) = delete;

  // Returns once the thread runs (false only if it could not be created).
  bool Start(int priority);
  void StopThreadSoon();
  // Returns only when ThreadFunction() has returned.
  void StopThreadNow();
  bool IsRunning() const { return m_running.load(std::memory_order_acquire); }
  // The thread's kernel id, -1 when none.
  int ThreadId() const { return m_tid.load(std::memory_order_acquire); }

  // kPriorityRealTime: SCHED_FIFO where the process may; otherwise (and when
  // it may not, silently) ordinary scheduling.
  void SetPriority(int priority);

  bool IsToStop() override;
  // Stop-aware sleep: kWaitStop when stopped, kWaitTimeout otherwise.
  int ProcessWait(unsigned int ms) override;
  // kWaitStop when the stop signal is set (even if `signal` is too),
  // kWaitSignal when only `signal` is, kWaitTimeout otherwise. Clears nothing.
  int ProcessWaitSignal(LSignalObjectRef signal, unsigned int ms) override;
  // kWaitStop, or kWaitGroupSignal + index of the set signal, or kWaitTimeout.
  int ProcessWaitSignalObjectGroup(LSignalObjectGroup& group, unsigned int ms) override;

  LSignalObjectRef StopSignal() const { return m_stop.Ref(); }
  LSignalObjectRef DoneSignal() const { return m_done.Ref(); }

 protected:
  virtual void ThreadFunction() = 0;

 private:
  static void* Trampoline(void* self);
  void Body();
  bool HasHandle();
  void Join();
  void ApplyPriorityLocked();

  std::string m_name;
  pthread_t m_handle{};
  bool m_hasHandle = false;
  std::atomic<int> m_tid{-1};
  int m_priority = 0;
  std::atomic<bool> m_running{false};
  LSignalObject m_stop;
  LSignalObject m_done;
  LSignalObject m_started;
  std::mutex m_lock;        // serialises Start and StopThreadNow
  std::mutex m_handleLock;  // guards handle and priority; never held while joining
};
