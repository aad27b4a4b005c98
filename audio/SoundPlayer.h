// Plays one sound source through the audio output and reports to a listener
// on the main thread. Three threads meet here: the main thread starts and
// stops it and receives the notifications; a worker pulls blocks of at most
// 8192 frames from the source into the output's ring; a notification thread
// wakes whenever the device has consumed audio.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "audio/SoundPlayerLLCA.h"
#include "audio/SoundPlayerNotify.h"
#include "platform/SignalObject.h"
#include "platform/Thread.h"
#include "platform/ThreadQueuedNotify.h"

template <typename T>
class LSoundPlayerDoneHandlerThread;

template <typename T>
class LSoundPlayerTemplate : public LThread, public LThreadQueuedNotify, public LSoundPlayerNotify {
 public:
  // Peak bound above which the player puts a limiter in front of a source.
  static constexpr int kLimit = 524272;
  static constexpr int kPriority = 20;

  LSoundPlayerTemplate();
  // Tests and tools choose the output device implementation.
  explicit LSoundPlayerTemplate(std::unique_ptr<LAudioOutputUnit> unit);
  ~LSoundPlayerTemplate() override;

  // Main thread. mode 0 starts the device, mode 1 prepares it silently.
  bool Start(LSoundSource& source, unsigned short mode = 0);
  void Stop();
  bool IsPlaying() const { return m_output.GetState() != 0; }

  void SetListener(LSoundPlayerNotify* listener, long userValue);
  T& GetOutput() { return m_output; }
  const T& GetOutput() const { return m_output; }
  LSoundSource& GetSource() { return m_source; }

  // Main thread: one call per post of the worker or notification thread.
  void EvNotify() override;
  // Notification thread body.
  void ThreadFunctionDoneHandler(LThread& self);

 protected:
  void ThreadFunction() override;

 private:
  // One pass of the worker loop; false when the loop ends.
  bool WorkerStep();
  void RaiseNotifyThread();
  void RestoreWorkerPriority();

  LSignalObject m_workerRunning;
  T m_output;
  LSoundPlayerNotify* m_listener;
  long m_userValue = 0;
  LSoundSource m_source;
  std::unique_ptr<LSoundPlayerDoneHandlerThread<T>> m_notifyThread;
  std::atomic<bool> m_raisedByCount{false};
  std::atomic<bool> m_raisedByFullRing{false};
  std::atomic<int> m_consumptionCount{0};
  LSignalObject m_dataConsumed;
  std::atomic<bool> m_finished{false};
  std::atomic<bool> m_timeUpdatePending{false};
  std::recursive_mutex m_lock;
};

template <typename T>
class LSoundPlayerDoneHandlerThread : public LThread {
 public:
  explicit LSoundPlayerDoneHandlerThread(LSoundPlayerTemplate<T>* player)
      : LThread("LSoundPlayerDoneHandlerThread<T>"), m_player(player) {}
  ~LSoundPlayerDoneHandlerThread() override { StopThreadNow(); }

 protected:
  void ThreadFunction() override { m_player->ThreadFunctionDoneHandler(*this); }

 private:
  LSoundPlayerTemplate<T>* m_player;
};

using LSoundPlayer = LSoundPlayerTemplate<LSoundPlayerLLCA>;
extern template class LSoundPlayerTemplate<LSoundPlayerLLCA>;
