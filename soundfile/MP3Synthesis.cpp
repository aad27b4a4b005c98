#include "soundfile/MP3Synthesis.h"

#include <cstring>

#include "soundfile/MP3LookupTables.h"
#include "soundfile/MP3Tables.h"

// Worker code: allocates nothing; everything lives in the objects.

namespace {

constexpr float kPeak = 2097152.0f;

void AliasReduce(float* xr, int boundaries, const LMP3LookupTables& t) {
  for (int sb = 1; sb <= boundaries; ++sb) {
    float* lower = xr + 18 * sb - 1;
    float* upper = xr + 18 * sb;
    for (int i = 0; i < 8; ++i) {
      const float a = lower[-i], b = upper[i];
      lower[-i] = a * t.aliasCs[i] - b * t.aliasCa[i];
      upper[i] = b * t.aliasCs[i] + a * t.aliasCa[i];
    }
  }
}

void ImdctLong(const float* in, const float* window, float out[36], const LMP3LookupTables& t) {
  for (int i = 0; i < 36; ++i) {
    float sum = 0.0f;
    for (int k = 0; k < 18; ++k) sum += in[k] * t.imdctLong[i][k];
    out[i] = sum * window[i];
  }
}

// Three 12-point transforms overlapped into the middle of 36 samples.
void ImdctShort(const float* in, float out[36], const LMP3LookupTables& t) {
  std::memset(out, 0, sizeof(float) * 36);
  for (int w = 0; w < 3; ++w) {
    for (int i = 0; i < 12; ++i) {
      float sum = 0.0f;
      for (int k = 0; k < 6; ++k) sum += in[3 * k + w] * t.imdctShort[i][k];
      out[6 + 6 * w + i] += sum * t.window[2][i];
    }
  }
}

}  // namespace

void LMP3Hybrid::Reset() { std::memset(m_overlap, 0, sizeof m_overlap); }

void LMP3Hybrid::Process(float xr[576], const LMP3GranuleInfo& info, int channel, float out[18][32]) {
  const LMP3LookupTables& t = LMP3LookupTables::Get();
  const bool isShort = info.IsShort();
  // Pure short blocks have no aliasing butterflies; mixed ones only between
  // the two long subbands and the first short one.
  if (!isShort)
    AliasReduce(xr, 31, t);
  else if (info.mixedBlock)
    AliasReduce(xr, 1, t);

  float* overlap = m_overlap[channel & 1];
  float y[36];
  for (int sb = 0; sb < 32; ++sb) {
    const float* in = xr + 18 * sb;
    const bool longSubband = !isShort || (info.mixedBlock && sb < 2);
    if (longSubband) {
      const int type = isShort ? 0 : info.blockType & 3;
      ImdctLong(in, t.window[type == 2 ? 0 : type], y, t);
    } else {
      ImdctShort(in, y, t);
    }
    float* keep = overlap + 18 * sb;
    for (int i = 0; i < 18; ++i) {
      float v = y[i] + keep[i];
      // Frequency inversion: odd time samples of odd subbands change sign.
      if ((sb & 1) && (i & 1)) v = -v;
      out[i][sb] = v;
      keep[i] = y[i + 18];
    }
  }
}

void LMP3PolyphaseSynth::Reset() {
  std::memset(m_v, 0, sizeof m_v);
  m_offset = 1088;
}

void LMP3PolyphaseSynth::Synthesize(const float* subbands, int* out, bool stereo) {
  const LMP3LookupTables& t = LMP3LookupTables::Get();
  const int channels = stereo ? 2 : 1;
  m_offset -= 64;
  if (m_offset < 0) {
    for (int ch = 0; ch < channels; ++ch) std::memcpy(m_v[ch] + 1024, m_v[ch], sizeof(float) * 1024);
    m_offset += 1024;
  }
  for (int ch = 0; ch < channels; ++ch) {
    const float* s = subbands + 32 * ch;
    float* v = m_v[ch] + m_offset;
    for (int i = 0; i < 64; ++i) {
      float sum = 0.0f;
      for (int k = 0; k < 32; ++k) sum += t.synthesis[i][k] * s[k];
      v[i] = sum;
    }
    for (int j = 0; j < 32; ++j) {
      float sum = 0.0f;
      for (int m = 0; m < 16; ++m)
        sum += t.synthesisWindow[j + 32 * m] * v[j + 64 * m + ((m & 1) ? 32 : 0)];
      // Legal streams stay within four times full scale; the clamp keeps a
      // corrupt one inside the source's declared peak (and inside int).
      sum = sum > kPeak ? kPeak : sum < -kPeak ? -kPeak : sum;
      out[j * channels + ch] = static_cast<int>(sum);
    }
  }
}
