#include "soundfile/MP3Synthesis.h"

#include <cstdint>
#include <cstring>

#include "soundfile/MP3LookupTables.h"
#include "soundfile/MP3Tables.h"

// Worker code: allocates nothing; everything lives in the objects.
//
// The vector loops below add the same products in the same order as a plain
// loop over each output would, so every output keeps its bits. Where work is
// skipped for inputs that are zero, only the sign of a zero can change, and
// no zero's sign reaches the integer samples.

namespace {

constexpr float kPeak = 2097152.0f;

LMP3Float4 Load4(const float* p) {
  LMP3Float4 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void Store4(float* p, LMP3Float4 v) { std::memcpy(p, &v, sizeof v); }

LMP3Float4 Reverse(LMP3Float4 v) { return __builtin_shufflevector(v, v, 3, 2, 1, 0); }

// The eight butterflies across each subband boundary, four at a time: the
// lines below the boundary are taken in reverse, as the butterflies pair them.
void AliasReduce(float* xr, int boundaries, const LMP3LookupTables& t) {
  const LMP3Float4 cs[2] = {Load4(t.aliasCs), Load4(t.aliasCs + 4)};
  const LMP3Float4 ca[2] = {Load4(t.aliasCa), Load4(t.aliasCa + 4)};
  for (int sb = 1; sb <= boundaries; ++sb) {
    for (int h = 0; h < 2; ++h) {
      float* lower = xr + 18 * sb - 4 - 4 * h;
      float* upper = xr + 18 * sb + 4 * h;
      const LMP3Float4 a = Reverse(Load4(lower)), b = Load4(upper);
      Store4(lower, Reverse(a * cs[h] - b * ca[h]));
      Store4(upper, b * cs[h] + a * ca[h]);
    }
  }
}

// The sums of the IMDCT and of the polyphase window: each output adds its
// products in the same order, four outputs to a vector here, eight in the
// AVX versions.
void ImdctSums(const float* in, const float (*rows)[24], float s[24]) {
  LMP3Float4 sum[5] = {};
  for (int k = 0; k < 18; ++k) {
#pragma GCC unroll 5
    for (int q = 0; q < 5; ++q) sum[q] += in[k] * Load4(rows[k] + 4 * q);
  }
  std::memcpy(s, sum, sizeof sum);
}

// Sample j of a slot: the sum over m of D[j + 32m] V[j + 64m (+32 for odd m)].
void WindowSums(const float* d, const float* v, float s[32]) {
  LMP3Float4 sum[8] = {};
  for (int m = 0; m < 16; ++m) {
    const float* u = v + 64 * m + ((m & 1) ? 32 : 0);
#pragma GCC unroll 8
    for (int q = 0; q < 8; ++q) sum[q] += Load4(d + 32 * m + 4 * q) * Load4(u + 4 * q);
  }
  std::memcpy(s, sum, sizeof sum);
}

#if defined(__x86_64__)
using LFloat8 = float __attribute__((vector_size(32)));

// Sums in named variables: GCC keeps those in registers.
__attribute__((target("avx"))) void ImdctSumsAvx(const float* in, const float (*rows)[24], float s[24]) {
  LFloat8 s0 = {}, s1 = {}, s2 = {}, r;
  for (int k = 0; k < 18; ++k) {
    const float x = in[k];
    const float* row = rows[k];
    std::memcpy(&r, row, sizeof r);
    s0 += x * r;
    std::memcpy(&r, row + 8, sizeof r);
    s1 += x * r;
    std::memcpy(&r, row + 16, sizeof r);
    s2 += x * r;
  }
  std::memcpy(s, &s0, sizeof s0);
  std::memcpy(s + 8, &s1, sizeof s1);
  std::memcpy(s + 16, &s2, sizeof s2);
}

__attribute__((target("avx"))) void WindowSumsAvx(const float* d, const float* v, float s[32]) {
  LFloat8 s0 = {}, s1 = {}, s2 = {}, s3 = {}, a, b;
  for (int m = 0; m < 16; ++m, d += 32) {
    const float* u = v + 64 * m + ((m & 1) ? 32 : 0);
    std::memcpy(&a, d, sizeof a);
    std::memcpy(&b, u, sizeof b);
    s0 += a * b;
    std::memcpy(&a, d + 8, sizeof a);
    std::memcpy(&b, u + 8, sizeof b);
    s1 += a * b;
    std::memcpy(&a, d + 16, sizeof a);
    std::memcpy(&b, u + 16, sizeof b);
    s2 += a * b;
    std::memcpy(&a, d + 24, sizeof a);
    std::memcpy(&b, u + 24, sizeof b);
    s3 += a * b;
  }
  std::memcpy(s, &s0, sizeof s0);
  std::memcpy(s + 8, &s1, sizeof s1);
  std::memcpy(s + 16, &s2, sizeof s2);
  std::memcpy(s + 24, &s3, sizeof s3);
}
#endif

struct LKernels {
  void (*imdctSums)(const float*, const float (*)[24], float*) = ImdctSums;
  void (*windowSums)(const float*, const float*, float*) = WindowSums;
  LKernels() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx")) imdctSums = ImdctSumsAvx, windowSums = WindowSumsAvx;
#endif
  }
};

// Chosen once for the processor.
const LKernels& Kernels() {
  static const LKernels kernels;
  return kernels;
}

// Whether the count (even) lines are all zero, either sign, by their bits.
bool AllZero(const float* in, int count) {
  uint64_t bits = 0;
  for (int k = 0; k < count; k += 2) {
    uint64_t pair;
    std::memcpy(&pair, in + k, sizeof pair);
    bits |= pair;
  }
  return (bits & 0x7fffffff7fffffffull) == 0;
}

// Lines from the returned one on are all zero.
int NonZeroEnd(const float* xr) {
  int end = 576;
  while (end > 0 && AllZero(xr + end - 4, 4)) end -= 4;
  while (end > 0 && xr[end - 1] == 0.0f) --end;
  return end;
}

// Each output sums its products in order of k, four outputs to a vector;
// 18 of the 36 outputs follow by symmetry.
void ImdctLong(const float* in, const float* window, float out[36], const LMP3LookupTables& t) {
  float s[24];
  Kernels().imdctSums(in, t.imdctLong, s);
  for (int i = 0; i < 9; ++i) {
    out[i] = s[i] * window[i];
    out[17 - i] = -s[i] * window[17 - i];
    out[18 + i] = s[9 + i] * window[18 + i];
    out[35 - i] = s[9 + i] * window[35 - i];
  }
}

// Three 12-point transforms overlapped into the middle of 36 samples.
void ImdctShort(const float* in, float out[36], const LMP3LookupTables& t) {
  std::memset(out, 0, sizeof(float) * 36);
  for (int w = 0; w < 3; ++w) {
    LMP3Float4 sum[3] = {};
    for (int k = 0; k < 6; ++k) {
      const float x = in[3 * k + w];
#pragma GCC unroll 3
      for (int q = 0; q < 3; ++q) sum[q] += x * Load4(t.imdctShort[k] + 4 * q);
    }
    float* y = out + 6 + 6 * w;
    for (int q = 0; q < 3; ++q) Store4(y + 4 * q, Load4(y + 4 * q) + sum[q] * Load4(t.window[2] + 4 * q));
  }
}

// The first half of y plus the kept second half of the last granule gives
// the subband's 18 slots; odd slots of odd subbands change sign (frequency
// inversion; times -1 is exact).
void OverlapAdd(const float y[36], float* keep, int sb, LMP3SubbandSlots& out) {
  const float odd = (sb & 1) ? -1.0f : 1.0f;
  const LMP3Float4 sign = {1.0f, odd, 1.0f, odd};
  for (int g = 0; g < 4; ++g) out.group[g][sb] = (Load4(y + 4 * g) + Load4(keep + 4 * g)) * sign;
  out.group[4][sb] = LMP3Float4{y[16] + keep[16], (y[17] + keep[17]) * odd, 0.0f, 0.0f};
  std::memcpy(keep, y + 18, sizeof(float) * 18);
}

// The transform of a subband of zeros.
constexpr float kZeroTransform[36] = {};

}  // namespace

LMP3Hybrid::LMP3Hybrid() {
  Kernels();
  Reset();
}

void LMP3Hybrid::Reset() { std::memset(m_overlap, 0, sizeof m_overlap); }

void LMP3Hybrid::Process(float xr[576], const LMP3GranuleInfo& info, int channel, LMP3SubbandSlots& out) {
  const LMP3LookupTables& t = LMP3LookupTables::Get();
  const bool isShort = info.IsShort();
  // Butterflies and subbands above the last non-zero line see only zeros.
  const int end = NonZeroEnd(xr);
  const int lastBoundary = (end + 7) / 18;
  const int activeSubbands = lastBoundary + 1 < 32 ? lastBoundary + 1 : 32;
  // Pure short blocks have no aliasing butterflies; mixed ones only between
  // the two long subbands and the first short one.
  if (!isShort)
    AliasReduce(xr, lastBoundary < 31 ? lastBoundary : 31, t);
  else if (info.mixedBlock)
    AliasReduce(xr, lastBoundary < 1 ? lastBoundary : 1, t);

  float* overlap = m_overlap[channel & 1];
  float y[36];
  for (int sb = 0; sb < 32; ++sb) {
    const float* in = xr + 18 * sb;
    const bool longSubband = !isShort || (info.mixedBlock && sb < 2);
    if (sb >= activeSubbands || AllZero(in, 18)) {
      // Most high subbands are empty: the transform of zeros is zeros.
      OverlapAdd(kZeroTransform, overlap + 18 * sb, sb, out);
      continue;
    }
    if (longSubband) {
      const int type = isShort ? 0 : info.blockType & 3;
      ImdctLong(in, t.window[type == 2 ? 0 : type], y, t);
    } else {
      ImdctShort(in, y, t);
    }
    OverlapAdd(y, overlap + 18 * sb, sb, out);
  }
}

namespace {

// DCT-II, X[n] = sum over k of x[k] cos(pi n (2k + 1) / 2N), by splitting
// into even outputs (a half-size DCT of x[k] + x[N-1-k]) and odd ones (sums
// of neighbours of a half-size DCT of (x[k] - x[N-1-k]) / 2cos(pi (2k+1) / 2N)).
template <int N>
void Dct(const LMP3Float4* x, LMP3Float4* out, const float* factors) {
  if constexpr (N == 1) {
    out[0] = x[0];
  } else {
    constexpr int h = N / 2;
    const float* f = factors + 32 - N;
    LMP3Float4 sums[h], differences[h], even[h], odd[h + 1];
    for (int k = 0; k < h; ++k) {
      sums[k] = x[k] + x[N - 1 - k];
      differences[k] = (x[k] - x[N - 1 - k]) * f[k];
    }
    Dct<h>(sums, even, factors);
    Dct<h>(differences, odd, factors);
    odd[h] = LMP3Float4{};
    for (int r = 0; r < h; ++r) {
      out[2 * r] = even[r];
      out[2 * r + 1] = odd[r] + odd[r + 1];
    }
  }
}

// The V vectors of count slots (lanes) into the history, the first slot's
// at newest and each later one 64 below, four values at a time transposed.
void Unfold(const LMP3Float4 v[64], int count, float* newest) {
  for (int i = 0; i < 64; i += 4) {
    const LMP3Float4 low01 = __builtin_shufflevector(v[i], v[i + 1], 0, 4, 1, 5);
    const LMP3Float4 low23 = __builtin_shufflevector(v[i + 2], v[i + 3], 0, 4, 1, 5);
    const LMP3Float4 high01 = __builtin_shufflevector(v[i], v[i + 1], 2, 6, 3, 7);
    const LMP3Float4 high23 = __builtin_shufflevector(v[i + 2], v[i + 3], 2, 6, 3, 7);
    Store4(newest + i, __builtin_shufflevector(low01, low23, 0, 1, 4, 5));
    Store4(newest - 64 + i, __builtin_shufflevector(low01, low23, 2, 3, 6, 7));
    if (count < 4) continue;
    Store4(newest - 128 + i, __builtin_shufflevector(high01, high23, 0, 1, 4, 5));
    Store4(newest - 192 + i, __builtin_shufflevector(high01, high23, 2, 3, 6, 7));
  }
}

}  // namespace

void LMP3Matrixing(const LMP3Float4 s[32], LMP3Float4 v[64]) {
  LMP3Float4 x[32];
  Dct<32>(s, x, LMP3LookupTables::Get().dctFactor);
  // cos(m (2k+1) pi / 64) for m = 16 + i folds back onto the DCT's 0..31:
  // m = 32 gives 0, m = 64 - n and m = 64 + n give -X[n].
  for (int i = 0; i < 16; ++i) v[i] = x[16 + i];
  v[16] = LMP3Float4{};
  for (int i = 17; i < 48; ++i) v[i] = -x[48 - i];
  v[48] = -x[0];
  for (int i = 49; i < 64; ++i) v[i] = -x[i - 48];
}

void LMP3PolyphaseSynth::Reset() {
  std::memset(m_v, 0, sizeof m_v);
  m_offset = kHistory - kKept;
}

void LMP3PolyphaseSynth::Synthesize(const LMP3SubbandSlots* slots, int* out, bool stereo) {
  const int channels = stereo ? 2 : 1;
  for (int group = 0; group < 5; ++group) {
    const int count = group < 4 ? 4 : 2;
    // Room below the newest V vectors for this group's: else the 15 that
    // the windows still read move to the top.
    if (m_offset < 64 * count) {
      for (int ch = 0; ch < channels; ++ch)
        std::memmove(m_v[ch] + kHistory - kKept, m_v[ch] + m_offset, sizeof(float) * kKept);
      m_offset = kHistory - kKept;
    }
    for (int ch = 0; ch < channels; ++ch) {
      LMP3Float4 v[64];
      LMP3Matrixing(slots[ch].group[group], v);
      Unfold(v, count, m_v[ch] + m_offset - 64);
    }
    for (int lane = 0; lane < count; ++lane) {
      m_offset -= 64;
      int* slotOut = out + (4 * group + lane) * 32 * channels;
      for (int ch = 0; ch < channels; ++ch) Window(m_v[ch] + m_offset, slotOut + ch, channels);
    }
  }
}

void LMP3PolyphaseSynth::Window(const float* v, int* out, int channels) const {
  float s[32];
  Kernels().windowSums(LMP3LookupTables::Get().synthesisWindow, v, s);
  for (int j = 0; j < 32; ++j) {
    // Legal streams stay within four times full scale; the clamp keeps a
    // corrupt one inside the source's declared peak (and inside int).
    const float x = s[j] > kPeak ? kPeak : s[j] < -kPeak ? -kPeak : s[j];
    out[j * channels] = static_cast<int>(x);
  }
}
