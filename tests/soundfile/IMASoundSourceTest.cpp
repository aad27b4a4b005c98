#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "soundfile/IMASoundSource.h"
#include "tests/soundfile/CodecTestUtil.h"

using namespace test;

namespace {

Bytes ImaFormat(int blockAlign, int channels = 1, uint32_t rate = 8000) {
  Bytes f = FormatBody(0x11, static_cast<uint16_t>(channels), rate, 4, static_cast<uint16_t>(blockAlign), true, 2);
  PutLE(f, blockAlign >= 4 ? (blockAlign - 4) * 2 + 1 : 1, 2);  // samples per block
  return f;
}

// Blocks of valid headers (step index 0..88) and random codes.
Bytes RandomImaData(int blockAlign, int blocks, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b;
  for (int k = 0; k < blocks; ++k) {
    PutLE(b, rng() & 0xFFFF, 2);
    b.push_back(static_cast<uint8_t>(rng() % 89));
    b.push_back(0);
    for (int i = 4; i < blockAlign; ++i) b.push_back(static_cast<uint8_t>(rng()));
  }
  return b;
}

class IMATest : public CodecFileTest {};

}  // namespace

TEST_F(IMATest, MatchesSoxBitExactly) {
  if (!HaveSox()) GTEST_SKIP() << "sox not installed";
  for (Signal s : {Signal::Sweep, Signal::Clicks, Signal::Noise, Signal::Silence, Signal::Square, Signal::Speech}) {
    for (int rate : {8000, 44100}) {
      SCOPED_TRACE(std::string(SignalName(s)) + " at " + std::to_string(rate));
      const std::string path = SoxEncode(s, rate, rate / 4, "ima-adpcm");
      const std::vector<int> reference = SoxDecode(path);
      LSoundSource src = OpenWav(path);
      ASSERT_EQ(src->GetError(), kSourceOk);
      EXPECT_EQ(src->GetSampleRate(), rate);
      EXPECT_EQ(src->GetChannels(), 1);
      ASSERT_EQ(src->GetEndSample(), static_cast<int>(reference.size()));
      EXPECT_EQ(ReadAll(src, kMaxReadFrames), reference);
    }
  }
  // Random codes on any block align drive the predictor and step index into their clamps.
  for (int blockAlign : {8, 36, 1024, 4100}) {
    SCOPED_TRACE(blockAlign);
    const std::string path = Write("random.wav", CodecWav(ImaFormat(blockAlign), RandomImaData(blockAlign, 5, 7)));
    const std::vector<int> reference = SoxDecode(path);
    LSoundSource src = OpenWav(path);
    ASSERT_EQ(src->GetEndSample(), 5 * ((blockAlign - 4) * 2 + 1));
    ASSERT_EQ(reference.size(), static_cast<size_t>(src->GetEndSample()));
    EXPECT_EQ(ReadAll(src, 333), reference);
  }
}

TEST_F(IMATest, ReadsAndSeeksGiveTheSamplesOfReadingThrough) {
  // 2052-byte blocks hold 4097 samples; 32768-byte ones 65529, more than
  // one request can reach. Odd request sizes end on half a byte; the next
  // read must start with the held byte's high nibble.
  for (int blockAlign : {256, 2052, 32768}) {
    const std::string path = Write("s.wav", CodecWav(ImaFormat(blockAlign), RandomImaData(blockAlign, 3, 5)));
    LSoundSource src = OpenWav(path);
    const int end = src->GetEndSample();
    const int spb = (blockAlign - 4) * 2 + 1;
    const std::vector<int> through = ReadAll(src, kMaxReadFrames);
    for (int block : {1, 7, 504, 505}) {
      LSoundSource again = OpenWav(path);
      EXPECT_EQ(ReadAll(again, block), through) << "block " << block;
    }
    for (int target : {0, 1, spb - 1, spb, spb + 1, spb + 2, 2 * spb - 3, spb + 60000, end - 5}) {
      if (target < 0 || target > end) continue;
      SCOPED_TRACE("block align " + std::to_string(blockAlign) + ", seek " + std::to_string(target));
      src->Seek(target);
      EXPECT_EQ(src->GetPositionSample(), target);
      const int n = std::min(300, end - target);
      const std::vector<int> got = ReadAll(src, 7, n);
      EXPECT_TRUE(std::equal(got.begin(), got.end(), through.begin() + target));
    }
    // Outside the data: silence, with the position kept.
    for (int target : {-10, end + 1}) {
      src->Seek(target);
      const std::vector<int> got = ReadAll(src, 4, 8);
      EXPECT_EQ(src->GetPositionSample(), target + 8);
      EXPECT_EQ(got, std::vector<int>(8, 0));
      if (target < 0) {
        const std::vector<int> next = ReadAll(src, 4, 4);
        EXPECT_TRUE(std::equal(next.begin() + 2, next.end(), through.begin())) << "leading silence then data";
      }
    }
  }
}

TEST_F(IMATest, LengthComesFromDataSizeAndBlockAlign) {
  struct Case {
    int blockAlign;
    uint32_t dataBytes;
    int end;
  } cases[] = {
      {256, 1000, 3 * 505 + 2 * 232 - 7},        // partial last block of 232 bytes
      {256, 3, 0},                               // shorter than a block header
      {256, 4, 1},                               // a header alone is one sample
      {0, 10, 2},                                // align below 4 is 4: one sample per block
      {40000, 70000, 2 * 65529 + 2 * 4464 - 7},  // align capped at 32768
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.blockAlign) + "/" + std::to_string(c.dataBytes));
    LSoundSource src = OpenWav(Write("l.wav", CodecWav(ImaFormat(c.blockAlign), Bytes(c.dataBytes, 0x77))));
    ASSERT_EQ(src->GetError(), kSourceOk);
    EXPECT_EQ(src->GetEndSample(), c.end);
  }
  // A length left unknown by a streaming writer reads to the end of the file.
  LSoundSource open = OpenWav(Write("u.wav", CodecWav(ImaFormat(256), Bytes(1000, 0x77), 0xFFFFFFFFll)));
  EXPECT_EQ(open->GetEndSample(), 1972);
  // More frames than an int counts: capped, and reading at the cap is silence.
  LSoundSource huge = OpenWav(Write("h.wav", CodecWav(ImaFormat(256), Bytes(1000, 0x77), 0x7F000000)));
  ASSERT_EQ(huge->GetEndSample(), 0x7FFFFFFF);
  huge->Seek(0x7FFFFFFF);
  EXPECT_EQ(ReadAll(huge, 3, 3), std::vector<int>(3, 0));
  EXPECT_EQ(huge->GetPositionSample(), 0x7FFFFFFF);
}

// sox's random codes drive the predictor and step index into their clamps;
// a step index byte beyond the table (which sox resets otherwise) is taken
// as the last entry, never read past.
TEST_F(IMATest, AStepIndexBeyondTheTableIsItsLastEntry) {
  std::vector<int> decoded[2];
  for (int i = 0; i < 2; ++i) {
    Bytes data = RandomImaData(8, 2, 3);
    data[10] = i == 0 ? 200 : 88;
    LSoundSource src = OpenWav(Write("h.wav", CodecWav(ImaFormat(8), data)));
    decoded[i] = ReadAll(src, 3);
  }
  ASSERT_EQ(decoded[0].size(), 18u);
  EXPECT_EQ(decoded[0], decoded[1]);
}

TEST_F(IMATest, TruncatedFilesDecodeWhatIsThereThenSilence) {
  const Bytes full = RandomImaData(256, 4, 9);
  LSoundSource whole = OpenWav(Write("full.wav", CodecWav(ImaFormat(256), full)));
  const std::vector<int> expected = ReadAll(whole, 512);

  // The data chunk claims four blocks; the file ends 88 bytes into the third.
  Bytes cut = CodecWav(ImaFormat(256), full);
  cut.resize(cut.size() - (full.size() - 600));
  LSoundSource src = OpenWav(Write("cut.wav", cut));
  ASSERT_EQ(src->GetError(), kSourceOk);
  ASSERT_EQ(src->GetEndSample(), 4 * 505);
  for (int block : {7, 8192}) {
    src->Seek(0);
    const std::vector<int> got = ReadAll(src, block);
    const int present = 2 * 505 + 1 + 2 * 84;
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + present, expected.begin())) << block;
    EXPECT_TRUE(std::all_of(got.begin() + present, got.end(), [](int v) { return v == 0; })) << block;
    EXPECT_EQ(src->GetPositionSample(), 4 * 505);
  }
  // Cut inside the format chunk: not a valid file.
  Bytes header = CodecWav(ImaFormat(256), full);
  header.resize(30);
  EXPECT_EQ(OpenWav(Write("hdr.wav", header))->GetError(), kSourceInvalid);
  // Stereo is not supported.
  LSoundSource stereo = OpenWav(Write("st.wav", CodecWav(ImaFormat(512, 2), RandomImaData(512, 2, 1))));
  EXPECT_EQ(stereo->GetError(), kSourceUnsupportedEncoding);
  EXPECT_EQ(stereo->GetEndSample(), 0);
}
