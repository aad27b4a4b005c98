// Sources, a scripted device list, a hand-driven output unit and a capture
// file reader for the audio tests.
#pragma once

#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "audio/OutputUnit.h"
#include "audio/PlayDevice.h"
#include "soundfile/SoundSource.h"

namespace test {

// Frame f holds (f + 1) on channel 0 and -(f + 1) on the others, so every
// sample tells where it came from; zeros past the end.
class CountingSource : public LSoundSourceBase {
 public:
  CountingSource(int frames, unsigned char channels, int rate, int peak)
      : LSoundSourceBase(rate, channels, peak), m_end(frames) {}
  static int Value(int frame, int channel) { return channel == 0 ? frame + 1 : -(frame + 1); }
  void Read(int* buffer, int samples) override {
    for (int i = 0; i < samples; ++i, ++m_position)
      for (int c = 0; c < m_channels; ++c)
        buffer[i * m_channels + c] = m_position < m_end ? Value(m_position % 500000, c) : 0;
  }
  int GetPositionSample() const override { return m_position; }
  int GetEndSample() const override { return m_end; }
  void Seek(int sample) override { m_position = sample; }

 private:
  int m_end;
  int m_position = 0;
};

inline LSoundSource Counting(int frames, unsigned char channels = 2, int rate = 44100, int peak = 524272) {
  return LSoundSource(new CountingSource(frames, channels, rate, peak));
}
constexpr int kEndless = INT_MAX / 2;

class ScriptedDevices : public LSoundPlayDeviceQuery {
 public:
  ScriptedDevices(std::vector<Device> devices, unsigned int defaultId, bool complete = true)
      : m_default(defaultId), m_devices(std::move(devices)), m_complete(complete) {
    LSoundPlayDeviceSetQuery(this);
  }
  ~ScriptedDevices() override { LSoundPlayDeviceSetQuery(nullptr); }
  bool Enumerate(std::vector<Device>& devices) override { return ++whole, devices = m_devices, m_complete; }
  // The first `leading` devices are the cheap ones, when set.
  void EnumerateLeading(std::vector<Device>& devices) override {
    if (leading < 0) return (void)Enumerate(devices);
    devices.assign(m_devices.begin(), m_devices.begin() + std::min<size_t>(leading, m_devices.size()));
  }
  int leading = -1;
  int whole = 0;  // whole lists asked for
  unsigned int DefaultOutputDevice() override { return m_default; }
  // A device plugged in or pulled out.
  void Set(std::vector<Device> devices) { m_devices = std::move(devices); }
  unsigned int m_default;

 private:
  std::vector<Device> m_devices;
  bool m_complete;
};

// No thread: a test calls the render path itself.
class ManualUnit : public LAudioOutputUnit {
 public:
  explicit ManualUnit(int deviceChannels) : m_deviceChannels(deviceChannels) {}
  bool Open(unsigned int id) override { return m_open = id != kNoPlayDevice; }
  void Close() override { m_open = false; }
  bool IsOpen() const override { return m_open; }
  int DeviceChannels() const override { return m_deviceChannels; }
  bool Initialize() override { return PrepareStaging(), true; }
  void Uninitialize() override {}
  bool Start() override { return running = true; }
  void Stop() override { running = false; }
  int Opened() const { return OpenedChannels(); }
  int Period(int* out, int frames, int* delivered) { return RenderDevice(out, frames, delivered); }
  int LatencyFrames() const override { return latency; }
  bool running = false;
  int latency = 0;  // declared, in frames

 private:
  int m_deviceChannels;
  bool m_open = false;
};

// The samples of a WAV file written by the capture device (44-byte header,
// 32-bit integers).
struct Capture {
  int channels = 0, rate = 0;
  std::vector<int> samples;
  int Frames() const { return channels ? static_cast<int>(samples.size()) / channels : 0; }
};

inline Capture ReadCapture(const std::string& path) {
  Capture c;
  std::ifstream in(path, std::ios::binary);
  unsigned char h[44];
  if (!in.read(reinterpret_cast<char*>(h), 44) || std::memcmp(h, "RIFF", 4) || std::memcmp(h + 36, "data", 4)) return c;
  std::memcpy(&c.channels, h + 22, 2);
  std::memcpy(&c.rate, h + 24, 4);
  for (int s; in.read(reinterpret_cast<char*>(&s), 4);) c.samples.push_back(s);
  return c;
}

}  // namespace test
