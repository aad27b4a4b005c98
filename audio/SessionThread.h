// A thread made once and kept: it runs one session at a time on request and
// sleeps between sessions on a wait without a timeout, so that a stopped
// player costs no wake-ups and Play creates no thread.
#pragma once

#include <time.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "platform/SignalObject.h"
#include "platform/Thread.h"

class LSessionThread : public LThread {
 public:
  explicit LSessionThread(const char* name);
  // A subclass ends the thread (StopThreadNow) in its own destructor.
  ~LSessionThread() override = default;

  // Starts the thread the first time and wakes it for a session; false only
  // when the thread could not be created.
  bool BeginSession(int priority);
  // Asks the session to end and returns once it has (at once when none runs).
  void EndSession();
  bool InSession() const;
  // Session side: EndSession() (or the thread's end) asks the session to end.
  bool IsToHalt();
  // Session side: sleeps until the CLOCK_MONOTONIC deadline, to the
  // nanosecond, in one wait that the halt ends at once; false when halted.
  bool SessionSleepUntil(const timespec& deadline);

 protected:
  // One session, on the thread; returns by itself or once HaltSignal() (or
  // the thread's stop) is set, which every wait of the session includes.
  virtual void Session() = 0;
  LSignalObjectRef HaltSignal() const { return m_halt.Ref(); }
  // Waits for a signal of the group, the halt or the thread's stop:
  // kWaitStop (halt or stop), kWaitGroupSignal + the index of a set signal,
  // or kWaitTimeout. Clears nothing.
  int SessionWait(LSignalObjectGroup group, unsigned int ms);

 private:
  void ThreadFunction() final;

  LSignalObject m_go;
  LSignalObject m_halt;
  mutable std::mutex m_lock;
  std::condition_variable m_ended;
  bool m_inSession = false;
  std::atomic<bool> m_halting{false};
};
