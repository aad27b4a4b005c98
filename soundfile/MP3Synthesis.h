// From spectral lines to samples: alias reduction, IMDCT with overlap-add,
// frequency inversion (11172-3 2.4.3.4.9 and 2.4.3.4.10) and the polyphase
// synthesis filter bank (11172-3 2.4.3.2.2).
#pragma once

#include "soundfile/MP3SideInfo.h"

// IMDCT state of both channels: the second halves of the last granule.
class LMP3Hybrid {
 public:
  LMP3Hybrid() { Reset(); }
  void Reset();
  // xr: one channel's 576 reordered lines (changed in place). out: 18 time
  // slots of 32 subband samples.
  void Process(float xr[576], const LMP3GranuleInfo& info, int channel, float out[18][32]);

 private:
  float m_overlap[2][576];
};

// Matrixing of the synthesis filter (11172-3 2.4.3.2.2):
// v[i] = sum over k of cos((16 + i)(2k + 1) pi / 64) s[k], for i = 0 to 63.
void LMP3Matrixing(const float s[32], float v[64]);

class LMP3PolyphaseSynth {
 public:
  LMP3PolyphaseSynth() { Reset(); }
  void Reset();
  // 32 subband samples per channel (the right channel's 32 follow the
  // left's) to 32 frames, interleaved when stereo; each sample is the window
  // sum truncated toward zero, not clipped.
  void Synthesize(const float* subbands, int* out, bool stereo);

 private:
  // History of V vectors per channel, the newest at m_offset.
  float m_v[2][2048];
  int m_offset;
};
