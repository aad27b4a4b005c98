// The audio output on a real machine: one PortAudio output stream of 32-bit
// integers whose callback is the render callback.
#pragma once

#include <atomic>
#include <memory>

#include "audio/OutputUnit.h"
#include "audio/PortAudioSession.h"

class LPortAudioOutputUnit : public LAudioOutputUnit {
 public:
  LPortAudioOutputUnit() = default;
  ~LPortAudioOutputUnit() override;

  bool Open(unsigned int deviceId) override;
  void Close() override;
  bool IsOpen() const override { return m_session != nullptr; }
  int DeviceChannels() const override { return m_deviceChannels; }
  bool Initialize() override;
  void Uninitialize() override;
  bool Start() override;
  void Stop() override;

  // Device thread: one PortAudio callback.
  void OnDeviceCallback(int* out, int frames);
  void OnStreamFinished();

 private:
  std::unique_ptr<LPortAudioSession> m_session;  // held while a device is open
  int m_device = -1;
  int m_deviceChannels = 0;
  double m_latency = 0;
  void* m_stream = nullptr;
  std::atomic<bool> m_stopping{true};  // set before any stop we ask for
};
