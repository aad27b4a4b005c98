#include "soundfile/BufferUtils.h"

#include <algorithm>
#include <cstring>

int GetBufferPeak(const int* buffer, int frames, unsigned char channels) {
  const int n = frames * channels;
  // A plain min/max loop: the compiler vectorises it.
  int hi = 0, lo = 0;
  for (int i = 0; i < n; ++i) {
    hi = std::max(hi, buffer[i]);
    lo = std::min(lo, buffer[i]);
  }
  // -INT_MIN is not representable; samples never come near it, but stay defined.
  const int neg = lo == (-2147483647 - 1) ? 2147483647 : -lo;
  return hi > neg ? hi : neg;
}

namespace {
// Sums (s >> 5)^2 split into its low 13 bits and the rest, so that thousands of
// near-full-scale squares fit in two 32-bit sums; the mean is then rebuilt in
// 1/8192 steps. Squares are taken modulo 2^32 (unsigned) to stay defined.
unsigned int MeanSquareStrided(const int* buffer, int count, int stride) {
  if (count < 1) return 0;
  unsigned int low = 0, high = 0;
  for (int i = 0; i < count; ++i) {
    const int v = buffer[static_cast<long>(i) * stride] >> 5;
    const unsigned int sq = static_cast<unsigned int>(v) * static_cast<unsigned int>(v);
    low += sq & 8191u;
    high += static_cast<unsigned int>(static_cast<int>(sq) >> 13);
  }
  const unsigned int total = (low >> 13) + high;
  const unsigned int n = static_cast<unsigned int>(count);
  return (total / n) * 8192u + ((total % n) * 8192u) / n;
}
}  // namespace

unsigned int GetBufferMeanSquare(const int* buffer, int frames, unsigned char channels) {
  return MeanSquareStrided(buffer, frames * channels, 1);
}

int GetBufferMeanSquareChan(unsigned char channel, const int* buffer, int frames, unsigned char channels) {
  if (frames < 1 || channel >= channels) return 0;
  if (channels == 1) return static_cast<int>(GetBufferMeanSquare(buffer, frames, 1));
  return static_cast<int>(MeanSquareStrided(buffer + channel, frames, channels));
}

void GainAudioBufferQuick(int factor, int* buffer, int count) {
  // Products wrap like the 32-bit hardware multiply would; computed unsigned
  // so the wrap is defined.
  auto scale = [factor](int s) {
    return static_cast<int>(static_cast<unsigned int>(factor) * static_cast<unsigned int>(s)) >> 9;
  };
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    buffer[i] = scale(buffer[i]);
    buffer[i + 1] = scale(buffer[i + 1]);
    buffer[i + 2] = scale(buffer[i + 2]);
    buffer[i + 3] = scale(buffer[i + 3]);
  }
  for (; i < count; ++i) buffer[i] = scale(buffer[i]);
}

void ClearAudioBuffer(int* buffer, int frames, unsigned char channels) {
  const long n = static_cast<long>(frames) * channels;
  if (n > 0) std::memset(buffer, 0, sizeof(int) * static_cast<size_t>(n));
}
