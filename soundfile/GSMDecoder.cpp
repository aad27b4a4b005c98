#include "soundfile/GSMDecoder.h"

#include <cstring>

#include "soundfile/GSMTables.h"

namespace {

// Internal units: the standard's output is 2 x the de-emphasised signal in
// 16 bits; 16 x that again is the internal scale, so a de-emphasised sample
// of 32767 is 1048544.
constexpr int32_t kOutputLimit = 0xFFFE0;

int Saturate16(int32_t x) { return x > 32767 ? 32767 : (x < -32768 ? -32768 : x); }

// Fractional product with rounding (clause 4.1 mult_r); both factors are
// 16-bit and one of them never -32768 here, so the result fits 16 bits.
int MultR(int32_t a, int32_t b) { return (a * b + 16384) >> 15; }

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
  // Long-term synthesis (clause 4.3.2): a lag outside 40..120 cannot come
  // from an encoder and repeats the last valid one. e[-lag] lies in earlier
  // subframes or the history, since the lag is at least one subframe long.
  const int lag = (sub.lag >= 40 && sub.lag <= 120) ? sub.lag : m_lag;
  m_lag = lag;
  const int32_t gain = kGSMQLB[sub.gainIndex & 3];
  for (int k = 0; k < 40; ++k) e[k] = static_cast<int16_t>(MultR(gain, e[k - lag]));

  // Regular pulse excitation (clauses 4.2.15, 4.2.16): the 6-bit block
  // amplitude as exponent and a mantissa normalised into 8..15.
  const int amplitude = sub.amplitude & 63;
  int exponent = amplitude > 15 ? (amplitude >> 3) - 1 : 0;
  int mantissa = amplitude - 8 * exponent;
  if (mantissa == 0) {
    mantissa = 15;
    exponent = -4;
  } else {
    for (int i = 0; i < 3 && mantissa <= 7; ++i) {
      mantissa = mantissa * 2 + 1;
      --exponent;
    }
  }
  // The factor is scaled down before the product (shift 0..10), so one
  // rounded multiplication gives each pulse.
  const int32_t factor = kGSMFAC[mantissa - 8] >> (6 - exponent);
  const int grid = sub.gridPosition & 3;
  // Pulses are added with saturation: a wrapped 16-bit sum would turn a loud
  // sample into a full-scale one of the other sign.
  for (int i = 0; i < 13; ++i) {
    const int pulse = MultR(kGSMPulseLevel[sub.pulses[i] & 7], factor);
    e[grid + 3 * i] = static_cast<int16_t>(Saturate16(e[grid + 3 * i] + pulse));
  }
}

void LGSMDecoder::DecodeLAR(const LGSMFrame& frame, int16_t* lar) const {
  // Decoding of the coded log-area ratios (clause 4.2.8), here in integer
  // arithmetic with one truncating division; every coded value gives at
  // most 26214 in magnitude, in 1/32768 units.
  for (int i = 0; i < 8; ++i) {
    const int32_t coded = frame.lar[i] & ((1 << kGSMLarBits[i]) - 1);
    lar[i] = static_cast<int16_t>(((coded + kGSMLarMIC[i]) * 512 - kGSMLarB[i]) * 32768 / kGSMLarA[i]);
  }
}

void LGSMDecoder::SynthesiseSegment(const int16_t* prevLar, const int16_t* lar, int segment, const int16_t* residual,
                                    int count, int* out) {
  // Log-area ratios interpolated between frames (clause 4.2.9.1), then as
  // reflection coefficients.
  int rp[8];
  for (int i = 0; i < 8; ++i) {
    const int prev = prevLar[i];
    const int cur = lar[i];
    int interpolated;
    switch (segment) {
      case 0: interpolated = (prev >> 2) + (cur >> 2) + (prev >> 1); break;
      case 1: interpolated = (prev >> 1) + (cur >> 1); break;
      case 2: interpolated = (prev >> 2) + (cur >> 2) + (cur >> 1); break;
      default: interpolated = cur; break;
    }
    rp[i] = ReflectionCoefficientsFromLAR(interpolated);
  }
  for (int k = 0; k < count; ++k) {
    // Short-term synthesis lattice (clause 4.3.4), states v[0..8].
    int sr = residual[k];
    for (int i = 7; i >= 0; --i) {
      sr = Saturate16(sr - MultR(rp[i], m_v[i]));
      m_v[i + 1] = static_cast<int16_t>(Saturate16(m_v[i] + MultR(rp[i], sr)));
    }
    m_v[0] = static_cast<int16_t>(sr);
    // De-emphasis (clause 4.3.5, coefficient 880/1024) straight into
    // internal units, without the 13-bit truncation. Bounded where the
    // standard saturates its de-emphasis memory at 16 bits: this keeps the
    // output within the reader's peak bound and the product within 32 bits.
    int32_t y = sr * 32 + ((m_deemphasis * 880 + 512) >> 10);
    if (y > kOutputLimit) y = kOutputLimit;
    if (y < -kOutputLimit) y = -kOutputLimit;
    m_deemphasis = y;
    out[k] = y;
  }
}
