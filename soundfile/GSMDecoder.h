// GSM 06.10 full-rate speech decoder (regular pulse excitation with long-term
// prediction) for the Microsoft WAV packing: two 260-bit frames of 160
// samples in each 65-byte block, bits taken least significant first.
#pragma once

#include <cstdint>

constexpr int kGSMBlockBytes = 65;
constexpr int kGSMFrameSamples = 160;
constexpr int kGSMBlockSamples = 2 * kGSMFrameSamples;

// One subframe's coded parameters as unpacked; any value decodes.
struct LGSMSubFrame {
  uint8_t lag;           // Nc, 7 bits: long-term lag, used when 40..120
  uint8_t gainIndex;     // bc, 2 bits
  uint8_t gridPosition;  // Mc, 2 bits
  uint8_t amplitude;     // xmaxc, 6 bits: block amplitude
  uint8_t pulses[13];    // xMc, 3 bits each
};

struct LGSMFrame {
  uint8_t lar[8];  // LARc, 6, 6, 5, 5, 4, 4, 3, 3 bits
  LGSMSubFrame sub[4];
};

// Unpacks the block's first frame (from bit 0 of byte 0) and its second
// frame (from bit 4 of byte 32). Both read only within the 65 bytes.
void DecodeWave1(const unsigned char* block, LGSMFrame& frame);
void DecodeWave2(const unsigned char* block, LGSMFrame& frame);

// Turns a log-area ratio (1/32768 units) into a reflection coefficient by
// the standard's piecewise-linear rule (clause 4.2.9.2); |result| <= 32767.
int ReflectionCoefficientsFromLAR(int lar);

class LGSMDecoder {
 public:
  LGSMDecoder() { Reset(); }
  // The state of a new decoder: everything zero, previous lag 40.
  void Reset();
  // Unpacks and decodes both frames of a 65-byte block into 320 samples in
  // internal units (full scale +-524288): the standard's 16-bit output x 16.
  void DecodeFrameWave(const unsigned char* block, int* out);
  // Decodes one frame into 160 samples in internal units.
  void DecodeFrame(const LGSMFrame& frame, int* out);

 private:
  void DecodeResidual(const LGSMSubFrame& sub, int16_t* residual);
  void DecodeLAR(const LGSMFrame& frame, int16_t* lar) const;
  void SynthesiseSegment(const int16_t* prevLar, const int16_t* lar, int segment, const int16_t* residual, int count,
                         int* out);

  int16_t m_prevLar[8];    // previous frame's decoded log-area ratios
  int16_t m_history[120];  // reconstructed residual, oldest first
  int16_t m_deemphasis;    // de-emphasis memory (msr), 16 bits
  int16_t m_v[9];          // short-term synthesis lattice states
  int m_lag;               // previous long-term lag, 40..120
};
