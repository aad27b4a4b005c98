// The audio output through PortAudio (ALSA, JACK, OSS devices): one output
// stream of 32-bit integers whose callback is the render callback. Stopping
// and closing run on a bounded helper, so a stream whose server vanished
// cannot freeze the caller.
#pragma once

#include <atomic>
#include <memory>

#include "audio/BoundedCall.h"
#include "audio/OutputUnit.h"

class LPortAudioOutputUnit : public LAudioOutputUnit {
 public:
  LPortAudioOutputUnit();
  ~LPortAudioOutputUnit() override;

  bool Open(unsigned int deviceId) override;
  void Close() override;
  bool IsOpen() const override { return m_device >= 0; }
  int DeviceChannels() const override { return m_deviceChannels; }
  int NativeRate() const override { return m_deviceRate; }
  // wanted when the device takes it, else the device's default rate.
  int PlayableRate(int wanted) const override;
  bool Initialize() override;
  void Uninitialize() override;
  bool Start() override;
  void Stop() override;

  // Device thread: one PortAudio callback; false once the stream should end.
  bool OnDeviceCallback(int* out, int frames);
  void OnStreamFinished();

  // What the callbacks reach the unit through. An abandoned stream keeps
  // its (leaked) context with no unit in it, so a late callback finds none.
  struct Context {
    std::atomic<LPortAudioOutputUnit*> unit;
  };

 private:
  // Abandons the stream after a teardown call that never returned.
  void Abandon();

  int m_device = -1;
  int m_deviceChannels = 0;
  int m_deviceRate = 0;
  double m_latency = 0;
  void* m_stream = nullptr;
  Context* m_context;
  LBoundedRunner m_teardown;
  std::atomic<bool> m_stopping{true};  // set before any stop we ask for
};
