#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

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

// sox decodes through libgsm, the reference implementation of the
// standard: every sample must be its sample, on signals that drive each part
// of the decoder (resonant sweeps and squares the synthesis filter, noise
// the pulses, speech-like bursts the long-term predictor), in WAV framing.
TEST_F(GSMTest, BitExactWithSox) {
  if (!HaveSox()) GTEST_SKIP() << "sox not installed";
  const struct {
    Signal signal;
    int rate;
  } cases[] = {
      {Signal::Speech, 8000}, {Signal::Noise, 8000},   {Signal::Clicks, 8000},  {Signal::Sweep, 8000},
      {Signal::Square, 8000}, {Signal::Silence, 8000}, {Signal::Speech, 44100}, {Signal::Sweep, 16000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(SignalName(c.signal)) + " at " + std::to_string(c.rate));
    const std::string path = SoxEncode(c.signal, c.rate, c.rate / 2, "gsm-full-rate");
    const std::vector<int> reference = SoxDecode(path);
    LSoundSource src = OpenWav(path);
    ASSERT_EQ(src->GetError(), kSourceOk);
    EXPECT_EQ(src->GetSampleRate(), c.rate);
    const std::vector<int> got = ReadAll(src, kMaxReadFrames);
    ASSERT_EQ(got.size(), reference.size());
    const auto diff = std::mismatch(got.begin(), got.end(), reference.begin());
    EXPECT_TRUE(diff.first == got.end()) << "first difference at sample " << (diff.first - got.begin()) << ": "
                                         << *diff.first << " against " << *diff.second;
  }
}

TEST_F(GSMTest, LengthCountsWholeBlocks) {
  struct Case {
    size_t bytesInFile;
    int64_t declared;
    int end;
  } cases[] = {
      {700, -1, 3200},  // a partial block is ignored
      {64, -1, 0},
      {700, 0xFFFFFFFFll, 3200},  // length unknown: to the end of the file
      {700, 0xFFFFFF01ll, 3200},
      {650, 0xFFFFFF00ll, 2147483520},  // taken as declared, capped at whole blocks in an int
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.declared);
    LSoundSource src = OpenWav(Write("l.wav", CodecWav(GsmFormat(), RandomBytes(c.bytesInFile, 2), c.declared)));
    ASSERT_EQ(src->GetError(), kSourceOk);
    EXPECT_EQ(src->GetEndSample(), c.end);
  }
  // The header's channel count does not matter: one channel always.
  Bytes stereo = GsmFormat();
  stereo[2] = 2;
  EXPECT_EQ(OpenWav(Write("st.wav", CodecWav(stereo, RandomBytes(650, 3))))->GetChannels(), 1);
}

TEST_F(GSMTest, ReadsAndSeeksGiveTheSamplesOfAFreshDecode) {
  const Bytes data = RandomBytes(65 * 6, 5);
  LSoundSource src = OpenWav(Write("s.wav", CodecWav(GsmFormat(), data)));
  const std::vector<int> through = ReadAll(src, kMaxReadFrames);
  ASSERT_EQ(through.size(), 1920u);
  for (int block : {1, 7, 319, 320, 700}) {
    LSoundSource again = OpenWav(Write("s.wav", CodecWav(GsmFormat(), data)));
    EXPECT_EQ(ReadAll(again, block), through) << "block " << block;
  }
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
  for (int block : {7, 8192}) {
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
