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

bool AllZero(const float* in) {
  for (int k = 0; k < 18; ++k)
    if (in[k] != 0.0f) return false;
  return true;
}

// Each output sums its 18 products in order of k, the loops turned so that
// the sums advance together; 18 of the 36 outputs follow by symmetry.
void ImdctLong(const float* in, const float* window, float out[36], const LMP3LookupTables& t) {
  float sum[18] = {};
  for (int k = 0; k < 18; ++k)
    for (int j = 0; j < 18; ++j) sum[j] += in[k] * t.imdctLong[k][j];
  for (int i = 0; i < 9; ++i) {
    out[i] = sum[i] * window[i];
    out[17 - i] = -sum[i] * window[17 - i];
    out[18 + i] = sum[9 + i] * window[18 + i];
    out[35 - i] = sum[9 + i] * window[35 - i];
  }
}

// Three 12-point transforms overlapped into the middle of 36 samples.
void ImdctShort(const float* in, float out[36], const LMP3LookupTables& t) {
  std::memset(out, 0, sizeof(float) * 36);
  for (int w = 0; w < 3; ++w) {
    float sum[12] = {};
    for (int k = 0; k < 6; ++k)
      for (int i = 0; i < 12; ++i) sum[i] += in[3 * k + w] * t.imdctShort[k][i];
    for (int i = 0; i < 12; ++i) out[6 + 6 * w + i] += sum[i] * t.window[2][i];
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
    if (AllZero(in)) {
      // Most high subbands are empty: the transform of zeros is zeros.
      std::memset(y, 0, sizeof y);
    } else if (longSubband) {
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

namespace {

// DCT-II, X[n] = sum over k of x[k] cos(pi n (2k + 1) / 2N), by splitting
// into even outputs (a half-size DCT of x[k] + x[N-1-k]) and odd ones (sums
// of neighbours of a half-size DCT of (x[k] - x[N-1-k]) / 2cos(pi (2k+1) / 2N)).
template <int N>
void Dct(const float* x, float* out, const float* factors) {
  if constexpr (N == 1) {
    out[0] = x[0];
  } else {
    constexpr int h = N / 2;
    const float* f = factors + 32 - N;
    float sums[h], differences[h], even[h], odd[h + 1];
    for (int k = 0; k < h; ++k) {
      sums[k] = x[k] + x[N - 1 - k];
      differences[k] = (x[k] - x[N - 1 - k]) * f[k];
    }
    Dct<h>(sums, even, factors);
    Dct<h>(differences, odd, factors);
    odd[h] = 0.0f;
    for (int r = 0; r < h; ++r) {
      out[2 * r] = even[r];
      out[2 * r + 1] = odd[r] + odd[r + 1];
    }
  }
}

}  // namespace

void LMP3Matrixing(const float s[32], float v[64]) {
  float x[32];
  Dct<32>(s, x, LMP3LookupTables::Get().dctFactor);
  // cos(m (2k+1) pi / 64) for m = 16 + i folds back onto the DCT's 0..31:
  // m = 32 gives 0, m = 64 - n and m = 64 + n give -X[n].
  for (int i = 0; i < 16; ++i) v[i] = x[16 + i];
  v[16] = 0.0f;
  for (int i = 17; i < 48; ++i) v[i] = -x[48 - i];
  v[48] = -x[0];
  for (int i = 49; i < 64; ++i) v[i] = -x[i - 48];
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
    LMP3Matrixing(s, v);
    // Windowing: sample j = sum over m of D[j + 32m] V[j + 64m (+32 for odd m)].
    float sum[32] = {};
    for (int m = 0; m < 16; ++m) {
      const float* d = t.synthesisWindow + 32 * m;
      const float* u = v + 64 * m + ((m & 1) ? 32 : 0);
      for (int j = 0; j < 32; ++j) sum[j] += d[j] * u[j];
    }
    for (int j = 0; j < 32; ++j) {
      // Legal streams stay within four times full scale; the clamp keeps a
      // corrupt one inside the source's declared peak (and inside int).
      const float x = sum[j] > kPeak ? kPeak : sum[j] < -kPeak ? -kPeak : sum[j];
      out[j * channels + ch] = static_cast<int>(x);
    }
  }
}
