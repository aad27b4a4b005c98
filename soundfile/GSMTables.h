// Constant tables of the GSM 06.10 full-rate speech decoder (ETSI GSM 06.10,
// clause 4.4, "Tables used in the fixed point implementation").
#pragma once

#include <cstdint>

// Quantisation of the log-area ratios (table 4.1). Decoding (clause 4.2.8)
// multiplies by INVA = 1/A in Q15 rather than dividing by A.
inline constexpr int32_t kGSMLarINVA[8] = {13107, 13107, 13107, 13107, 19223, 17476, 31454, 29708};
inline constexpr int32_t kGSMLarB[8] = {0, 0, 2048, -2560, 94, -1792, -341, -1144};
inline constexpr int32_t kGSMLarMIC[8] = {-32, -32, -16, -16, -8, -8, -4, -4};

// Bits of each coded log-area ratio in a frame, in transmission order (clause 1.7).
inline constexpr int kGSMLarBits[8] = {6, 6, 5, 5, 4, 4, 3, 3};

// Quantisation levels of the long-term predictor gain (table 4.3b), 1/32768 units.
inline constexpr int32_t kGSMQLB[4] = {3277, 11469, 21299, 32767};

// Normalised direct mantissa (table 4.6) for the block-amplitude mantissa
// m = 8..15 at index m - 8, 1/32768 units: (m + 1) * 2048 - 1.
inline constexpr int32_t kGSMFAC[8] = {18431, 20479, 22527, 24575, 26623, 28671, 30719, 32767};

// Pulse-amplitude decoding levels (clause 4.2.16): a 3-bit pulse code c
// stands for (2c - 7) << 12, the normalised amplitude (2c - 7) / 8 in Q15.
inline constexpr int32_t kGSMPulseLevel[8] = {-28672, -20480, -12288, -4096, 4096, 12288, 20480, 28672};
