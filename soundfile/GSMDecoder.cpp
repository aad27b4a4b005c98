#include "soundfile/GSMDecoder.h"

#include <cstring>

#include "soundfile/GSMTables.h"

namespace {

// The standard's arithmetic on 16-bit words (clause 4.1), which the decoder
// follows operation for operation so that every output sample is the
// reference decoder's.
int16_t Saturate16(int32_t x) { return static_cast<int16_t>(x > 32767 ? 32767 : (x < -32768 ? -32768 : x)); }
int16_t Add(int32_t a, int32_t b) { return Saturate16(a + b); }
int16_t Sub(int32_t a, int32_t b) { return Saturate16(a - b); }
// mult_r: Q15 product with rounding; -1 x -1 saturates.
int16_t MultR(int32_t a, int32_t b) {
  if (a == -32768 && b == -32768) return 32767;
  return static_cast<int16_t>((a * b + 16384) >> 15);
}
// Arithmetic shift right by n in -16..16 (a negative n shifts left).
int32_t Asr(int32_t a, int n) {
  if (n >= 16) return a < 0 ? -1 : 0;
  if (n <= -16) return 0;
  return n < 0 ? a * (1 << -n) : a >> n;
}

// Reads fields least significant bit first from a run of bytes.
class LBitReader {
 public:
  LBitReader(const unsigned char* bytes, int skipBits) : m_next(bytes) {
    if (skipBits > 0) {
      m_bits = *m_next++ >> skipBits;
      m_count = 8 - skipBits;
    }
  }
  unsigned Get(int width) {
    while (m_count < width) {
      m_bits |= uint32_t(*m_next++) << m_count;
      m_count += 8;
    }
    const unsigned value = m_bits & ((1u << width) - 1);
    m_bits >>= width;
    m_count -= width;
    return value;
  }

 private:
  const unsigned char* m_next;
  uint32_t m_bits = 0;
  int m_count = 0;
};

void Unpack(LBitReader& bits, LGSMFrame& frame) {
  for (int i = 0; i < 8; ++i) frame.lar[i] = static_cast<uint8_t>(bits.Get(kGSMLarBits[i]));
  for (LGSMSubFrame& sub : frame.sub) {
    sub.lag = static_cast<uint8_t>(bits.Get(7));
    sub.gainIndex = static_cast<uint8_t>(bits.Get(2));
    sub.gridPosition = static_cast<uint8_t>(bits.Get(2));
    sub.amplitude = static_cast<uint8_t>(bits.Get(6));
    for (uint8_t& pulse : sub.pulses) pulse = static_cast<uint8_t>(bits.Get(3));
  }
}

// First sample of each log-area-ratio interpolation segment (clause 4.2.9.1),
// and the end of the frame.
constexpr int kSegmentStart[5] = {0, 13, 27, 40, kGSMFrameSamples};

}  // namespace

void DecodeWave1(const unsigned char* block, LGSMFrame& frame) {
  LBitReader bits(block, 0);
  Unpack(bits, frame);
}

void DecodeWave2(const unsigned char* block, LGSMFrame& frame) {
  // The first frame's 260 bits end in the middle of byte 32.
  LBitReader bits(block + 32, 4);
  Unpack(bits, frame);
}

int ReflectionCoefficientsFromLAR(int lar) {
  int magnitude = lar < 0 ? -lar : lar;
  if (magnitude > 32767) magnitude = 32767;
  int r;
  if (magnitude < 11059)
    r = magnitude << 1;
  else if (magnitude < 20070)
    r = magnitude + 11059;
  else
    r = Saturate16((magnitude >> 2) + 26112);
  return lar < 0 ? -r : r;
}

void LGSMDecoder::Reset() {
  std::memset(m_prevLar, 0, sizeof m_prevLar);
  std::memset(m_history, 0, sizeof m_history);
  std::memset(m_v, 0, sizeof m_v);
  m_deemphasis = 0;
  m_lag = 40;
}

void LGSMDecoder::DecodeFrameWave(const unsigned char* block, int* out) {
  LGSMFrame frame;
  DecodeWave1(block, frame);
  DecodeFrame(frame, out);
  DecodeWave2(block, frame);
  DecodeFrame(frame, out + kGSMFrameSamples);
}

void LGSMDecoder::DecodeFrame(const LGSMFrame& frame, int* out) {
  // Worker-thread code: allocates nothing. The frame's residual is built
  // behind the 120 samples of history so that every subframe's long-term
  // prediction reads its lagged samples from one array.
  int16_t residual[120 + kGSMFrameSamples];
  std::memcpy(residual, m_history, sizeof m_history);
  for (int j = 0; j < 4; ++j) DecodeResidual(frame.sub[j], residual + 120 + 40 * j);
  std::memcpy(m_history, residual + kGSMFrameSamples, sizeof m_history);

  int16_t lar[8];
  DecodeLAR(frame, lar);
  for (int segment = 0; segment < 4; ++segment) {
    const int start = kSegmentStart[segment];
    SynthesiseSegment(m_prevLar, lar, segment, residual + 120 + start, kSegmentStart[segment + 1] - start, out + start);
  }
  std::memcpy(m_prevLar, lar, sizeof lar);
}

void LGSMDecoder::DecodeResidual(const LGSMSubFrame& sub, int16_t* e) {
  // APCM inverse quantisation of the block amplitude (clause 4.2.15): an
  // exponent and a mantissa normalised to 8..15 (index 0..7).
  const int amplitude = sub.amplitude & 63;
  int exponent = amplitude > 15 ? (amplitude >> 3) - 1 : 0;
  int mantissa = amplitude - 8 * exponent;
  if (mantissa == 0) {
    exponent = -4;
    mantissa = 7;
  } else {
    while (mantissa <= 7) {
      mantissa = mantissa * 2 + 1;
      --exponent;
    }
    mantissa -= 8;
  }
  // The 13 pulses (clause 4.2.16): level x FAC in Q15, then scaled down by
  // 6 - exponent (0..10) bits with rounding.
  const int shift = 6 - exponent;
  const int32_t round = Asr(1, 1 - shift);  // 1 << (shift - 1); nothing for shift 0
  int16_t pulse[13];
  for (int i = 0; i < 13; ++i)
    pulse[i] =
        static_cast<int16_t>(Asr(Add(MultR(kGSMFAC[mantissa], kGSMPulseLevel[sub.pulses[i] & 7]), round), shift));

  // Long-term synthesis (clause 4.3.2) over the grid-positioned pulses
  // (clause 4.2.17): a lag outside 40..120 cannot come from an encoder and
  // repeats the last one. e[-lag] lies in earlier subframes or the history,
  // since the lag is at least one subframe long.
  const int lag = (sub.lag >= 40 && sub.lag <= 120) ? sub.lag : m_lag;
  m_lag = lag;
  const int32_t gain = kGSMQLB[sub.gainIndex & 3];
  const int grid = sub.gridPosition & 3;
  for (int k = 0; k < 40; ++k) {
    const int i = (k - grid) / 3;
    const int16_t excitation = (k >= grid && (k - grid) % 3 == 0 && i < 13) ? pulse[i] : 0;
    e[k] = Add(excitation, MultR(gain, e[k - lag]));
  }
}

void LGSMDecoder::DecodeLAR(const LGSMFrame& frame, int16_t* lar) const {
  // Decoding of the coded log-area ratios (clause 4.2.8), in Q15:
  // ((LARc + MIC) << 10 - 2B) x INVA, doubled.
  for (int i = 0; i < 8; ++i) {
    const int32_t coded = frame.lar[i] & ((1 << kGSMLarBits[i]) - 1);
    int32_t temp = Add(coded, kGSMLarMIC[i]) * 1024;
    temp = MultR(kGSMLarINVA[i], Sub(temp, kGSMLarB[i] * 2));
    lar[i] = Add(temp, temp);
  }
}

void LGSMDecoder::SynthesiseSegment(const int16_t* prevLar, const int16_t* lar, int segment, const int16_t* residual,
                                    int count, int* out) {
  // Log-area ratios interpolated between frames (clause 4.2.9.1), then as
  // reflection coefficients.
  int16_t rp[8];
  for (int i = 0; i < 8; ++i) {
    const int prev = prevLar[i];
    const int cur = lar[i];
    int interpolated;
    switch (segment) {
      case 0: interpolated = Add(Add(prev >> 2, cur >> 2), prev >> 1); break;
      case 1: interpolated = Add(prev >> 1, cur >> 1); break;
      case 2: interpolated = Add(Add(prev >> 2, cur >> 2), cur >> 1); break;
      default: interpolated = cur; break;
    }
    rp[i] = static_cast<int16_t>(ReflectionCoefficientsFromLAR(interpolated));
  }
  for (int k = 0; k < count; ++k) {
    // Short-term synthesis lattice (clause 4.3.4), states v[0..8].
    int16_t sr = residual[k];
    for (int i = 7; i >= 0; --i) {
      sr = Sub(sr, MultR(rp[i], m_v[i]));
      m_v[i + 1] = Add(m_v[i], MultR(rp[i], sr));
    }
    m_v[0] = sr;
    // De-emphasis (clause 4.3.5, coefficient 28180 in Q15), then upscaling
    // and truncation to 13 bits (clauses 4.3.6, 4.3.7): the 16-bit output
    // with its three low bits clear, in internal units (x 16).
    m_deemphasis = Add(sr, MultR(m_deemphasis, 28180));
    out[k] = (Add(m_deemphasis, m_deemphasis) & ~7) * 16;
  }
}
