// A virtual sound card for machines without one: its own thread calls the
// render callback period by period and appends what it receives to a WAV
// file of 32-bit integers. Paced by the clock it behaves like a real device
// (and plays silence through an under-run); un-paced it runs as fast as the
// queue is filled and records only what was taken from the queue, so tests
// get the exact stream quickly.
#pragma once

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>

#include "audio/OutputUnit.h"
#include "audio/PlayDevice.h"

class LCaptureOutputUnit : public LAudioOutputUnit {
 public:
  // Frames a paced callback asks for. Nobody listens to a file, so its
  // latency does not matter: a long period wakes the machine a quarter as
  // often as a sound card's would. The un-paced device asks for 512.
  static constexpr int kCapturePeriodFrames = 4 * kPeriodFrames;

  // MORVANE_AUDIO_CAPTURE names the file the program writes instead of playing.
  static bool IsSelected();
  static std::string Path();
  // Lists the capture device alone, as the default output (identifier 0).
  static LSoundPlayDeviceQuery& DeviceQuery();

  // An empty path: the file MORVANE_AUDIO_CAPTURE names when the device is
  // opened (at Play).
  LCaptureOutputUnit(std::string path, bool paced, int deviceChannels = 2);
  ~LCaptureOutputUnit() override;

  // Creates (truncates) the file; false for any identifier but 0 or when the
  // file cannot be written.
  bool Open(unsigned int deviceId) override;
  void Close() override;
  bool IsOpen() const override { return m_file != nullptr; }
  int DeviceChannels() const override { return m_deviceChannels; }
  bool PlaysThroughUnderRuns() const override { return m_paced; }
  bool Initialize() override;
  void Uninitialize() override {}
  bool Start() override;
  void Stop() override;

  // Keeps at most frames frames in the file (0: no limit), like a recorder
  // stopped after a set time; the device itself runs on.
  void SetFrameLimit(long frames) { m_limit.store(frames, std::memory_order_relaxed); }
  // Frames appended so far (any thread).
  long FramesWritten() const { return m_frames.load(std::memory_order_relaxed); }
  // Render callbacks made so far (any thread).
  long Periods() const { return m_periods.load(std::memory_order_relaxed); }

  // The device thread's loop.
  void RunDevice(class LSessionThread& thread);

 private:
  void WriteHeader();

  std::string m_path;
  bool m_paced;
  int m_deviceChannels;
  FILE* m_file = nullptr;
  int m_fileChannels = 0;
  int m_fileRate = 0;
  std::atomic<long> m_frames{0};
  std::atomic<long> m_limit{0};
  std::atomic<long> m_periods{0};
  std::unique_ptr<int[]> m_period;
  std::unique_ptr<class LSessionThread> m_thread;
};
