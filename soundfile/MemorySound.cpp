#include "soundfile/MemorySound.h"

#include <algorithm>

#include "soundfile/BufferUtils.h"

LMemorySound::LMemorySound(int rate, unsigned char channels, std::vector<int> samples)
    : LSoundSourceBase(rate, channels, 0), m_samples(std::move(samples)) {
  m_frames = static_cast<int>(m_samples.size() / m_channels);
  m_peak = GetBufferPeak(m_samples.data(), m_frames, m_channels);
}

void LMemorySound::Read(int* buffer, int samples) {
  const int have = std::clamp(m_frames - m_position, 0, samples);
  std::copy_n(m_samples.begin() + static_cast<long>(m_position) * m_channels, static_cast<long>(have) * m_channels,
              buffer);
  std::fill_n(buffer + static_cast<long>(have) * m_channels, static_cast<long>(samples - have) * m_channels, 0);
  m_position += samples;
}

void LMemorySound::Seek(int sample) { m_position = std::clamp(sample, 0, m_frames); }

bool LMemorySound::ControlMessage(int message, long* value) {
  if (message != kMsgReadPeak) return false;
  *value = m_peak;
  return true;
}

LSoundSource LHoldInMemory(const LSoundSource& sound, long maxSamples) {
  const int channels = sound->GetChannels();
  const int frames = sound->GetEndSample();
  if (sound->GetError() != 0 || frames < 0 || static_cast<long>(frames) * channels > maxSamples) return sound;
  return LSoundSource(new LMemorySound(sound->GetSampleRate(), static_cast<unsigned char>(channels),
                                       LReadFrames(sound, frames, channels)));
}

std::vector<int> LReadFrames(const LSoundSource& sound, int frames, int channels) {
  std::vector<int> samples(static_cast<size_t>(frames) * channels);
  sound->Seek(0);
  for (int done = 0; done < frames;) {
    const int n = std::min(kMaxReadFrames, frames - done);
    sound->Read(samples.data() + static_cast<size_t>(done) * channels, n);
    done += n;
  }
  sound->Seek(0);
  return samples;
}
