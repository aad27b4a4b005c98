#include "soundfile/MonoFileSource.h"

#include "soundfile/BufferUtils.h"

LMonoFileSource::LMonoFileSource(LReadFile& file, int sampleRate, int peak) : LSoundSourceBase(sampleRate, 1, peak) {
  m_file.TakeFrom(file);
  if (!m_file.IsOpen()) m_error = kSourceOpenFailed;
  // A RIFF file cannot be larger than 4 GiB.
  const int64_t at = m_file.Tell();
  m_dataStart = (at < 0 || at >= (int64_t(1) << 32)) ? 0 : static_cast<uint32_t>(at);
}

uint32_t LMonoFileSource::BytesToEndOfFile() const {
  const int64_t size = m_file.Size();
  if (size < 0 || size <= int64_t(m_dataStart)) return 0;
  const int64_t bytes = size - m_dataStart;
  return bytes >= (int64_t(1) << 32) ? 0xFFFFFFFFu : static_cast<uint32_t>(bytes);
}

int LMonoFileSource::ClampFrames(int64_t frames) {
  if (frames < 0) return 0;
  return frames > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(frames);
}

void LMonoFileSource::Read(int* buffer, int samples) {
  // Worker-thread code: allocates nothing.
  if (samples <= 0) return;
  // The position moves by the whole request at once (saturating at the int
  // range); only the part of it inside [0, end) is decoded.
  const int64_t from = m_position;
  const int64_t to = from + samples;
  m_position = to > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(to);
  const int64_t first = from < 0 ? 0 : from;
  const int64_t last = to < m_end ? to : m_end;
  const int lead = static_cast<int>(first - from < samples ? first - from : samples);
  const int wanted = last > first ? static_cast<int>(last - first) : 0;

  ClearAudioBuffer(buffer, lead, 1);
  const int produced = Decode(buffer + lead, wanted);
  ClearAudioBuffer(buffer + lead + produced, samples - lead - produced, 1);
}
