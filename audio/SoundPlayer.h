// Plays one sound source through the audio output and reports to a listener
// on the main thread. The main thread starts and stops it and receives the
// notifications; one worker, made at the first Start and kept, pulls blocks
// of at most 8192 frames from the source into the output's ring when the
// device has made room for one, and tells the main thread what the device
// reported (times and levels, a lost device, the end of the source). Between
// plays the worker sleeps without a timeout.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "audio/SessionThread.h"
#include "audio/SoundPlayerLLCA.h"
#include "audio/SoundPlayerNotify.h"
#include "platform/SignalObject.h"
#include "platform/ThreadQueuedNotify.h"

template <typename T>
class LSoundPlayerTemplate : public LSessionThread, public LThreadQueuedNotify, public LSoundPlayerNotify {
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

  // Main thread: one call per post of the worker.
  void EvNotify() override;

 protected:
  // The worker's part of one play.
  void Session() override;

 private:
  // Fills the ring while it has room for a block; false once the source has
  // played to its end.
  bool Refill();
  // What the render callback signalled; false once the device is lost.
  bool Tell();

  LSignalObject m_workerRunning;
  T m_output;
  LSoundPlayerNotify* m_listener;
  long m_userValue = 0;
  LSoundSource m_source;
  std::atomic<bool> m_finished{false};
  std::atomic<bool> m_timeUpdatePending{false};
  std::recursive_mutex m_lock;
};

using LSoundPlayer = LSoundPlayerTemplate<LSoundPlayerLLCA>;
extern template class LSoundPlayerTemplate<LSoundPlayerLLCA>;
