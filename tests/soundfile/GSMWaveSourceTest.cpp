#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

#include "soundfile/GSMDecoder.h"
#include "soundfile/GSMWaveSource.h"
#include "tests/soundfile/CodecTestUtil.h"

using namespace test;

namespace {

Bytes GsmFormat(uint32_t rate = 8000) {
  Bytes f = FormatBody(0x31, 1, rate, 0, kGSMBlockBytes, true, 2);
  PutLE(f, kGSMBlockSamples, 2);  // samples per block
  return f;
}

class GSMTest : public CodecFileTest {};

}  // namespace

TEST_F(GSMTest, AgreesWithSoxAcrossSignalsAndRates) {
  // The reference is the standard decoder's 16-bit output. This decoder
  // keeps the bits below the standard's 13-bit truncation, leaves headroom
  // above full scale, and uses its own rounding in log-area-ratio decoding,
  // pulse scaling and de-emphasis; resonant signals (low frequencies for the
  // rate) magnify those small differences the most. Speech at the codec's
  // own 8 kHz must stay 40 dB clear.
  if (!HaveSox()) GTEST_SKIP() << "sox not installed";
  struct Case {
    Signal signal;
    int rate;
    double minDb;
  } cases[] = {
      {Signal::Speech, 8000, 40}, {Signal::Speech, 16000, 33}, {Signal::Speech, 44100, 20},
      {Signal::Noise, 8000, 50},  {Signal::Noise, 16000, 50},  {Signal::Noise, 44100, 50},
      {Signal::Clicks, 8000, 40}, {Signal::Clicks, 16000, 35}, {Signal::Clicks, 44100, 23},
      {Signal::Sweep, 8000, 30},  {Signal::Sweep, 16000, 26},  {Signal::Sweep, 44100, 28},
      // The reference clips where this decoder has headroom.
      {Signal::Square, 8000, 20}, {Signal::Square, 44100, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(SignalName(c.signal)) + " at " + std::to_string(c.rate));
    const std::string path = SoxEncode(c.signal, c.rate, c.rate / 2, "gsm-full-rate");
    const std::vector<int> reference = ToInternal(SoxDecode(path));
    LSoundSource src = OpenWav(path);
    ASSERT_EQ(src->GetError(), kSourceOk);
    EXPECT_EQ(src->GetSampleRate(), c.rate);
    ASSERT_EQ(src->GetEndSample(), static_cast<int>(reference.size()));
    const double db = SignalToDifferenceDb(reference, ReadAll(src, kMaxReadFrames));
    std::printf("  GSM %-7s %5d Hz: %5.1f dB signal to difference\n", SignalName(c.signal), c.rate, db);
    EXPECT_GE(db, c.minDb);
  }
  // Silence differs by the 13-bit truncation alone: less than 8 x 16.
  const std::string path = SoxEncode(Signal::Silence, 8000, 4000, "gsm-full-rate");
  const std::vector<int> reference = ToInternal(SoxDecode(path));
  LSoundSource src = OpenWav(path);
  const std::vector<int> got = ReadAll(src, kMaxReadFrames);
  ASSERT_EQ(got.size(), reference.size());
  for (size_t i = 0; i < got.size(); ++i) ASSERT_LT(std::abs(got[i] - reference[i]), 8 * 16) << i;
}

TEST(GSMDecoder, UnpacksBothFramesOfABlockLeastSignificantBitFirst) {
  // Packs two frames of random field values by the documented layout and
  // reads them back.
  std::mt19937 rng(11);
  LGSMFrame frames[2];
  unsigned char block[kGSMBlockBytes] = {};
  int bit = 0;
  auto put = [&](uint8_t& field, int width) {
    field = static_cast<uint8_t>(rng() & ((1u << width) - 1));
    for (int i = 0; i < width; ++i, ++bit)
      if (field >> i & 1) block[bit / 8] = static_cast<unsigned char>(block[bit / 8] | 1 << (bit % 8));
  };
  const int larBits[8] = {6, 6, 5, 5, 4, 4, 3, 3};
  for (LGSMFrame& f : frames) {
    for (int i = 0; i < 8; ++i) put(f.lar[i], larBits[i]);
    for (LGSMSubFrame& sub : f.sub) {
      put(sub.lag, 7);
      put(sub.gainIndex, 2);
      put(sub.gridPosition, 2);
      put(sub.amplitude, 6);
      for (uint8_t& p : sub.pulses) put(p, 3);
    }
  }
  ASSERT_EQ(bit, 520);
  LGSMFrame got[2];
  DecodeWave1(block, got[0]);
  DecodeWave2(block, got[1]);
  for (int k = 0; k < 2; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(0, std::memcmp(got[k].lar, frames[k].lar, 8));
    for (int j = 0; j < 4; ++j) {
      EXPECT_EQ(got[k].sub[j].lag, frames[k].sub[j].lag);
      EXPECT_EQ(got[k].sub[j].gainIndex, frames[k].sub[j].gainIndex);
      EXPECT_EQ(got[k].sub[j].gridPosition, frames[k].sub[j].gridPosition);
      EXPECT_EQ(got[k].sub[j].amplitude, frames[k].sub[j].amplitude);
      EXPECT_EQ(0, std::memcmp(got[k].sub[j].pulses, frames[k].sub[j].pulses, 13));
    }
  }
}

TEST_F(GSMTest, LengthCountsWholeBlocks) {
  struct Case {
    size_t bytesInFile;
    int64_t declared;
    int end;
  } cases[] = {
      {650, -1, 3200},
      {700, -1, 3200},                 // a partial block is ignored
      {64, -1, 0},
      {700, 0xFFFFFFFFll, 3200},       // length unknown: to the end of the file
      {700, 0xFFFFFF01ll, 3200},
      {650, 0xFFFFFF00ll, 2147483520},  // taken as declared, capped at whole blocks in an int
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.declared);
    LSoundSource src = OpenWav(Write("l.wav", CodecWav(GsmFormat(), RandomBytes(c.bytesInFile, 2), c.declared)));
    ASSERT_EQ(src->GetError(), kSourceOk);
    EXPECT_EQ(src->GetEndSample(), c.end);
    EXPECT_EQ(src->GetPeak(), 0xFFFE0);
  }
  // The header's channel count does not matter: one channel always.
  Bytes stereo = GsmFormat();
  stereo[2] = 2;
  EXPECT_EQ(OpenWav(Write("st.wav", CodecWav(stereo, RandomBytes(650, 3))))->GetChannels(), 1);
}

TEST_F(GSMTest, ReadsAreIndependentOfRequestSize) {
  const std::string path = Write("r.wav", CodecWav(GsmFormat(), RandomBytes(65 * 30, 4)));
  LSoundSource whole = OpenWav(path);
  const std::vector<int> expected = ReadAll(whole, kMaxReadFrames);
  ASSERT_EQ(expected.size(), 9600u);
  for (int block : {1, 7, 319, 320, 512, 700, 8192}) {
    LSoundSource src = OpenWav(path);
    EXPECT_EQ(ReadAll(src, block), expected) << "block " << block;
  }
  LSoundSource src = OpenWav(path);
  std::vector<int> split = ReadAll(src, 100, 100);
  const std::vector<int> rest = ReadAll(src, 500, 500);
  split.insert(split.end(), rest.begin(), rest.end());
  EXPECT_TRUE(std::equal(split.begin(), split.end(), expected.begin()));
}

TEST_F(GSMTest, SeekRestartsTheDecoderAtTheTargetBlock) {
  const Bytes data = RandomBytes(65 * 6, 5);
  LSoundSource src = OpenWav(Write("s.wav", CodecWav(GsmFormat(), data)));
  const std::vector<int> through = ReadAll(src, kMaxReadFrames);
  // What a fresh decoder makes of the data from block b on.
  auto fromBlock = [&](int b) {
    LSoundSource tail = OpenWav(Write("t.wav", CodecWav(GsmFormat(), Bytes(data.begin() + 65 * b, data.end()))));
    return ReadAll(tail, kMaxReadFrames);
  };
  for (int target : {330, 640, 1919, 0, 5}) {
    SCOPED_TRACE(target);
    src->Seek(target);
    EXPECT_EQ(src->GetPositionSample(), target);
    const std::vector<int> got = ReadAll(src, 7);
    const std::vector<int> fresh = fromBlock(target / 320);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), fresh.begin() + target % 320));
  }
  src->Seek(-5);
  std::vector<int> got = ReadAll(src, 3, 15);
  EXPECT_EQ(std::vector<int>(got.begin(), got.begin() + 5), std::vector<int>(5, 0));
  EXPECT_TRUE(std::equal(got.begin() + 5, got.end(), through.begin()));
  for (int target : {1920, 1923}) {
    src->Seek(target);
    EXPECT_EQ(ReadAll(src, 8, 16), std::vector<int>(16, 0));
    EXPECT_EQ(src->GetPositionSample(), target + 16);
  }
}

TEST_F(GSMTest, TruncatedFilesDecodeWholeBlocksThenSilence) {
  const Bytes data = RandomBytes(65 * 10, 6);
  LSoundSource full = OpenWav(Write("full.wav", CodecWav(GsmFormat(), data)));
  const std::vector<int> expected = ReadAll(full, kMaxReadFrames);
  Bytes cut = CodecWav(GsmFormat(), data);
  cut.resize(cut.size() - 65 * 10 + 65 * 3 + 40);  // three and a bit blocks remain
  for (int block : {1, 320, 8192}) {
    LSoundSource src = OpenWav(Write("cut.wav", cut));
    ASSERT_EQ(src->GetEndSample(), 3200);
    const std::vector<int> got = ReadAll(src, block);
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + 960, expected.begin())) << block;
    EXPECT_TRUE(std::all_of(got.begin() + 960, got.end(), [](int v) { return v == 0; })) << block;
  }
  Bytes header = CodecWav(GsmFormat(), data);
  header.resize(24);
  EXPECT_EQ(OpenWav(Write("hdr.wav", header))->GetError(), kSourceInvalid);
}

TEST_F(GSMTest, AnyBytesDecodeWithinThePeakBound) {
  std::mt19937 rng(43);
  for (int round = 0; round < 30; ++round) {
    const Bytes data = RandomBytes(rng() % 20000, static_cast<unsigned>(rng()));
    const int64_t declared = (round % 3 == 0) ? int64_t(rng()) : -1;
    LSoundSource src = OpenWav(Write("any.wav", CodecWav(GsmFormat(), data, declared)));
    ASSERT_EQ(src->GetError(), kSourceOk);
    EXPECT_LE(LargestSampleOverRandomReads(src, rng, 100000), 0xFFFE0);
  }
}
