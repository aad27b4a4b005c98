#include "audio/SoundPlayerLLCA.h"

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

bool LSoundPlayerLLCA::Init(LSoundSource& source, unsigned short mode, LThread* owner) {
  m_startMode = mode;
  m_deviceFailed.store(false, std::memory_order_release);
  if (!OpenAudioUnit()) return false;
  m_position = source->GetPositionSample();
  SetSoundSource(source);
  m_owner = owner;
  return true;
}

bool LSoundPlayerLLCA::OpenAudioUnit() {
  if (m_unit->IsOpen()) return true;
  if (!m_unit->Open(LSoundPlayDevice::GetListDeviceIDAtIndex(m_device.m_index))) return false;
  SetFormat();
  // Corrected for the source's channels once it is known (SetSoundSource).
  m_unit->SetChannelMap(m_device.m_left, m_device.m_right);
  m_unit->SetRenderer(this);
  m_unit->Initialize();
  return true;
}

void LSoundPlayerLLCA::CloseAudioUnit() {
  if (!m_unit->IsOpen()) return;
  m_unit->Stop();
  m_unit->Close();
}

void LSoundPlayerLLCA::SetFormat() { m_unit->SetFormat(m_source->GetSampleRate(), m_source->GetChannels()); }

void LSoundPlayerLLCA::MapChannels() {
  // Two source channels on one device channel would collapse the stereo
  // image; a mono source needs only the left one.
  if (m_source->GetChannels() > 1) {
    if (m_device.m_right == m_device.m_left) m_device.m_right = m_device.m_left == 0 ? 1 : m_device.m_left - 1;
  } else {
    m_device.m_right = m_device.m_left;
  }
  m_unit->SetChannelMap(m_device.m_left, m_device.m_right);
}

void LSoundPlayerLLCA::SetDevice(const LSoundPlayDevice& device) {
  if (device == m_device) return;
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  const bool sameIndex = device.m_index == m_device.m_index;
  m_device = device;
  if (sameIndex) {
    if (!m_unit->IsOpen()) return;
    m_unit->Uninitialize();
    MapChannels();
    m_unit->Initialize();
  } else {
    CloseAudioUnit();
    if (OpenAudioUnit()) MapChannels();
  }
}

void LSoundPlayerLLCA::SetSoundSource(LSoundSource& source) {
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  const bool newRing = !m_ring || source->GetChannels() != m_source->GetChannels() ||
                       source->GetSampleRate() != m_source->GetSampleRate() ||
                       (m_unit->IsOpen() && (m_unit->StreamRate() != source->GetSampleRate() ||
                                             m_unit->StreamChannels() != source->GetChannels()));
  if (newRing) {
    m_ring = std::make_unique<LCARingBuffer>(source->GetSampleRate(), source->GetChannels());
    m_levelChannels = source->GetChannels();
  }
  m_source = source;
  m_sampleRate = source->GetSampleRate();
  if (!newRing || !m_unit->IsOpen()) return;
  m_unit->Stop();
  m_unit->Uninitialize();
  SetFormat();
  MapChannels();
  m_unit->Initialize();
  PreFill();
  if (GetState() == kRunning) m_unit->Start();
}

void LSoundPlayerLLCA::PreFill() {
  const int left = m_source->GetEndSample() - m_source->GetPositionSample();
  m_ring->Write(m_source, std::min(left, kMaxReadFrames));
}

void LSoundPlayerLLCA::Start() {
  if (m_startMode == 1) {
    if (m_unit->IsOpen()) m_unit->Stop();
    m_state.store(GetState() | kPrepared, std::memory_order_release);
  } else {
    Play();
  }
  m_startMode = 0;
}

void LSoundPlayerLLCA::Play() {
  if (!m_unit->IsOpen()) return;
  if (!m_workerRunning.WaitSignal(1000)) {
    m_state.store(kStopped, std::memory_order_release);
    return;
  }
  // A device that refuses to start is not playing.
  m_state.store(m_unit->Start() ? kRunning : kStopped, std::memory_order_release);
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

void LSoundPlayerLLCA::WriteBuffer(int frames) { m_ring->Write(m_source, frames); }

bool LSoundPlayerLLCA::WaitForEmptyBuffer(const LSignalObjectRef* alsoStop) {
  if (!m_owner) return false;
  LSignalObjectGroup group;
  group.Add(m_consumed.Ref());
  if (alsoStop) group.Add(*alsoStop);
  for (;;) {
    if (m_owner->IsToStop() || (alsoStop && alsoStop->IsSignaled())) return false;
    const int r = m_owner->ProcessWaitSignalObjectGroup(group, 1000);
    if (r == kWaitStop) return false;
    if (m_consumed.IsSignaled()) {
      if (alsoStop && alsoStop->IsSignaled()) return false;
      m_consumed.Reset();
      return true;
    }
  }
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

// Real-time: device thread; allocates nothing, never blocks.
int LSoundPlayerLLCA::Render(int* out, int frames, unsigned long* bytes) {
  const unsigned long entryBytes = *bytes;
  std::unique_lock<std::recursive_mutex> outputLock(m_lock, std::try_to_lock);
  if (!outputLock.owns_lock() || !m_ring) {  // source or ring being replaced: skip
    *bytes = 0;
    return 0;
  }
  std::unique_lock<std::mutex> ringLock(m_ring->Lock(), std::try_to_lock);
  if (!ringLock.owns_lock()) {
    *bytes = 0;
    return 0;
  }
  const int n = std::min(frames, m_ring->FilledFrames());
  LdBLevel level0(-127), level1(-127);
  if (n == 0) {
    std::memset(out, 0, entryBytes);
  } else {
    m_ring->Read(out, bytes, n, m_volumeFactor.load(std::memory_order_relaxed), level0, level1);
  }
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
    m_levels[m_device.m_right & 255].store(average.Get(), std::memory_order_relaxed);
    m_consumed.Set();
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
