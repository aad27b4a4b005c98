// Sounds held whole in memory: a click sound read once, then only copied.
#pragma once

#include <vector>

#include "soundfile/SoundSource.h"

// Seek and read over samples in memory; the peak is the samples' own.
class LMemorySound : public LSoundSourceBase {
 public:
  LMemorySound(int rate, unsigned char channels, std::vector<int> samples);
  void Read(int* buffer, int samples) override;
  int GetPositionSample() const override { return m_position; }
  int GetEndSample() const override { return m_frames; }
  void Seek(int sample) override;
  // Answers kMsgReadPeak with the whole sound's peak.
  bool ControlMessage(int message, long* value) override;

 private:
  std::vector<int> m_samples;
  int m_frames = 0;
  int m_position = 0;
};

// The first `frames` frames of the sound, read from its start in
// kMaxReadFrames pieces; the sound is left at its start again.
std::vector<int> LReadFrames(const LSoundSource& sound, int frames, int channels);

// The sound read once from its start to its end into a new LMemorySound:
// the same samples at every later read, without the file reads and the
// processing of each play, and with its true peak (GetPeak of a file or a
// gain is only a bound, and a loose one). The sound itself when it carries
// an error or holds more than maxSamples ints.
LSoundSource LHoldInMemory(const LSoundSource& sound, long maxSamples);
