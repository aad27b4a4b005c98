#include "audio/SoundPlayer.h"

#include <algorithm>

#include "soundfile/PeakLimit.h"

// The output waits for a worker before it starts the device; this player's
// worker is made on demand and always there by the time a session begins.
template <typename T>
LSoundPlayerTemplate<T>::LSoundPlayerTemplate()
    : LSessionThread("LSoundPlayer<T>"), m_output(m_workerRunning), m_listener(this) {
  m_workerRunning.Set();
}

template <typename T>
LSoundPlayerTemplate<T>::LSoundPlayerTemplate(std::unique_ptr<LAudioOutputUnit> unit)
    : LSessionThread("LSoundPlayer<T>"), m_output(m_workerRunning, std::move(unit)), m_listener(this) {
  m_workerRunning.Set();
}

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
  m_output.SetTimeReports(m_listener->WantsTimeReports());
  // The ring is pre-filled by Init, so the device may start before the
  // worker wakes; a failure leaves the worker asleep (or not yet made).
  if (!m_output.Init(m_source, mode) || !m_output.Start() || !BeginSession(kPriority)) {
    // The next Start opens whatever device is there by then; the caller
    // tells the user.
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
  EndSession();
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

// Worker: wakes when the device made room for a block, when it has
// something to tell, and while playing every quarter of the watchdog's time.
template <typename T>
void LSoundPlayerTemplate<T>::Session() {
  LSignalObjectGroup group;
  group.Add(m_output.RefillSignal());
  group.Add(m_output.ConsumptionSignal());
  while (Refill()) {
    const int r = SessionWait(group, T::kWatchdogMs / 4);
    if (r == kWaitStop) return;
    if (r == kWaitTimeout) m_output.CheckWatchdog();
    if (m_output.ConsumptionSignal().IsSignaled() && !Tell()) return;
  }
}

// Worker: allocates nothing per block.
template <typename T>
bool LSoundPlayerTemplate<T>::Refill() {
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  m_output.RefillSignal().Reset();
  m_output.ArmRefill();
  if (m_source->GetEndSample() - m_source->GetPositionSample() <= 0) {
    // The device wakes the worker again once the ring has run dry.
    if (m_output.PlayRemainingBuffer()) return true;
    m_finished = true;
    m_timeUpdatePending = false;
    PostQueueNotify();
    return false;
  }
  while (m_output.IsNextBufferReady()) {
    const int left = m_source->GetEndSample() - m_source->GetPositionSample();
    if (left <= 0) break;
    m_output.WriteBuffer(std::min(left, kMaxReadFrames));
  }
  return true;
}

template <typename T>
bool LSoundPlayerTemplate<T>::Tell() {
  m_output.ConsumptionSignal().Reset();
  const bool failed = m_output.HasDeviceFailed();  // the main thread stops the player
  if (!failed) m_timeUpdatePending = true;
  PostQueueNotify();
  return !failed;
}

template class LSoundPlayerTemplate<LSoundPlayerLLCA>;
