#include "audio/SoundPlayer.h"

#include <algorithm>

#include "soundfile/PeakLimit.h"

template <typename T>
LSoundPlayerTemplate<T>::LSoundPlayerTemplate()
    : LThread("LSoundPlayer<T>"), m_output(m_workerRunning), m_listener(this) {}

template <typename T>
LSoundPlayerTemplate<T>::LSoundPlayerTemplate(std::unique_ptr<LAudioOutputUnit> unit)
    : LThread("LSoundPlayer<T>"), m_output(m_workerRunning, std::move(unit)), m_listener(this) {}

template <typename T>
LSoundPlayerTemplate<T>::~LSoundPlayerTemplate() {
  StopThreadNow();
  ThreadQueuedNotifyDestroy();
}

template <typename T>
void LSoundPlayerTemplate<T>::SetListener(LSoundPlayerNotify* listener, long userValue) {
  m_listener = listener ? listener : this;
  m_userValue = userValue;
}

template <typename T>
bool LSoundPlayerTemplate<T>::Start(LSoundSource& source, unsigned short mode) {
  Stop();
  if (source->GetError() != kSourceOk) return false;
  m_source = source;
  if (m_source->GetPeak() > kLimit) {
    LSPPeakLimit limiter(kLimit);
    m_source = limiter.OpenSource(m_source);
  }
  if (!m_output.Init(m_source, mode, this)) {
    // The next Start opens whatever device is there by then.
    m_output.CloseAudioUnit();
    m_source.Close();
    return false;
  }
  LThread::Start(kPriority);
  if (!m_output.Start()) {
    // Nothing is left running: the worker and its notification thread end
    // here, and the caller tells the user.
    StopThreadNow();
    m_output.Stop();
    m_output.CloseAudioUnit();
    m_source.Close();
    return false;
  }
  m_listener->spntfPlay(m_userValue);
  return true;
}

template <typename T>
void LSoundPlayerTemplate<T>::Stop() {
  const bool wasActive = m_output.GetState() != 0;
  StopThreadNow();
  m_output.Stop();
  m_source.Close();
  m_finished = false;
  m_timeUpdatePending = false;
  if (wasActive) m_listener->spntfStop(m_userValue);
}

template <typename T>
void LSoundPlayerTemplate<T>::EvNotify() {
  if (m_output.HasDeviceFailed() && m_output.GetState() != 0) {
    // The device is gone: stop as if asked to, and close it so that the next
    // Start opens whatever device is there by then.
    Stop();
    m_output.CloseAudioUnit();
    return;
  }
  if (m_finished) {
    LSoundTime end;
    {
      std::lock_guard<std::recursive_mutex> guard(m_lock);
      end = m_source.GetEnd();
    }
    m_listener->spntfTime(end, m_userValue);
    if (m_finished) Stop();
    return;
  }
  if (!m_timeUpdatePending) return;
  LSoundTime t;
  {
    // The worker reads the source under this lock.
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    // Only a render callback moves the play cursor; without one since the
    // last refresh the position is unchanged.
    if (m_output.TakePositionRefreshRequest()) m_output.EvNotify();
    t.SetSamples(m_output.GetPosition(), m_source->GetSampleRate());
  }
  m_listener->spntfTime(t, m_userValue);
  if (m_timeUpdatePending) m_listener->spntfLevel(m_output.GetLevels(), m_userValue);
  m_timeUpdatePending = false;
}

// Worker: allocates nothing per block.
template <typename T>
void LSoundPlayerTemplate<T>::ThreadFunction() {
  m_consumptionCount = 0;
  m_raisedByCount = false;
  m_raisedByFullRing = false;
  m_notifyThread = std::make_unique<LSoundPlayerDoneHandlerThread<T>>(this);
  m_notifyThread->Start(kPriority);
  m_workerRunning.Set();
  while (!IsToStop() && WorkerStep()) {
  }
  m_workerRunning.Reset();
  m_notifyThread->StopThreadNow();
  m_notifyThread.reset();
}

template <typename T>
bool LSoundPlayerTemplate<T>::WorkerStep() {
  std::unique_lock<std::recursive_mutex> lock(m_lock);
  const int left = m_source->GetEndSample() - m_source->GetPositionSample();
  const int chunk = std::min(left, kMaxReadFrames);
  if (left <= 0) {
    if (IsToStop() || !m_output.PlayRemainingBuffer()) {
      m_finished = true;
      m_timeUpdatePending = false;
      PostQueueNotify();
      return false;
    }
    m_timeUpdatePending = true;
    PostQueueNotify();
    // Waits without the lock, so the main thread's time reports never stall
    // behind a draining ring.
    lock.unlock();
    ProcessWaitSignal(m_dataConsumed.Ref(), 1000);
    m_dataConsumed.Reset();
    ProcessWait(5);
    return true;
  }
  if (IsToStop()) {
    lock.unlock();
    ProcessWait(5);
    return true;
  }
  if (!m_output.IsNextBufferReady()) {
    m_consumptionCount = 0;
    if (!m_raisedByFullRing) {
      m_notifyThread->SetPriority(kPriorityRealTime);
      m_raisedByFullRing = true;
    }
    RestoreWorkerPriority();
    lock.unlock();
    ProcessWaitSignal(m_dataConsumed.Ref(), 1000);
    m_dataConsumed.Reset();
    return true;
  }
  m_output.WriteBuffer(chunk);
  lock.unlock();
  ProcessWait(5);
  return true;
}

template <typename T>
void LSoundPlayerTemplate<T>::RestoreWorkerPriority() {
  if (m_raisedByCount.exchange(false)) SetPriority(kPriority);
}

template <typename T>
void LSoundPlayerTemplate<T>::ThreadFunctionDoneHandler(LThread& self) {
  const LSignalObjectRef ownStop = self.StopSignal();
  while (!self.IsToStop() && !IsToStop()) {
    if (!m_output.WaitForEmptyBuffer(&ownStop)) break;
    if (m_output.HasDeviceFailed()) {
      PostQueueNotify();  // the main thread stops the player
      break;
    }
    m_dataConsumed.Set();
    m_timeUpdatePending = true;
    PostQueueNotify();
    const LCARingBuffer* ring = m_output.GetRing();
    const int threshold = ring ? (ring->Capacity() / kMaxReadFrames) / 2 : 0;
    const int old = m_consumptionCount.fetch_add(1);
    if (old > threshold && !m_raisedByCount) {
      self.SetPriority(kPriorityRealTime);
      m_raisedByCount = true;
      if (m_raisedByFullRing.exchange(false)) SetPriority(kPriority);
    }
  }
}

template class LSoundPlayerTemplate<LSoundPlayerLLCA>;
