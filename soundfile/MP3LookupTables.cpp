#include "soundfile/MP3LookupTables.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "soundfile/MP3Tables.h"

namespace {

constexpr double kPi = std::numbers::pi;

void FillSynthesisAndQuantisation(LMP3LookupTables& t) {
  // D in units of 2^-16 times 2^19: exact.
  for (int i = 0; i < 512; ++i) t.synthesisWindow[i] = static_cast<float>(mp3tab::kSynthesisWindow[i] * 8);
  for (int n = 32; n >= 2; n /= 2)
    for (int k = 0; k < n / 2; ++k)
      t.dctFactor[32 - n + k] = static_cast<float>(0.5 / std::cos(kPi * (2 * k + 1) / (2 * n)));
  for (int g = 0; g < 256; ++g) t.globalGain[g] = static_cast<float>(std::pow(2.0, (g - 210) / 4.0));
  for (int s = 0; s < 65; ++s) t.scaleFactor[s] = static_cast<float>(std::pow(2.0, -s / 2.0));
  for (int x = 0; x <= t.kPow43Zero; ++x) {
    const float magnitude = static_cast<float>(std::pow(double(x), 4.0 / 3.0));
    t.pow43[t.kPow43Zero + x] = magnitude;
    t.pow43[t.kPow43Zero - x] = -magnitude;
  }
}

void FillImdctKernels(LMP3LookupTables& t) {
  for (int j = 0; j < 18; ++j) {
    const int i = j < 9 ? j : j + 9;
    for (int k = 0; k < 18; ++k)
      t.imdctLong[k][j] = static_cast<float>(std::cos(kPi / 72 * (2 * i + 1 + 18) * (2 * k + 1)));
  }
  for (float* row : t.imdctLong) std::fill(row + 18, row + 24, 0.0f);
  for (int i = 0; i < 12; ++i)
    for (int k = 0; k < 6; ++k)
      t.imdctShort[k][i] = static_cast<float>(std::cos(kPi / 24 * (2 * i + 1 + 6) * (2 * k + 1)));
}

}  // namespace

const LMP3LookupTables& LMP3LookupTables::Get() {
  static const LMP3LookupTables* tables = new LMP3LookupTables();  // lives for the process
  return *tables;
}

LMP3LookupTables::LMP3LookupTables() {
  FillSynthesisAndQuantisation(*this);
  FillImdctKernels(*this);
  for (int i = 0; i < 36; ++i) {
    const double longWindow = std::sin(kPi / 36 * (i + 0.5));
    window[0][i] = static_cast<float>(longWindow);
    // Start block: long rising half, flat, short falling half, zeros.
    window[1][i] = static_cast<float>(i < 18   ? longWindow
                                      : i < 24 ? 1.0
                                      : i < 30 ? std::sin(kPi / 12 * (i - 18 + 0.5))
                                               : 0.0);
    // Stop block: the mirror image.
    window[3][i] = static_cast<float>(i < 6    ? 0.0
                                      : i < 12 ? std::sin(kPi / 12 * (i - 6 + 0.5))
                                      : i < 18 ? 1.0
                                               : longWindow);
    window[2][i] = i < 12 ? static_cast<float>(std::sin(kPi / 12 * (i + 0.5))) : 0.0f;
  }
  for (int i = 0; i < 8; ++i) {
    const double c = mp3tab::kAliasC[i];
    const double root = std::sqrt(1.0 + c * c);
    aliasCs[i] = static_cast<float>(1.0 / root);
    aliasCa[i] = static_cast<float>(c / root);
  }
}
