// What lame does not produce, on hand-made frames: intensity stereo (the left
// channel carries one spectral line, the right one only intensity
// positions, so the outputs must be the left signal scaled by the standard's
// ratios) and mixed blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "soundfile/MP3File.h"
#include "soundfile/MP3Header.h"
#include "tests/soundfile/MP3TestSupport.h"
#include "tests/support/TempDir.h"

namespace {

using test::Bytes;

class BitWriter {
 public:
  void Put(unsigned value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      if (m_bit % 8 == 0) m_bytes.push_back(0);
      if ((value >> i) & 1) m_bytes.back() |= static_cast<uint8_t>(0x80 >> (m_bit % 8));
      ++m_bit;
    }
  }
  Bytes Take(size_t size) {
    m_bytes.resize(size, 0);
    return m_bytes;
  }

 private:
  Bytes m_bytes;
  int m_bit = 0;
};

struct Channel {
  int part23Length;
  int bigValues;
  int scalefacCompress;
};

// Side information of one granule and channel: long blocks (or a mixed
// block), table 1 in every region.
void PutGranule(BitWriter& w, const Channel& c, bool mpeg1, bool mixed = false) {
  w.Put(static_cast<unsigned>(c.part23Length), 12);
  w.Put(static_cast<unsigned>(c.bigValues), 9);
  w.Put(210, 8);  // global gain: a quantised 1 requantises to 1.0
  w.Put(static_cast<unsigned>(c.scalefacCompress), mpeg1 ? 4 : 9);
  w.Put(mixed ? 1 : 0, 1);  // window switching
  if (mixed) {
    w.Put(2, 2);  // short blocks ...
    w.Put(1, 1);  // ... below two long subbands
    for (int r = 0; r < 2; ++r) w.Put(1, 5);
    w.Put(0, 9);  // subblock gains
  } else {
    for (int r = 0; r < 3; ++r) w.Put(1, 5);
    w.Put(15, 4);  // region0_count: region 0 covers the pairs
    w.Put(0, 3);
  }
  if (mpeg1) w.Put(0, 1);  // preflag
  w.Put(0, 2);             // scalefac_scale, count1table_select
}

// The left channel's main data: the pair (1, 0) of table 1, code "01", sign +.
void PutLeftLine(BitWriter& w) { w.Put(0b010, 3); }

// One joint-stereo frame (intensity on, mid/side off) at 128 kbit/s.
Bytes IntensityFrame(bool mpeg1, int position, bool intensityScale) {
  // MPEG-1 44100 Hz: 11 bands of 3 bits (scalefac_compress 4: slen1 3, slen2 0).
  // MPEG-2 22050 Hz: 7 bands of 3 bits (intensity scalefac_compress 216/217).
  const int versionId = mpeg1 ? 3 : 2;
  const int rateIndex = mpeg1 ? 9 : 12;  // 128 kbit/s in both tables
  Bytes frame = test::FrameHeader(rateIndex, 0, false, 1, versionId);
  frame[3] |= 0x10;  // mode extension: intensity stereo
  const int bands = mpeg1 ? 11 : 7;
  const Channel left{3, 1, 0};
  const Channel right{3 * bands, 0, mpeg1 ? 4 : 216 + (intensityScale ? 1 : 0)};
  const int granules = mpeg1 ? 2 : 1;
  BitWriter side;
  side.Put(0, mpeg1 ? 9 : 8);  // main_data_begin
  side.Put(0, mpeg1 ? 3 : 2);  // private bits
  if (mpeg1) side.Put(0, 8);   // scfsi
  for (int gr = 0; gr < granules; ++gr) {
    PutGranule(side, left, mpeg1);
    PutGranule(side, right, mpeg1);
  }
  BitWriter main;
  for (int gr = 0; gr < granules; ++gr) {
    PutLeftLine(main);
    for (int b = 0; b < bands; ++b) main.Put(static_cast<unsigned>(position), 3);
  }
  const Bytes sideBytes = side.Take(mpeg1 ? 32 : 17);
  frame.insert(frame.end(), sideBytes.begin(), sideBytes.end());
  LMP3Header header;
  header.Parse(frame.data());
  const int length = header.GetFrameLength();
  const Bytes mainBytes = main.Take(static_cast<size_t>(length) - frame.size());
  frame.insert(frame.end(), mainBytes.begin(), mainBytes.end());
  return frame;
}

std::vector<int> DecodeFrames(const Bytes& frame, int count) {
  test::TempDir dir;
  Bytes file;
  for (int i = 0; i < count; ++i) file.insert(file.end(), frame.begin(), frame.end());
  const std::string path = dir.File("f.mp3");
  EXPECT_TRUE(test::WriteFile(path, file));
  LSoundSource s = LMP3File::OpenSource(path.c_str(), false);
  EXPECT_EQ(s->GetError(), kSourceOk);
  return test::ReadFrames(s, s->GetEndSample(), 4096);
}

// The left channel's share of the output for each intensity position.
// MPEG-1: L = x tan / (1 + tan), R = x / (1 + tan) with tan = tan(position
// pi / 12). MPEG-2: one channel is scaled by 2^-1/4 (or 2^-1/2 with the
// scale bit) per step. Position 7 is illegal: the right channel stays as
// coded (silent).
TEST(MP3IntensityStereo, PositionsSplitTheSignal) {
  auto tangentShare = [](int p) {
    const double a = p * std::numbers::pi / 12;
    return std::sin(a) / (std::sin(a) + std::cos(a));
  };
  auto ratioShare = [](double left, double right) { return left / (left + right); };
  const double quarter = std::pow(2.0, -0.25);
  const struct {
    bool mpeg1;
    int position;
    bool scale;
    double leftShare;
  } cases[] = {
      {true, 0, false, 0.0},
      {true, 1, false, tangentShare(1)},
      {true, 3, false, tangentShare(3)},
      {true, 6, false, 1.0},
      {true, 7, false, 1.0},
      {false, 0, false, 0.5},
      {false, 1, false, ratioShare(quarter, 1)},
      {false, 2, false, ratioShare(1, quarter)},
      {false, 3, false, ratioShare(quarter * quarter, 1)},
      {false, 3, true, ratioShare(0.5, 1)},
      {false, 4, true, ratioShare(1, 0.5)},
      {false, 7, false, 1.0},
  };
  for (const auto& c : cases) {
    const std::vector<int> out = DecodeFrames(IntensityFrame(c.mpeg1, c.position, c.scale), 20);
    double left = 0.0, right = 0.0;
    for (size_t i = 0; i + 1 < out.size(); i += 2) left += std::abs(out[i]), right += std::abs(out[i + 1]);
    ASSERT_GT(left + right, 1e6);
    EXPECT_NEAR(left / (left + right), c.leftShare, 1e-4) << c.mpeg1 << " " << c.position << " " << c.scale;
  }
}

// A mono MPEG-1 frame whose spectrum is 1 at lines 0, 2, 4, 6 and 8 only,
// coded as a long block or as a mixed block.
Bytes MonoFrame(bool mixed) {
  Bytes frame = test::FrameHeader(9, 0, false, 3);
  BitWriter side;
  side.Put(0, 9 + 5 + 4);  // main_data_begin, private bits, scfsi
  const Channel channel{5 * 3, 5, 0};
  for (int gr = 0; gr < 2; ++gr) PutGranule(side, channel, true, mixed);
  BitWriter main;
  for (int gr = 0; gr < 2; ++gr)
    for (int pair = 0; pair < 5; ++pair) PutLeftLine(main);
  const Bytes sideBytes = side.Take(17);
  frame.insert(frame.end(), sideBytes.begin(), sideBytes.end());
  const Bytes mainBytes = main.Take(417 - frame.size());
  frame.insert(frame.end(), mainBytes.begin(), mainBytes.end());
  return frame;
}

// Lines 0 to 9 lie in the long part of a mixed block and away from the only
// alias butterflies, so a mixed block must sound like the long block.
TEST(MP3MixedBlocks, LongPartDecodesLikeALongBlock) {
  const std::vector<int> longBlocks = DecodeFrames(MonoFrame(false), 10);
  const std::vector<int> mixedBlocks = DecodeFrames(MonoFrame(true), 10);
  EXPECT_TRUE(std::any_of(longBlocks.begin(), longBlocks.end(), [](int v) { return std::abs(v) > 1000; }));
  EXPECT_EQ(mixedBlocks, longBlocks);
}

}  // namespace
