#include "audio/SoundPlayerLLCA.h"

#include <time.h>

#include <algorithm>
#include <cstring>

LSoundPlayerLLCA::LSoundPlayerLLCA(LSignalObject& workerRunning, std::unique_ptr<LAudioOutputUnit> unit)
    : m_workerRunning(workerRunning), m_unit(std::move(unit)) {
  for (auto& level : m_levels) level.store(0, std::memory_order_relaxed);
}

LSoundPlayerLLCA::LSoundPlayerLLCA(LSignalObject& workerRunning)
    : LSoundPlayerLLCA(workerRunning, LAudioOutputUnitCreate()) {}

LSoundPlayerLLCA::~LSoundPlayerLLCA() {
  Stop();
  CloseAudioUnit();
  m_ring.reset();
}

bool LSoundPlayerLLCA::Init(LSoundSource& source, unsigned short mode) {
  m_startMode = mode;
  m_deviceFailed.store(false, std::memory_order_release);
  if (!OpenAudioUnit()) return false;
  m_position = source->GetPositionSample();
  return SetSoundSource(source);
}

// The device is opened here, at the first Play, and kept open across Stop
// and Play; its stream is made by SetSoundSource once the format is known.
bool LSoundPlayerLLCA::OpenAudioUnit() {
  if (m_unit->IsOpen()) return true;
  m_streamReady = false;
  if (!m_unit->Open(LSoundPlayDevice::GetListDeviceIDAtIndex(m_device.m_index))) return false;
  m_unit->SetRenderer(this);
  return true;
}

int LSoundPlayerLLCA::OpenDeviceRate(int wanted) { return OpenAudioUnit() ? m_unit->PlayableRate(wanted) : 0; }

void LSoundPlayerLLCA::CloseAudioUnit() {
  if (!m_unit->IsOpen()) return;
  m_unit->Stop();
  m_unit->Close();
  m_streamReady = false;
}

void LSoundPlayerLLCA::SetFormat() { m_unit->SetFormat(m_source->GetSampleRate(), m_source->GetChannels()); }

void LSoundPlayerLLCA::MapChannels() {
  // Two source channels on one device channel would collapse the stereo
  // image; a mono source goes to both channels of the pair, so it is heard
  // in both ears (the unit drops a channel the device does not have).
  // The choice itself stays as it was made, so that choosing it again (as
  // every Play does) is no change that would re-make the stream.
  m_right = m_device.m_right;
  if (m_right == m_device.m_left) m_right = m_device.m_left == 0 ? 1 : m_device.m_left - 1;
  m_unit->SetChannelMap(m_device.m_left, m_right);
}

// Only remembered: the device is opened (or its stream re-made) at the next
// Init, so choosing a device never opens one.
void LSoundPlayerLLCA::SetDevice(const LSoundPlayDevice& device) {
  if (device == m_device) return;
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  const bool sameIndex = device.m_index == m_device.m_index;
  m_device = device;
  if (!sameIndex) {
    CloseAudioUnit();
  } else if (m_streamReady) {
    m_unit->Stop();
    m_unit->Uninitialize();
    m_streamReady = false;
  }
}

bool LSoundPlayerLLCA::SetSoundSource(LSoundSource& source) {
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  const int rate = source->GetSampleRate();
  const unsigned char channels = source->GetChannels();
  if (!m_ring || m_ringRate != rate || m_ringChannels != channels) {
    m_ring = std::make_unique<LCARingBuffer>(rate, channels);
    m_ringRate = rate;
    m_ringChannels = channels;
    m_levelChannels = channels;
  }
  m_source = source;
  m_sampleRate = rate;
  m_sourceEnded.store(false, std::memory_order_relaxed);
  if (!m_unit->IsOpen()) return false;
  // The stream stays as it is while the format holds: Play does not re-open it.
  if (!m_streamReady || m_unit->StreamRate() != rate || m_unit->StreamChannels() != channels) {
    m_unit->Stop();
    m_unit->Uninitialize();
    SetFormat();
    MapChannels();
    m_streamReady = m_unit->Initialize();
    if (!m_streamReady) return false;
  }
  PreFill();
  if (GetState() == kRunning) m_unit->Start();
  return true;
}

void LSoundPlayerLLCA::PreFill() {
  const int left = m_source->GetEndSample() - m_source->GetPositionSample();
  WriteBuffer(std::min(left, kMaxReadFrames));
}

bool LSoundPlayerLLCA::Start() {
  const unsigned short mode = m_startMode;
  m_startMode = 0;
  if (mode != 1) return Play();
  if (m_unit->IsOpen()) m_unit->Stop();
  m_state.store(GetState() | kPrepared, std::memory_order_release);
  return true;
}

bool LSoundPlayerLLCA::Play() {
  if (!m_unit->IsOpen() || !m_streamReady || !m_workerRunning.WaitSignal(1000)) {
    m_state.store(kStopped, std::memory_order_release);
    return false;
  }
  // A device that refuses to start is not playing.
  m_watchCalls = m_renderCalls.load(std::memory_order_relaxed);
  m_watchSince = std::chrono::steady_clock::now();
  m_clocked = m_unit->PlaysThroughUnderRuns();
  m_deviceFrames = 0;
  m_debt = 0;
  m_inUnderRun = false;
  m_underRuns.store(0, std::memory_order_relaxed);
  m_clockPeriod.store(0, std::memory_order_release);
  const bool started = m_unit->Start();
  m_state.store(started ? kRunning : kStopped, std::memory_order_release);
  return started;
}

void LSoundPlayerLLCA::Stop() {
  if (m_unit->IsOpen()) m_unit->Stop();
  if (m_ring) m_ring->Discard();
  m_state.store(kStopped, std::memory_order_release);
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  m_source.Close();
}

void LSoundPlayerLLCA::SetPlayVolume(const LdBLevel& volume) {
  m_volume = volume;
  m_volumeFactor.store(volume.GetLin() >> 15, std::memory_order_relaxed);
}

bool LSoundPlayerLLCA::IsNextBufferReady() const { return m_ring && m_ring->FreeFrames() > kMaxReadFrames - 1; }

bool LSoundPlayerLLCA::PlayRemainingBuffer() const { return m_ring && m_ring->FilledFrames() > 0; }

void LSoundPlayerLLCA::WriteBuffer(int frames) {
  m_ring->Write(m_source, frames);
  if (m_source->GetEndSample() - m_source->GetPositionSample() <= 0)
    m_sourceEnded.store(true, std::memory_order_release);
}

void LSoundPlayerLLCA::ArmRefill() {
  m_refillAsked.store(false, std::memory_order_relaxed);
  // Pairs with WakeWorker's fence: either the worker, looking at the ring
  // after this, sees the room the callback made, or the callback sees the
  // request and signals.
  std::atomic_thread_fence(std::memory_order_seq_cst);
}

// Real-time: device thread; one pipe write at most.
void LSoundPlayerLLCA::WakeWorker() {
  const bool wanted = m_sourceEnded.load(std::memory_order_acquire) ? m_ring->FilledFrames() == 0
                                                                    : m_ring->FreeFrames() >= kMaxReadFrames;
  if (!wanted) return;
  std::atomic_thread_fence(std::memory_order_seq_cst);
  if (!m_refillAsked.exchange(true, std::memory_order_relaxed)) m_refill.Set();
}

bool LSoundPlayerLLCA::CheckWatchdog() {
  if (!WatchdogExpired()) return false;
  DeviceFailed();
  return true;
}

// Worker. A device whose callbacks stop arriving while it
// should be playing is lost, whether or not its back end says so (a stream
// whose server was killed may just go quiet).
bool LSoundPlayerLLCA::WatchdogExpired() {
  if (GetState() != kRunning || m_deviceFailed.load(std::memory_order_acquire)) return false;
  const long calls = m_renderCalls.load(std::memory_order_relaxed);
  const auto now = std::chrono::steady_clock::now();
  if (calls != m_watchCalls) {
    m_watchCalls = calls;
    m_watchSince = now;
    return false;
  }
  return now - m_watchSince > std::chrono::milliseconds(kWatchdogMs);
}

int LSoundPlayerLLCA::GetLagToPlayCursor() const {
  if (GetState() == kStopped || !m_ring) return 0;
  return m_ring->FilledFrames();
}

int LSoundPlayerLLCA::_GetPositionSample() {
  const int p = m_source->GetPositionSample();
  long lag = -GetLagToPlayCursor();
  m_source->ControlMessage(LSoundSourceBase::kMsgAdjustPosition, &lag);
  const long position = p + lag;
  return position < 0 ? 0 : static_cast<int>(position);
}

void LSoundPlayerLLCA::EvNotify() { m_position = _GetPositionSample(); }

LDBMultiChannel<LdBLevel> LSoundPlayerLLCA::GetLevels() const {
  LDBMultiChannel<LdBLevel> levels;
  levels.SetCount(m_levelChannels);
  for (int i = 0; i < 256; ++i) levels[i] = LdBLevel(m_levels[i].load(std::memory_order_relaxed));
  return levels;
}

int64_t LSoundPlayerLLCA::MonotonicNs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// A callback larger than the staging buffer renders in pieces a few
// microseconds apart; stamping each piece with its own time would put the
// later pieces' frames at the callback's start and the light ahead of the
// sound by up to the callback's length.
void LSoundPlayerLLCA::StampClock(int64_t ns, int frames, bool continued) {
  const uint32_t seq = m_clockSeq.load(std::memory_order_relaxed);
  m_clockSeq.store(seq + 1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  const int period = m_clockPeriod.load(std::memory_order_relaxed);
  if (continued && period > 0) {
    m_clockPeriod.store(period + frames, std::memory_order_relaxed);
  } else {
    m_clockFrames.store(m_deviceFrames, std::memory_order_relaxed);
    m_clockNs.store(ns, std::memory_order_relaxed);
    m_clockPeriod.store(frames, std::memory_order_relaxed);
  }
  m_clockSeq.store(seq + 2, std::memory_order_release);
  m_deviceFrames += frames;
}

bool LSoundPlayerLLCA::HeardFrame(int64_t nowNs, int64_t& frame) const {
  int64_t frames, ns;
  int period;
  for (;;) {
    const uint32_t before = m_clockSeq.load(std::memory_order_acquire);
    frames = m_clockFrames.load(std::memory_order_relaxed);
    ns = m_clockNs.load(std::memory_order_relaxed);
    period = m_clockPeriod.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (!(before & 1) && m_clockSeq.load(std::memory_order_relaxed) == before) break;
  }
  if (period <= 0 || GetState() != kRunning) return false;
  // Between callbacks the device runs on at its rate; a device that stops
  // calling back is not followed further than a few periods.
  const int64_t since = std::max<int64_t>(nowNs - ns, 0);
  const int64_t ahead = std::min<int64_t>(since * m_sampleRate / 1000000000, 4LL * period);
  frame = frames + ahead - m_unit->LatencyFrames();
  return true;
}

void LSoundPlayerLLCA::Owe(int frames, bool count) {
  if (!m_clocked || m_sourceEnded.load(std::memory_order_acquire)) return;
  m_debt += frames;
  if (count && !m_inUnderRun) m_underRuns.fetch_add(1, std::memory_order_relaxed);
  m_inUnderRun = true;
}

// Real-time: device thread; allocates nothing, never blocks.
int LSoundPlayerLLCA::Render(int* out, int frames, unsigned long* bytes, bool continued) {
  const unsigned long entryBytes = *bytes;
  m_renderCalls.fetch_add(1, std::memory_order_relaxed);
  const int64_t now = m_clock();
  std::unique_lock<std::recursive_mutex> outputLock(m_lock, std::try_to_lock);
  std::unique_lock<std::mutex> ringLock;
  if (outputLock.owns_lock() && m_ring) ringLock = std::unique_lock<std::mutex>(m_ring->Lock(), std::try_to_lock);
  if (!ringLock.owns_lock()) {  // source or ring being replaced: silence
    Owe(frames, false);
    if (m_clocked) StampClock(now, frames, continued);
    *bytes = 0;
    return 0;
  }
  int filled = m_ring->FilledFrames();
  if (m_debt > 0 && filled > 0) {
    // Late audio is dropped, never shifted: the clicks that follow keep
    // their places on the device's clock.
    const int drop = static_cast<int>(std::min<int64_t>(m_debt, filled));
    m_ring->Skip(drop);
    m_debt -= drop;
    filled -= drop;
  }
  const int n = std::min(frames, filled);
  if (n < frames)
    Owe(frames - n, true);
  else if (m_debt == 0)
    m_inUnderRun = false;
  StampClock(now, m_clocked ? frames : n, continued);
  LdBLevel level0(-127), level1(-127);
  if (n == 0) {
    std::memset(out, 0, entryBytes);
  } else {
    m_ring->Read(out, bytes, n, m_volumeFactor.load(std::memory_order_relaxed), level0, level1);
  }
  WakeWorker();
  m_positionRefresh.store(true, std::memory_order_release);
  m_levelFrames += frames;
  ++m_levelCount;
  m_levelSum0 += level0.GetLinFloat();
  m_levelSum1 += level1.GetLinFloat();
  if (m_levelFrames >= m_sampleRate / 20 || *bytes < entryBytes) {
    LdBLevel average;
    average.SetLinFloat(m_levelSum0 / m_levelCount);
    m_levels[m_device.m_left & 255].store(average.Get(), std::memory_order_relaxed);
    average.SetLinFloat(m_levelSum1 / m_levelCount);
    m_levels[m_right & 255].store(average.Get(), std::memory_order_relaxed);
    if (m_tellTimes.load(std::memory_order_relaxed)) m_consumed.Set();
    m_levelFrames = 0;
    m_levelCount = 0;
    m_levelSum0 = m_levelSum1 = 0;
  }
  return n;
}

// Device thread: allocates nothing, never blocks (a pipe write).
void LSoundPlayerLLCA::DeviceFailed() {
  m_deviceFailed.store(true, std::memory_order_release);
  m_consumed.Set();
}
