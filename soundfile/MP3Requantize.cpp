#include "soundfile/MP3Requantize.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "soundfile/MP3LookupTables.h"
#include "soundfile/MP3Tables.h"

namespace {

float Dequantize(const LMP3LookupTables& t, int v, float f) {
  constexpr int kZero = LMP3LookupTables::kPow43Zero;
  return t.pow43[kZero + std::clamp(v, -kZero, kZero)] * f;
}

// First line of the short part: 0, or after the long bands of a mixed block.
int ShortStart(const LMP3GranuleInfo& info, const LMP3Bands& bands) {
  if (!info.IsShort()) return 576;
  return info.mixedBlock ? bands.longBands[bands.mixedLongBands] : 0;
}

void MidSide(float* left, float* right, int count) {
  constexpr float kInvSqrt2 = static_cast<float>(1.0 / std::numbers::sqrt2);
  for (int i = 0; i < count; ++i) {
    const float m = left[i], s = right[i];
    left[i] = (m + s) * kInvSqrt2;
    right[i] = (m - s) * kInvSqrt2;
  }
}

bool AnyNonZero(const float* x, int count) {
  for (int i = 0; i < count; ++i)
    if (x[i] != 0.0f) return true;
  return false;
}

// Intensity stereo (11172-3 2.4.3.4.9.3, 13818-3 2.4.3.2) on one band; an
// illegal position leaves the band to mid/side (or untouched).
class LIntensity {
 public:
  LIntensity(const LMP3Header& header, const LMP3ScaleFactors& f)
      : m_mpeg1(header.version == 0), m_ms(header.modeExtension & 2), m_scale(f.intensityScale) {}

  void Band(float* left, float* right, int count, int position, int illegal) const {
    if (position == illegal) {
      if (m_ms) MidSide(left, right, count);
      return;
    }
    float kl = 1.0f, kr = 1.0f;
    if (m_mpeg1) {
      // tan(p pi/12) / (1 + tan) and 1 / (1 + tan), as sines and cosines so p = 6 stays finite.
      const double a = std::clamp(position, 0, 6) * std::numbers::pi / 12;
      kl = static_cast<float>(std::sin(a) / (std::sin(a) + std::cos(a)));
      kr = static_cast<float>(std::cos(a) / (std::sin(a) + std::cos(a)));
    } else if (position != 0) {
      const double i0 = m_scale ? 1.0 / std::numbers::sqrt2 : std::pow(2.0, -0.25);
      if (position & 1)
        kl = static_cast<float>(std::pow(i0, (position + 1) / 2));
      else
        kr = static_cast<float>(std::pow(i0, position / 2));
    }
    for (int i = 0; i < count; ++i) {
      const float x = left[i];
      left[i] = x * kl;
      right[i] = x * kr;
    }
  }
  bool MidSideToo() const { return m_ms; }

 private:
  bool m_mpeg1, m_ms, m_scale;
};

// Long bands [0, bandEnd): intensity above the right channel's last non-zero band.
void IntensityLong(float* left, float* right, const LMP3ScaleFactors& f, const int16_t* bands, int bandEnd,
                   const LIntensity& is) {
  int last = -1;
  for (int sfb = 0; sfb < bandEnd; ++sfb)
    if (AnyNonZero(right + bands[sfb], bands[sfb + 1] - bands[sfb])) last = sfb;
  for (int sfb = 0; sfb < bandEnd; ++sfb) {
    const int start = bands[sfb], count = bands[sfb + 1] - bands[sfb];
    if (sfb <= last) {
      if (is.MidSideToo()) MidSide(left + start, right + start, count);
      continue;
    }
    // The last band carries no factor of its own: it takes the one below.
    const int source = std::min(sfb, 20);
    is.Band(left + start, right + start, count, f.longFactors[source], f.illegalLong[source]);
  }
}

void IntensityShort(float* left, float* right, const LMP3ScaleFactors& f, const int16_t* s, int firstBand,
                    const LIntensity& is) {
  for (int w = 0; w < 3; ++w) {
    int last = firstBand - 1;
    for (int sfb = firstBand; sfb < 13; ++sfb) {
      const int width = s[sfb + 1] - s[sfb];
      if (AnyNonZero(right + 3 * s[sfb] + w * width, width)) last = sfb;
    }
    for (int sfb = firstBand; sfb < 13; ++sfb) {
      const int width = s[sfb + 1] - s[sfb];
      const int start = 3 * s[sfb] + w * width;
      if (sfb <= last) {
        if (is.MidSideToo()) MidSide(left + start, right + start, width);
        continue;
      }
      const int source = std::min(sfb, 11);
      is.Band(left + start, right + start, width, f.shortFactors[source][w], f.illegalShort[source]);
    }
  }
}

}  // namespace

void LMP3Requantize(const int values[576], int lines, const LMP3GranuleInfo& info, const LMP3ScaleFactors& factors,
                    const LMP3Bands& bands, float xr[576]) {
  const LMP3LookupTables& t = LMP3LookupTables::Get();
  const float gain = t.globalGain[info.globalGain & 255];
  const int shift = info.scalefacScale ? 2 : 1;  // 2^(-s/2) steps per scale-factor unit
  const int shortStart = ShortStart(info, bands);
  // Zero values give zero lines whatever the factor (which is positive).
  const int longEnd = std::clamp(lines, 0, shortStart);
  for (int sfb = 0; sfb < 22 && bands.longBands[sfb] < longEnd; ++sfb) {
    const int sf = factors.longFactors[sfb] + (factors.preflag ? mp3tab::kPretab[sfb] : 0);
    const float f = gain * t.scaleFactor[std::min(shift * sf, 64)];
    const int end = std::min<int>(bands.longBands[sfb + 1], longEnd);
    for (int i = bands.longBands[sfb]; i < end; ++i) xr[i] = Dequantize(t, values[i], f);
  }
  std::memset(xr + longEnd, 0, sizeof(float) * static_cast<size_t>(std::min(shortStart, 576) - longEnd));
  if (shortStart >= 576) return;
  const int16_t* s = bands.shortBands;
  for (int sfb = info.mixedBlock ? 3 : 0; sfb < 13; ++sfb) {
    const int width = s[sfb + 1] - s[sfb];
    for (int w = 0; w < 3; ++w) {
      // 2^(-2 subblock_gain) is exact in floating point.
      const float f = std::ldexp(gain, -2 * info.subblockGain[w]) *
                      t.scaleFactor[std::min(shift * factors.shortFactors[sfb][w], 64)];
      const int start = 3 * s[sfb] + w * width;
      for (int i = start; i < start + width; ++i) xr[i] = Dequantize(t, values[i], f);
    }
  }
}

void LMP3JointStereo(float left[576], float right[576], const LMP3Header& header, const LMP3GranuleInfo& rightInfo,
                     const LMP3ScaleFactors& rightFactors, const LMP3Bands& bands) {
  if (header.channelMode != 1) return;
  const bool ms = header.modeExtension & 2;
  if (!(header.modeExtension & 1)) {
    if (ms) MidSide(left, right, 576);
    return;
  }
  const LIntensity is(header, rightFactors);
  if (!rightInfo.IsShort()) {
    IntensityLong(left, right, rightFactors, bands.longBands, 22, is);
    return;
  }
  const int shortStart = ShortStart(rightInfo, bands);
  const int firstShortBand = rightInfo.mixedBlock ? 3 : 0;
  if (shortStart > 0) {
    // Mixed block: the long bands are intensity coded only when the whole
    // short part of the right channel is zero.
    if (AnyNonZero(right + shortStart, 576 - shortStart)) {
      if (ms) MidSide(left, right, shortStart);
    } else {
      IntensityLong(left, right, rightFactors, bands.longBands, bands.mixedLongBands, is);
    }
  }
  IntensityShort(left, right, rightFactors, bands.shortBands, firstShortBand, is);
}

void LMP3Reorder::Build(const LMP3Bands& bands) {
  const int16_t* s = bands.shortBands;
  for (int sfb = 0; sfb < 13; ++sfb) {
    const int width = s[sfb + 1] - s[sfb];
    for (int w = 0; w < 3; ++w)
      for (int i = 0; i < width; ++i) m_target[3 * s[sfb] + w * width + i] = static_cast<int16_t>(3 * (s[sfb] + i) + w);
  }
}

void LMP3Reorder::Apply(float xr[576], const LMP3GranuleInfo& info, const LMP3Bands& bands) const {
  const int start = ShortStart(info, bands);
  if (start >= 576) return;
  float reordered[576];
  for (int i = start; i < 576; ++i) reordered[m_target[i]] = xr[i];
  std::memcpy(xr + start, reordered + start, sizeof(float) * static_cast<size_t>(576 - start));
}
