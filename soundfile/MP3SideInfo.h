// Layer III side information and scale factors (11172-3 2.4.1.7 and
// 2.4.2.7, 13818-3 2.4.1.7 and 2.4.3.2).
#pragma once

#include <cstdint>

#include "soundfile/MP3Header.h"
#include "soundfile/MP3Huffman.h"

struct LMP3GranuleInfo {
  int part23Length = 0;  // bits of scale factors and Huffman data
  int bigValues = 0;     // pairs
  int globalGain = 0;
  int scalefacCompress = 0;
  bool windowSwitching = false;
  int blockType = 0;  // 0 normal, 1 start, 2 short, 3 stop
  bool mixedBlock = false;
  int tableSelect[3] = {};
  int subblockGain[3] = {};
  int region0Count = 0;
  int region1Count = 0;
  bool preflag = false;
  bool scalefacScale = false;
  bool count1TableB = false;

  bool IsShort() const { return windowSwitching && blockType == 2; }
};

struct LMP3SideInfo {
  int mainDataBegin = 0;          // bytes back into the reservoir
  bool scfsi[2][4] = {};          // MPEG-1: granule 1 reuses granule 0's factors
  LMP3GranuleInfo granule[2][2];  // [granule][channel]

  // Parses side-information bytes for the header's version and mode.
  void Parse(const uint8_t* bytes, int length, const LMP3Header& header);
};

// The scale factor bands of the stream's sampling frequency.
struct LMP3Bands {
  const int16_t* longBands;   // 23 boundaries in lines
  const int16_t* shortBands;  // 14 boundaries in lines of one window
  // Long bands in front of the short part of a mixed block.
  int mixedLongBands;
  static LMP3Bands For(const LMP3Header& header);
};

struct LMP3ScaleFactors {
  uint8_t longFactors[22] = {};
  uint8_t shortFactors[13][3] = {};
  // The intensity position meaning "no intensity" per band (right channel).
  uint8_t illegalLong[22] = {};
  uint8_t illegalShort[13] = {};
  bool preflag = false;         // MPEG-1: from the side information
  bool intensityScale = false;  // MPEG-2 right channel: 2^-1/2 steps instead of 2^-1/4
};

// Reads one channel's scale factors of one granule. previous holds granule
// 0's factors of the same channel for MPEG-1 scale-factor reuse.
void LMP3ReadScaleFactors(LMP3BitReader& bits, const LMP3Header& header, const LMP3SideInfo& side, int granule,
                          int channel, LMP3ScaleFactors& factors);

// The Huffman layout of one granule and channel whose part2_3 data ends at endBit.
LMP3SpectrumLayout LMP3MakeLayout(const LMP3GranuleInfo& info, const LMP3Bands& bands, int64_t endBit);
