// The device side of the audio output, kept behind a small interface so that
// the ring buffer, volume and metering logic above it do not depend on the
// platform: PortAudio on a real machine, a capture device that writes a WAV
// file on machines without a sound card (and in tests).
#pragma once

#include <memory>

// The render callback the device thread calls.
class LAudioRenderer {
 public:
  virtual ~LAudioRenderer() = default;
  // Device thread: allocates nothing, never blocks. Writes up to frames
  // frames of interleaved 32-bit samples in the stream's channel layout at
  // out; *bytes holds the buffer's size on entry and what was written on
  // return. Returns the frames taken from the queue (0 on an under-run).
  // continued: these frames follow earlier ones of the same device
  // callback, so they play later than the callback's time says.
  virtual int Render(int* out, int frames, unsigned long* bytes, bool continued) = 0;
  // Device thread: the device stopped working (unplugged, write error). Only
  // sets a flag and wakes a waiting thread.
  virtual void DeviceFailed() {}
};

class LAudioOutputUnit {
 public:
  // Frames the device asks for per callback.
  static constexpr int kPeriodFrames = 512;

  virtual ~LAudioOutputUnit() = default;

  // Selects a device; false when it does not exist or cannot be used.
  virtual bool Open(unsigned int deviceId) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Output channels of the open device.
  virtual int DeviceChannels() const = 0;
  // The rate the open device runs at, in frames a second; a stream of
  // another rate is converted by the back end (or refused). The stream's
  // own rate where the device's is unknown.
  virtual int NativeRate() const { return m_rate; }
  // The rate a stream wanted at `wanted` frames a second must be rendered
  // at on the open device: `wanted` itself where the device (or its server)
  // converts, the device's own rate where it takes no other (JACK).
  virtual int PlayableRate(int wanted) const { return wanted; }
  // Frames between the render callback and the listener, as far as the
  // back end tells (0 where it does not).
  virtual int LatencyFrames() const { return 0; }
  // True for a device that plays on through an under-run (silence, on its
  // own clock); false for one that waits for audio (the un-paced capture).
  virtual bool PlaysThroughUnderRuns() const { return true; }

  // Stream format: interleaved 32-bit signed integers.
  void SetFormat(int sampleRate, int channels);
  int StreamRate() const { return m_rate; }
  int StreamChannels() const { return m_channels; }
  // Device channels that play stream channels 0 and 1.
  void SetChannelMap(int left, int right);
  void SetRenderer(LAudioRenderer* renderer) { m_renderer = renderer; }

  // Creates the device stream for the current format and map.
  virtual bool Initialize() = 0;
  virtual void Uninitialize() = 0;
  virtual bool Start() = 0;
  // Returns once the device thread no longer calls the renderer.
  virtual void Stop() = 0;

 protected:
  // Device channels the stream occupies: enough for the map, no more than
  // the device has.
  int OpenedChannels() const;
  // Sizes the staging buffer; never called from the device thread.
  void PrepareStaging();
  // Device thread: renders one period into device-channel layout at out
  // (OpenedChannels() interleaved), zero-filling whatever the renderer did
  // not deliver. Returns the frames delivered.
  int RenderDevice(int* out, int frames, int* deliveredFrames);
  // Device thread: a silent period in device-channel layout.
  void RenderSilence(int* out, int frames) const;
  // Device thread: tells the renderer that the device is gone.
  void ReportFailure() {
    if (m_renderer) m_renderer->DeviceFailed();
  }

  int m_rate = 44100;
  int m_channels = 2;
  int m_left = 0;
  int m_right = 1;
  LAudioRenderer* m_renderer = nullptr;

 private:
  std::unique_ptr<int[]> m_staging;
  size_t m_stagingEntries = 0;
  int m_stagingFrames = 0;
};

// The capture device when MORVANE_AUDIO_CAPTURE names a file, else the unit
// that plays every device of the list (PipeWire's and PortAudio's).
std::unique_ptr<LAudioOutputUnit> LAudioOutputUnitCreate();
