// From spectral lines to samples: alias reduction, IMDCT with overlap-add,
// frequency inversion (11172-3 2.4.3.4.9 and 2.4.3.4.10) and the polyphase
// synthesis filter bank (11172-3 2.4.3.2.2).
#pragma once

#include "soundfile/MP3SideInfo.h"

// Four floats that the vector unit handles as one (GCC and Clang vector
// extensions). Every lane does what the scalar code would do, operation for
// operation, so the results are the same bits.
using LMP3Float4 = float __attribute__((vector_size(16)));

// One channel's granule after the hybrid filter bank: 18 time slots of 32
// subband samples, kept four slots at a time ([slot / 4][subband][slot % 4])
// so that the synthesis matrixes four slots at once. Slots 18 and 19 are
// padding and stay zero.
struct LMP3SubbandSlots {
  LMP3Float4 group[5][32] = {};
};

// IMDCT state of both channels: the second halves of the last granule.
class LMP3Hybrid {
 public:
  LMP3Hybrid();
  void Reset();
  // xr: one channel's 576 reordered lines (changed in place).
  void Process(float xr[576], const LMP3GranuleInfo& info, int channel, LMP3SubbandSlots& out);

 private:
  float m_overlap[2][576];
};

// Matrixing of the synthesis filter (11172-3 2.4.3.2.2) for four time slots:
// v[i] = sum over k of cos((16 + i)(2k + 1) pi / 64) s[k], for i = 0 to 63.
void LMP3Matrixing(const LMP3Float4 s[32], LMP3Float4 v[64]);

class LMP3PolyphaseSynth {
 public:
  LMP3PolyphaseSynth() { Reset(); }
  void Reset();
  // One granule's 18 slots per channel to 18 * 32 frames, interleaved when
  // stereo; each sample is the window sum truncated toward zero, not clipped.
  void Synthesize(const LMP3SubbandSlots* channels, int* out, bool stereo);

 private:
  void Window(const float* v, int* out, int channels) const;

  // History of V vectors per channel, the newest at m_offset; the windows
  // read the 16 newest (1024 values).
  static constexpr int kHistory = 2048;
  static constexpr int kKept = 960;
  alignas(16) float m_v[2][kHistory];
  int m_offset;
};
