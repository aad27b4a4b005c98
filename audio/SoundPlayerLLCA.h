// The low-level audio output behind the sound player: owns the output unit,
// formats it for the source, and feeds it from a ring buffer that the
// player's worker fills and the device's render callback drains. On the way
// out it applies the playback volume and meters each channel; it wakes the
// worker when the ring has room for a block, and (when time reports are
// wanted) about every 50 ms of audio.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>

#include "audio/OutputUnit.h"
#include "audio/PlayDevice.h"
#include "audio/RingBuffer.h"
#include "platform/SignalObject.h"
#include "platform/Thread.h"
#include "soundfile/DB.h"
#include "soundfile/SoundSource.h"

class LSoundPlayerLLCA : private LAudioRenderer {
 public:
  enum State : unsigned short { kStopped = 0, kRunning = 1, kPrepared = 2 };

  // workerRunning: the player's signal that its worker has begun; the device
  // starts only after it.
  LSoundPlayerLLCA(LSignalObject& workerRunning, std::unique_ptr<LAudioOutputUnit> unit);
  explicit LSoundPlayerLLCA(LSignalObject& workerRunning);
  ~LSoundPlayerLLCA() override;
  LSoundPlayerLLCA(const LSoundPlayerLLCA&) = delete;
  LSoundPlayerLLCA& operator=(const LSoundPlayerLLCA&) = delete;

  // Main thread. mode 0 plays at Start(), mode 1 prepares silently.
  bool Init(LSoundSource& source, unsigned short mode);
  bool OpenAudioUnit();
  // Opens the chosen device (if it is not open) and tells the rate a source
  // meant for `wanted` frames a second must be rendered at to play on it; 0
  // when no device opens. The caller converts its sounds to it before Init.
  int OpenDeviceRate(int wanted);
  void CloseAudioUnit();
  void SetDevice(const LSoundPlayDevice& device);
  // False when the device's stream cannot be made for the source's format.
  bool SetSoundSource(LSoundSource& source);
  // False when the device refused to start (or was never opened).
  bool Start();
  bool Play();
  void Stop();
  void SetPlayVolume(const LdBLevel& volume);
  LdBLevel GetPlayVolume() const { return m_volume; }
  int GetVolumeFactor() const { return m_volumeFactor.load(std::memory_order_relaxed); }

  // Worker thread (under the player's lock).
  bool IsNextBufferReady() const;
  bool PlayRemainingBuffer() const;
  void WriteBuffer(int frames);
  // Worker: the render callback sets RefillSignal() once the ring has room
  // for a block (once the source has ended: once the ring has run dry), a
  // single time after each ArmRefill(), which the worker calls before it
  // looks at the ring.
  LSignalObjectRef RefillSignal() const { return m_refill.Ref(); }
  void ArmRefill();
  // Whether the render callback sets ConsumptionSignal() about every 50 ms
  // of audio (and at once on a short period) for time and level reports; a
  // lost device sets it either way.
  void SetTimeReports(bool on) { m_tellTimes.store(on, std::memory_order_relaxed); }
  // Worker: a running device that has made no render callback for
  // kWatchdogMs is lost (true; HasDeviceFailed() from now on).
  // Back ends that notice a lost device say so at once (PipeWire, JACK,
  // PortAudio's finished stream); this is the last resort for one that just
  // goes quiet, long enough that a busy machine's stalls of a second or two
  // (a daemon without real-time scheduling behind a build) are not taken
  // for a loss.
  static constexpr int kWatchdogMs = 4000;
  bool CheckWatchdog();

  // Frames queued for the device (0 when stopped).
  int GetLagToPlayCursor() const;
  // Source position less what is still queued, never negative.
  int _GetPositionSample();
  // Main thread: refreshes the position. The render callback asks for this
  // through a flag rather than a posted event, since it may not allocate.
  void EvNotify();
  bool TakePositionRefreshRequest() { return m_positionRefresh.exchange(false, std::memory_order_acq_rel); }
  int GetPosition() const { return m_position; }

  // The device's clock. Every render callback stamps the frames the device
  // has played since Play (silence of under-runs included) with the time it
  // was called; the track frame heard at nowNs (ns of Now()'s clock) is that
  // count advanced by the time since, at the stream's rate, less the
  // latency the back end declares. False before the first callback and
  // when stopped. Main thread.
  bool HeardFrame(int64_t nowNs, int64_t& frame) const;
  // CLOCK_MONOTONIC in ns; tests put a clock of their own in its place
  // (before Play).
  using Clock = int64_t (*)();
  static int64_t MonotonicNs();
  void SetClock(Clock clock) { m_clock = clock; }
  int64_t Now() const { return m_clock(); }
  // Under-runs since Play: times the ring ran dry before the source ended
  // while the device played on. The audio that came late is dropped, so the
  // track stays on the device's clock (what follows plays where it would
  // have without the stall).
  long GetUnderRuns() const { return m_underRuns.load(std::memory_order_relaxed); }

  // A copy of the published levels (main thread).
  LDBMultiChannel<LdBLevel> GetLevels() const;
  unsigned short GetState() const { return m_state.load(std::memory_order_acquire); }
  const LSoundPlayDevice& GetDevice() const { return m_device; }
  LCARingBuffer* GetRing() const { return m_ring.get(); }
  LAudioOutputUnit& GetUnit() const { return *m_unit; }
  LSignalObjectRef ConsumptionSignal() const { return m_consumed.Ref(); }

  // Device thread: the render callback, public for benchmarks and tests.
  int Render(int* out, int frames, unsigned long* bytes, bool continued) override;
  // Device thread: flags the loss and wakes the worker.
  void DeviceFailed() override;
  // The device stopped working during the current (or last) session.
  bool HasDeviceFailed() const { return m_deviceFailed.load(std::memory_order_acquire); }

 private:
  void SetFormat();
  void MapChannels();
  void PreFill();
  bool WatchdogExpired();
  // Device thread: wakes the worker when the ring wants it.
  void WakeWorker();
  // Device thread: frames the device played as silence instead of the
  // track's; count: a fresh under-run, not a transition.
  void Owe(int frames, bool count);
  // Device thread: frames a callback rendered at ns; continued: more of the
  // callback stamped before, whose time still holds.
  void StampClock(int64_t ns, int frames, bool continued);

  LSignalObject& m_workerRunning;
  std::unique_ptr<LAudioOutputUnit> m_unit;
  LSoundSource m_source;
  LSoundPlayDevice m_device{0, 0, 0};
  int m_right = 1;             // the device channel stream channel 1 plays on
  bool m_streamReady = false;  // the unit's stream is made for m_source's format
  int m_ringRate = 0;
  unsigned char m_ringChannels = 0;
  std::atomic<unsigned short> m_state{kStopped};
  int m_position = 0;
  int m_sampleRate = 44100;
  // Tried, never waited for, by the render callback.
  std::recursive_mutex m_lock;
  std::unique_ptr<LCARingBuffer> m_ring;
  LSignalObject m_consumed;
  LSignalObject m_refill;
  std::atomic<bool> m_refillAsked{false};
  std::atomic<bool> m_tellTimes{true};
  unsigned char m_levelChannels = 0;
  std::atomic<signed char> m_levels[256];
  LdBLevel m_volume{0};
  std::atomic<int> m_volumeFactor{512};
  unsigned short m_startMode = 0;
  std::atomic<bool> m_positionRefresh{false};
  std::atomic<bool> m_deviceFailed{false};
  std::atomic<long> m_renderCalls{0};
  // Worker (and Play, before the device starts).
  long m_watchCalls = 0;
  std::chrono::steady_clock::time_point m_watchSince;
  Clock m_clock = &MonotonicNs;
  // Set by the worker once the source has given its last frame: a ring that
  // runs dry then is the end, not an under-run.
  std::atomic<bool> m_sourceEnded{false};
  std::atomic<long> m_underRuns{0};
  // The device clock's latest stamp; a seqlock (odd while written).
  std::atomic<uint32_t> m_clockSeq{0};
  std::atomic<int64_t> m_clockFrames{0};
  std::atomic<int64_t> m_clockNs{0};
  std::atomic<int> m_clockPeriod{0};  // frames of the stamped callback; 0 = none yet
  // Device thread only (reset by Play before the device starts).
  bool m_clocked = true;  // the device plays on through an under-run
  int64_t m_deviceFrames = 0;
  int64_t m_debt = 0;  // frames of late audio still to drop
  bool m_inUnderRun = false;
  int m_levelFrames = 0;
  int m_levelCount = 0;
  double m_levelSum0 = 0;
  double m_levelSum1 = 0;
};
