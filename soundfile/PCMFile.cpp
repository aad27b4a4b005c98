#include "soundfile/PCMFile.h"

#include <cmath>
#include <cstring>

int LSFF32::Convert(const uint8_t* p) {
  const uint32_t bits = LReadLE32(p);
  float x;
  std::memcpy(&x, &bits, 4);
  const float v = x * 524288.0f;
  // Magnitudes of 4096.0 and beyond have no 32-bit result: saturate; NaN is silence.
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0f) return 2147483647;
  if (v <= -2147483648.0f) return -2147483647 - 1;
  return static_cast<int>(v);
}

namespace {

// position + frames, held at the int limit: a seek close to it followed by a
// read must not overflow.
int AdvanceFrames(int position, int frames) {
  const int64_t to = int64_t(position) + frames;
  return to > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(to);
}

}  // namespace

template <typename T>
void ConvertSamplesIn(int* out, const uint8_t* in, int samples) {
  int i = 0;
  for (; i + 8 <= samples; i += 8) {
    for (int k = 0; k < 8; ++k) out[i + k] = T::Convert(in + (i + k) * T::kBytes);
  }
  for (; i < samples; ++i) out[i] = T::Convert(in + i * T::kBytes);
}

template void ConvertSamplesIn<LSFU8>(int*, const uint8_t*, int);
template void ConvertSamplesIn<LSF16>(int*, const uint8_t*, int);
template void ConvertSamplesIn<LSFLE24>(int*, const uint8_t*, int);
template void ConvertSamplesIn<LSF32>(int*, const uint8_t*, int);
template void ConvertSamplesIn<LSFF32>(int*, const uint8_t*, int);

LSRCPCMFileBase::LSRCPCMFileBase(LReadFile& file, int sampleRate, unsigned char channels, int peak, int bytesPerSample,
                                 unsigned int dataBytes)
    : LSoundSourceBase(sampleRate, channels, peak), m_bytesPerSample(bytesPerSample) {
  m_file.TakeFrom(file);
  if (!m_file.IsOpen()) m_error = kSourceOpenFailed;
  const int64_t start = m_file.Tell();
  m_dataStart = (start < 0 || start >= (int64_t(1) << 32)) ? 0 : static_cast<uint32_t>(start);
  m_bytesPerFrame = static_cast<uint32_t>(channels) * static_cast<uint32_t>(bytesPerSample);
  if (m_bytesPerFrame == 0) {
    m_error = kSourceInvalid;
    m_bytesPerFrame = 2;
  }
  if (dataBytes > 0xFFFFFF00u) {
    // A streaming writer's placeholder for an unknown length: use the file.
    const int64_t size = m_file.Size();
    const uint32_t fileSize = (size < 0 || size >= (int64_t(1) << 32)) ? 0 : static_cast<uint32_t>(size);
    dataBytes = fileSize > m_dataStart ? fileSize - m_dataStart : 0;
  }
  // Above 2^31 frames the end reads as negative, i.e. unbounded.
  m_end = static_cast<int>(dataBytes / m_bytesPerFrame);
}

void LSRCPCMFileBase::Seek(int sample) {
  m_position = sample;
  int64_t frame = 0;
  if (sample > 0) frame = (m_end >= 0 && m_end < sample) ? m_end : sample;
  m_file.Seek(int64_t(m_dataStart) + frame * int64_t(m_bytesPerFrame));
}

template <typename T>
LSRCPCMFile<T>::LSRCPCMFile(LReadFile& file, int sampleRate, unsigned char channels, unsigned int dataBytes)
    : LSRCPCMFileBase(file, sampleRate, channels, T::kPeak, T::kBytes, dataBytes),
      m_staging(new uint8_t[static_cast<size_t>(m_channels) * T::kBytes * kMaxReadFrames]) {}

template <typename T>
void LSRCPCMFile<T>::Read(int* buffer, int samples) {
  // Requests above the staging size are served in pieces.
  while (samples > kMaxReadFrames) {
    ReadPiece(buffer, kMaxReadFrames);
    buffer += static_cast<long>(kMaxReadFrames) * m_channels;
    samples -= kMaxReadFrames;
  }
  ReadPiece(buffer, samples);
}

template <typename T>
void LSRCPCMFile<T>::ReadPiece(int* buffer, int n) {
  // Worker-thread code: no allocation, one file read per call.
  if (n <= 0) return;
  const int ch = m_channels;
  if (m_position < 0) {
    const int k = n < -m_position ? n : -m_position;
    ClearFrames(buffer, k);
    m_position += k;
    n -= k;
    buffer += static_cast<long>(k) * ch;
    if (n == 0) return;
  }
  if (m_end >= 0 && m_position >= m_end) {
    ClearFrames(buffer, n);
    m_position = AdvanceFrames(m_position, n);
    return;
  }
  const int m = m_end < 0 ? n : (n < m_end - m_position ? n : m_end - m_position);
  const int bytes = m_file.Read(m_staging.get(), static_cast<int>(m * m_bytesPerFrame));
  const int samplesGot = bytes / T::kBytes;
  const int framesGot = samplesGot / ch;
  ConvertSamplesIn<T>(buffer, m_staging.get(), framesGot * ch);
  m_position = AdvanceFrames(m_position, framesGot);
  n -= framesGot;
  buffer += static_cast<long>(framesGot) * ch;
  if (n == 0) return;
  if (m_end >= 0 && m_position >= m_end) {
    ClearFrames(buffer, n);
    m_position = AdvanceFrames(m_position, n);
    return;
  }
  // The data ran out early (a truncated file): deliver silence rather than
  // leave the caller's buffer stale, and put the file back on a frame
  // boundary so a later read cannot come out shifted by a partial frame.
  ClearFrames(buffer, n);
  if (bytes % static_cast<int>(m_bytesPerFrame) != 0)
    m_file.Seek(int64_t(m_dataStart) + int64_t(m_position) * m_bytesPerFrame);
}

template class LSRCPCMFile<LSFU8>;
template class LSRCPCMFile<LSF16>;
template class LSRCPCMFile<LSFLE24>;
template class LSRCPCMFile<LSF32>;
template class LSRCPCMFile<LSFF32>;
