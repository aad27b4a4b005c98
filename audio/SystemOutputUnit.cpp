#include "audio/SystemOutputUnit.h"

#include "audio/JackOutputUnit.h"
#include "audio/PipeWireOutputUnit.h"
#include "audio/PipeWireSupport.h"
#include "audio/PortAudioOutputUnit.h"
#include "audio/PortAudioSession.h"

namespace {

class SystemQuery : public LSoundPlayDeviceQuery {
 public:
  // Read afresh at every call: devices come and go.
  bool Enumerate(std::vector<Device>& devices) override {
    EnumerateLeading(devices);
    return LPortAudioDeviceQuery().Enumerate(devices);
  }
  void EnumerateLeading(std::vector<Device>& devices) override {
    std::vector<LPipeWireSink> sinks;
    if (LPipeWireListSinks(sinks))
      for (const LPipeWireSink& sink : sinks)
        if (sink.serial < kPipeWireSerialMask)
          devices.push_back({kPipeWireDevice | static_cast<unsigned int>(sink.serial), sink.description, 2});
    LJackListDevices(devices);
  }
  unsigned int DefaultOutputDevice() override {
    std::vector<LPipeWireSink> sinks;
    if (LPipeWireListSinks(sinks)) return kPipeWireDefault;
    std::vector<Device> jack;
    LJackListDevices(jack);
    if (!jack.empty()) return kJackDevice;
    return LPortAudioDeviceQuery().DefaultOutputDevice();
  }
  // PipeWire's and JACK's lists are read afresh at every call already.
  void Rescan() override { LPortAudioRescan(); }
};

}  // namespace

LSoundPlayDeviceQuery& LSystemDeviceQuery() {
  static SystemQuery query;
  return query;
}

LSystemOutputUnit::LSystemOutputUnit() = default;

LSystemOutputUnit::~LSystemOutputUnit() { Close(); }

bool LSystemOutputUnit::Open(unsigned int deviceId) {
  Close();
  if (deviceId == kNoPlayDevice) return false;
  if (deviceId & kPipeWireDevice) {
    if (!m_pipeWire) m_pipeWire = std::make_unique<LPipeWireOutputUnit>();
    m_active = m_pipeWire.get();
    const unsigned int serial = deviceId & kPipeWireSerialMask;
    deviceId = serial == kPipeWireSerialMask ? LPipeWireOutputUnit::kDefaultSink : serial;
  } else if (deviceId == kJackDevice) {
    if (!m_jack) m_jack = std::make_unique<LJackOutputUnit>();
    m_active = m_jack.get();
  } else {
    if (!m_portAudio) m_portAudio = std::make_unique<LPortAudioOutputUnit>();
    m_active = m_portAudio.get();
  }
  if (m_active->Open(deviceId)) return true;
  m_active = nullptr;
  return false;
}

void LSystemOutputUnit::Close() {
  if (m_active) m_active->Close();
  m_active = nullptr;
}

bool LSystemOutputUnit::Initialize() {
  if (!m_active) return false;
  m_active->SetFormat(m_rate, m_channels);
  m_active->SetChannelMap(m_left, m_right);
  m_active->SetRenderer(m_renderer);
  return m_active->Initialize();
}

void LSystemOutputUnit::Uninitialize() {
  if (m_active) m_active->Uninitialize();
}

bool LSystemOutputUnit::Start() { return m_active && m_active->Start(); }

void LSystemOutputUnit::Stop() {
  if (m_active) m_active->Stop();
}
