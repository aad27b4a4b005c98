// From quantised spectral values to spectral lines: requantisation, joint
// stereo and the reordering of short blocks (11172-3 2.4.3.4.7 to 2.4.3.4.9,
// 13818-3 2.4.3.2).
#pragma once

#include <cstdint>

#include "soundfile/MP3Header.h"
#include "soundfile/MP3SideInfo.h"

// Lines in transmission order: short-block bands hold window 0, 1, 2 one
// after the other. Values from lines on are zero.
void LMP3Requantize(const int values[576], int lines, const LMP3GranuleInfo& info, const LMP3ScaleFactors& factors,
                    const LMP3Bands& bands, float xr[576]);

// Mid/side and intensity stereo of one granule, in transmission order.
// The right channel's scale factors carry the intensity positions.
void LMP3JointStereo(float left[576], float right[576], const LMP3Header& header, const LMP3GranuleInfo& rightInfo,
                     const LMP3ScaleFactors& rightFactors, const LMP3Bands& bands);

// Where each transmitted short-block line goes so that each subband holds
// its 18 values as six frequencies of three windows (index 3 * k + window).
class LMP3Reorder {
 public:
  void Build(const LMP3Bands& bands);
  // Reorders the short part of a granule in place (all of it, or the part
  // above the long bands of a mixed block).
  void Apply(float xr[576], const LMP3GranuleInfo& info, const LMP3Bands& bands) const;

 private:
  int16_t m_target[576] = {};
};
