// Process-wide tables of the Layer III decoder, computed once on first use
// and never rebuilt; read-only afterwards, so any thread may use them.
#pragma once

struct LMP3LookupTables {
  // Synthesis window D[i] (11172-3 Table B.3) scaled by 524288, so that
  // full-scale MPEG audio comes out at the internal full scale.
  alignas(16) float synthesisWindow[512];
  // 1 / (2 cos(pi (2k + 1) / 2n)) for the fast 32-point DCT of the
  // matrixing: the factors of size n start at index 32 - n.
  float dctFactor[32];
  float globalGain[256];  // 2^((g - 210) / 4)
  float scaleFactor[65];  // 2^(-s / 2)
  // sign(x) |x|^(4/3) for x from -8206 to 8206, at kPow43Zero + x.
  static constexpr int kPow43Zero = 8206;
  float pow43[2 * kPow43Zero + 1];
  // IMDCT kernels (11172-3 2.4.3.4.10): cos(pi/72 (2i+1+18)(2k+1)) for the
  // 36-point and cos(pi/24 (2i+1+6)(2k+1)) for the 12-point transform.
  // Stored by input line, [k][i], so that all sums advance together. The
  // 36-point outputs mirror (y[17 - i] = -y[i], y[35 - i] = y[18 + i]): only
  // i = 0..8 (columns 0..8) and i = 18..26 (columns 9..17) are computed;
  // columns 18 to 23 are zeros that round the rows to whole vectors.
  alignas(16) float imdctLong[18][24];
  alignas(16) float imdctShort[6][12];
  // Windows per block type (0 normal, 1 start, 3 stop; 2 = short, 12 used).
  alignas(16) float window[4][36];
  // Alias-reduction butterflies cs[i], ca[i] (11172-3 2.4.3.4.9).
  float aliasCs[8];
  float aliasCa[8];

  static const LMP3LookupTables& Get();

 private:
  LMP3LookupTables();
};
