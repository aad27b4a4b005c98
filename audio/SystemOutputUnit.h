// The machine's outputs as one device list and one output unit: PipeWire's
// sinks by their descriptions when a PipeWire daemon answers, "JACK: system"
// when a JACK server answers, then every PortAudio device by its system
// ("ALSA: default"). The default device is PipeWire's default sink whenever
// the daemon answers, else the JACK server's playback ports, else
// PortAudio's default output.
#pragma once

#include <memory>

#include "audio/OutputUnit.h"
#include "audio/PlayDevice.h"

// Device identifiers: a PipeWire sink is kPipeWireDevice | its object.serial
// (kPipeWireDefault: the session manager's choice); kJackDevice the JACK
// server's playback ports; anything else is a PortAudio device index.
constexpr unsigned int kPipeWireDevice = 0x40000000u;
constexpr unsigned int kPipeWireSerialMask = 0x3FFFFFFFu;
constexpr unsigned int kPipeWireDefault = kPipeWireDevice | kPipeWireSerialMask;

LSoundPlayDeviceQuery& LSystemDeviceQuery();

// Plays through whichever back end the opened device belongs to.
class LSystemOutputUnit : public LAudioOutputUnit {
 public:
  LSystemOutputUnit();
  ~LSystemOutputUnit() override;

  bool Open(unsigned int deviceId) override;
  void Close() override;
  bool IsOpen() const override { return m_active && m_active->IsOpen(); }
  int DeviceChannels() const override { return m_active ? m_active->DeviceChannels() : 0; }
  int NativeRate() const override { return m_active ? m_active->NativeRate() : m_rate; }
  int PlayableRate(int wanted) const override { return m_active ? m_active->PlayableRate(wanted) : wanted; }
  int LatencyFrames() const override { return m_active ? m_active->LatencyFrames() : 0; }
  bool Initialize() override;
  void Uninitialize() override;
  bool Start() override;
  void Stop() override;

 private:
  std::unique_ptr<LAudioOutputUnit> m_pipeWire;  // made when first needed
  std::unique_ptr<LAudioOutputUnit> m_portAudio;
  std::unique_ptr<LAudioOutputUnit> m_jack;
  LAudioOutputUnit* m_active = nullptr;
};
