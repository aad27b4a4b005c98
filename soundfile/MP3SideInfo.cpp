#include "soundfile/MP3SideInfo.h"

#include <algorithm>
#include <cstring>

#include "soundfile/MP3Tables.h"

namespace {

void ParseGranule(LMP3BitReader& bits, bool mpeg1, LMP3GranuleInfo& g) {
  g.part23Length = static_cast<int>(bits.Read(12));
  g.bigValues = static_cast<int>(bits.Read(9));
  g.globalGain = static_cast<int>(bits.Read(8));
  g.scalefacCompress = static_cast<int>(bits.Read(mpeg1 ? 4 : 9));
  g.windowSwitching = bits.ReadBit();
  if (g.windowSwitching) {
    g.blockType = static_cast<int>(bits.Read(2));
    g.mixedBlock = bits.ReadBit();
    g.tableSelect[0] = static_cast<int>(bits.Read(5));
    g.tableSelect[1] = static_cast<int>(bits.Read(5));
    g.tableSelect[2] = 0;
    for (int& gain : g.subblockGain) gain = static_cast<int>(bits.Read(3));
    g.region0Count = g.region1Count = 0;  // implicit, see LMP3MakeLayout
  } else {
    g.blockType = 0;
    g.mixedBlock = false;
    for (int& table : g.tableSelect) table = static_cast<int>(bits.Read(5));
    for (int& gain : g.subblockGain) gain = 0;
    g.region0Count = static_cast<int>(bits.Read(4));
    g.region1Count = static_cast<int>(bits.Read(3));
  }
  g.preflag = mpeg1 ? bits.ReadBit() : false;
  g.scalefacScale = bits.ReadBit();
  g.count1TableB = bits.ReadBit();
}

// MPEG-2 scale-factor lengths and table row from scalefac_compress
// (13818-3 2.4.3.2); row 0-2 normal, 3-5 for the intensity right channel.
void Mpeg2Lengths(int sfc, bool intensityRight, int slen[4], int& row, bool& preflag) {
  preflag = false;
  if (intensityRight) {
    const int s = sfc >> 1;
    if (s < 180) {
      slen[0] = s / 36, slen[1] = (s % 36) / 6, slen[2] = (s % 36) % 6, slen[3] = 0, row = 3;
    } else if (s < 244) {
      const int t = s - 180;
      slen[0] = (t % 64) >> 4, slen[1] = (t % 16) >> 2, slen[2] = t % 4, slen[3] = 0, row = 4;
    } else {
      const int t = s - 244;
      slen[0] = t / 3, slen[1] = t % 3, slen[2] = 0, slen[3] = 0, row = 5;
    }
    return;
  }
  if (sfc < 400) {
    slen[0] = (sfc >> 4) / 5, slen[1] = (sfc >> 4) % 5, slen[2] = (sfc % 16) >> 2, slen[3] = sfc % 4, row = 0;
  } else if (sfc < 500) {
    const int t = sfc - 400;
    slen[0] = (t >> 2) / 5, slen[1] = (t >> 2) % 5, slen[2] = t % 4, slen[3] = 0, row = 1;
  } else {
    const int t = sfc - 500;
    slen[0] = t / 3, slen[1] = t % 3, slen[2] = 0, slen[3] = 0, row = 2;
    preflag = true;
  }
}

// A short (or mixed) block's factors: a mixed block's eight long bands first,
// then the short bands from 3 on (0 from 0 for a pure short block).
void ReadMpeg1Short(LMP3BitReader& bits, bool mixed, int slen1, int slen2, LMP3ScaleFactors& f) {
  int sfb = 0;
  if (mixed) {
    for (; sfb < 8; ++sfb) f.longFactors[sfb] = static_cast<uint8_t>(bits.Read(slen1));
    sfb = 3;
  }
  for (; sfb < 12; ++sfb)
    for (auto& w : f.shortFactors[sfb]) w = static_cast<uint8_t>(bits.Read(sfb < 6 ? slen1 : slen2));
  for (auto& w : f.shortFactors[12]) w = 0;
}

void ReadMpeg1(LMP3BitReader& bits, const LMP3SideInfo& side, int granule, int channel, LMP3ScaleFactors& f) {
  const LMP3GranuleInfo& g = side.granule[granule][channel];
  const int slen1 = mp3tab::kSlen[0][g.scalefacCompress & 15];
  const int slen2 = mp3tab::kSlen[1][g.scalefacCompress & 15];
  f.preflag = g.preflag;
  std::memset(f.illegalLong, 7, sizeof f.illegalLong);
  std::memset(f.illegalShort, 7, sizeof f.illegalShort);
  if (g.IsShort()) return ReadMpeg1Short(bits, g.mixedBlock, slen1, slen2, f);
  static constexpr int kGroupStart[5] = {0, 6, 11, 16, 21};
  for (int group = 0; group < 4; ++group) {
    if (granule == 1 && side.scfsi[channel][group]) continue;  // granule 0's factors stay
    for (int sfb = kGroupStart[group]; sfb < kGroupStart[group + 1]; ++sfb)
      f.longFactors[sfb] = static_cast<uint8_t>(bits.Read(group < 2 ? slen1 : slen2));
  }
  f.longFactors[21] = 0;
}

void ReadMpeg2(LMP3BitReader& bits, const LMP3Header& header, const LMP3GranuleInfo& g, int channel,
               LMP3ScaleFactors& f) {
  const bool intensityRight = channel == 1 && header.channelMode == 1 && (header.modeExtension & 1);
  int slen[4] = {};
  int row = 0;
  f = LMP3ScaleFactors();
  Mpeg2Lengths(g.scalefacCompress, intensityRight, slen, row, f.preflag);
  f.intensityScale = g.scalefacCompress & 1;
  const int kind = g.IsShort() ? (g.mixedBlock ? 2 : 1) : 0;
  int index = 0;
  for (int group = 0; group < 4; ++group) {
    const int length = slen[group];
    const uint8_t illegal = static_cast<uint8_t>((1 << length) - 1);
    for (int n = 0; n < mp3tab::kNrOfSfb[row][kind][group]; ++n, ++index) {
      const uint8_t value = static_cast<uint8_t>(bits.Read(length));
      if (kind == 0 || (kind == 2 && index < 6)) {
        if (index < 22) f.longFactors[index] = value, f.illegalLong[index] = illegal;
        continue;
      }
      const int shortIndex = kind == 2 ? index - 6 + 9 : index;  // mixed: short bands from 3
      const int sfb = shortIndex / 3;
      if (sfb < 13) f.shortFactors[sfb][shortIndex % 3] = value, f.illegalShort[sfb] = illegal;
    }
  }
}

}  // namespace

void LMP3SideInfo::Parse(const uint8_t* bytes, int length, const LMP3Header& header) {
  LMP3BitReader bits(bytes, length);
  const bool mpeg1 = header.version == 0;
  const int channels = header.IsMono() ? 1 : 2;
  mainDataBegin = static_cast<int>(bits.Read(mpeg1 ? 9 : 8));
  bits.Skip(mpeg1 ? (channels == 1 ? 5 : 3) : (channels == 1 ? 1 : 2));  // private bits
  for (int ch = 0; ch < 2; ++ch)
    for (bool& reuse : scfsi[ch]) reuse = mpeg1 && ch < channels ? bits.ReadBit() : false;
  for (int gr = 0; gr < header.GetGranules(); ++gr)
    for (int ch = 0; ch < channels; ++ch) ParseGranule(bits, mpeg1, granule[gr][ch]);
}

LMP3Bands LMP3Bands::For(const LMP3Header& header) {
  const int row = std::clamp(header.version, 0, 2) * 3 + std::clamp(header.freqIndex, 0, 2);
  return {mp3tab::kLongBands[row], mp3tab::kShortBands[row], header.version == 0 ? 8 : 6};
}

void LMP3ReadScaleFactors(LMP3BitReader& bits, const LMP3Header& header, const LMP3SideInfo& side, int granule,
                          int channel, LMP3ScaleFactors& factors) {
  if (header.version == 0)
    ReadMpeg1(bits, side, granule, channel, factors);
  else
    ReadMpeg2(bits, header, side.granule[granule][channel], channel, factors);
}

LMP3SpectrumLayout LMP3MakeLayout(const LMP3GranuleInfo& g, const LMP3Bands& bands, int64_t endBit) {
  LMP3SpectrumLayout layout;
  layout.bigValueLines = std::min(g.bigValues * 2, 576);
  if (g.windowSwitching) {
    // Implicit regions (11172-3 2.4.2.7): region 1 starts after the first
    // three short bands of every window, or at long band 8 (region0_count 7).
    layout.region1Start = g.blockType == 2 && !g.mixedBlock ? 3 * bands.shortBands[3] : bands.longBands[8];
    layout.region2Start = 576;
  } else {
    layout.region1Start = bands.longBands[std::min(g.region0Count + 1, 22)];
    layout.region2Start = bands.longBands[std::min(g.region0Count + g.region1Count + 2, 22)];
  }
  for (int r = 0; r < 3; ++r) layout.tables[r] = g.tableSelect[r];
  layout.count1TableB = g.count1TableB;
  layout.endBit = endBit;
  return layout;
}
