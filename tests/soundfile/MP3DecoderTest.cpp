// Layer III decoding against mpg123 as the reference, over MPEG-1, MPEG-2
// and MPEG-2.5 rates, channel modes, constant and variable bit rates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>

#include "soundfile/MP3File.h"
#include "soundfile/MP3Source.h"
#include "soundfile/WaveFile.h"
#include "tests/soundfile/MP3TestSupport.h"
#include "tests/support/TempDir.h"

namespace {

struct OracleCase {
  const char* name;
  const char* signal;
  int rate;
  int channels;
  const char* lameArgs;
};

// clang-format off
const OracleCase kOracleCases[] = {
    {"Mpeg1Mono64",          "sweep",  44100, 1, "-b 64"},
    {"Mpeg1Joint128",        "sweep",  44100, 2, "-b 128 -m j"},
    {"Mpeg1Stereo320At48k",  "sweep",  48000, 2, "-b 320 -m s"},
    {"Mpeg1MidSide96At32k",  "sweep",  32000, 2, "-b 96 -m f"},
    {"Mpeg1DualChannel",     "sweep",  44100, 2, "-b 192 -m d"},
    {"Mpeg1VbrXingLame",     "sweep",  44100, 2, "-V 2"},
    {"Mpeg1ShortBlocks",     "clicks", 44100, 2, "-b 128"},
    {"Mpeg2Joint64At22k",    "sweep",  22050, 2, "-b 64 -m j"},
    {"Mpeg2MonoVbrAt24k",    "sweep",  24000, 1, "-V 4"},
    {"Mpeg2ShortBlocks16k",  "clicks", 16000, 2, "-b 48"},
    {"Mpeg25Mono8At8k",      "sweep",   8000, 1, "-b 8"},
    {"Mpeg25ShortBlocks11k", "clicks", 11025, 2, "-V 5"},
    {"Mpeg25Stereo32At12k",  "sweep",  12000, 2, "-b 32 -m s"},
    {"Id3TagsNoInfoFrame",   "sweep",  44100, 2, "-b 128 -t --add-id3v2 --tt Title --ta Artist"},
    {"VbrWithoutTag",        "sweep",  44100, 2, "-V 3 -t --add-id3v2 --tt Title"},
};
// clang-format on

// 11172-4 full accuracy: RMS error at most 2^-15 / sqrt(12), no sample off by more than 2^-14.
const double kMaxRms = std::ldexp(1.0, -15) / std::sqrt(12.0);
const double kMaxPeak = std::ldexp(1.0, -14);

// One case's stream, wrapped as WAV, and mpg123's decode of it; made once
// per test program and shared by the tests of the case.
struct EncodedCase {
  test::TempDir dir;
  std::string wav;
  std::vector<float> reference;
  uint64_t streamSum = 0;
  bool ok = false;
};

// FNV-1a over the values' bytes.
template <typename T>
uint64_t Checksum(const std::vector<T>& values) {
  uint64_t h = 14695981039346656037ull;
  const auto* p = reinterpret_cast<const unsigned char*>(values.data());
  for (size_t i = 0; i < values.size() * sizeof(T); ++i) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

// Checksums of each case's stream and of the samples the decoder gave for it
// before its speed work: the decoder must keep giving exactly these. Another
// lame or sox makes another stream, which then has nothing to compare with.
struct Recorded {
  uint64_t stream, samples;
};
// clang-format off
const std::map<std::string, Recorded> kRecorded = {
    {"Mpeg1Mono64", {0x42240c76016a1be9ull, 0x55599a789f828817ull}},
    {"Mpeg1Joint128", {0xb1ab0d4a7cdad784ull, 0x5f6dcaf319da0c7aull}},
    {"Mpeg1Stereo320At48k", {0xeb1ea50f0f7cff28ull, 0x826e78510ce72c29ull}},
    {"Mpeg1MidSide96At32k", {0x0f1c92be7d8bc6c8ull, 0x3c15045f42d2aad5ull}},
    {"Mpeg1DualChannel", {0xa6b72b6a5cef6971ull, 0x6ce6cb2c3e2a4275ull}},
    {"Mpeg1VbrXingLame", {0x14f4d6f88f21d2b8ull, 0x8d30aa90c2f6d1bfull}},
    {"Mpeg1ShortBlocks", {0xe63a183beb73e6baull, 0x6ef168cb7aed37f2ull}},
    {"Mpeg2Joint64At22k", {0x708d8cd611d1dcafull, 0x79749c47f400f8f4ull}},
    {"Mpeg2MonoVbrAt24k", {0x8a9f2b3c38a0f70bull, 0x11f6488a41665e2aull}},
    {"Mpeg2ShortBlocks16k", {0x1c48d76250b20a4bull, 0x929792b7e2a9182dull}},
    {"Mpeg25Mono8At8k", {0xb90b6b66c257e7d2ull, 0x5871f24d2b59ad0dull}},
    {"Mpeg25ShortBlocks11k", {0x1fdf99027018133eull, 0xa0765b4f49efa9ffull}},
    {"Mpeg25Stereo32At12k", {0x671b6763178c667dull, 0xa9435b57e86705f0ull}},
    {"Id3TagsNoInfoFrame", {0x80035d8abf127d43ull, 0x5f6dcaf319da0c7aull}},
    {"VbrWithoutTag", {0x4c1eb5a921806ea8ull, 0x6e1f1a636ba18d12ull}},
};
// clang-format on

const EncodedCase& Encode(const OracleCase& c) {
  static std::map<std::string, std::unique_ptr<EncodedCase>> cache;
  std::unique_ptr<EncodedCase>& entry = cache[c.name];
  if (entry) return *entry;
  entry = std::make_unique<EncodedCase>();
  const std::string mp3 = entry->dir.File("s.mp3");
  if (!test::EncodeSignal(entry->dir.Path(), c.signal, c.rate, c.channels, c.lameArgs, mp3)) return *entry;
  entry->reference = test::ReferenceDecode(mp3, entry->dir.Path());
  entry->streamSum = Checksum(test::ReadBytes(mp3));
  entry->wav = entry->dir.File("s.wav");
  const int frames = static_cast<int>(entry->reference.size()) / c.channels;
  entry->ok = !entry->reference.empty() &&
              test::WriteFile(entry->wav, test::WrapMp3InWav(test::ReadBytes(mp3), c.rate, c.channels, 128000, frames));
  return *entry;
}

class MP3Oracle : public ::testing::TestWithParam<OracleCase> {
 protected:
  void SetUp() override {
    if (!test::HaveTools()) GTEST_SKIP() << "sox, lame and mpg123 are needed";
    const EncodedCase& encoded = Encode(GetParam());
    ASSERT_TRUE(encoded.ok);
    m_wav = encoded.wav;
    m_reference = &encoded.reference;
    m_streamSum = encoded.streamSum;
  }
  int ReferenceFrames() const { return static_cast<int>(m_reference->size()) / GetParam().channels; }

  std::string m_wav;
  const std::vector<float>* m_reference = nullptr;
  uint64_t m_streamSum = 0;
};

TEST_P(MP3Oracle, FullAccuracyAgainstReference) {
  const OracleCase& c = GetParam();
  LSoundSource s = LWaveFile::OpenSource(m_wav.c_str());
  ASSERT_EQ(s->GetError(), kSourceOk);
  EXPECT_EQ(s->GetSampleRate(), c.rate);
  EXPECT_EQ(s->GetChannels(), c.channels);
  auto* mp3 = dynamic_cast<LMP3Source*>(s.Get());
  ASSERT_NE(mp3, nullptr);
  // Right after opening the source stands at the first decoded sample.
  EXPECT_EQ(s->GetPositionSample(), -mp3->GetEncoderDelay());
  // Requests of 577 frames end at a different point of every granule: the
  // output must not depend on how the consumer slices its reads.
  const int frames = ReferenceFrames();
  const std::vector<int> ours = test::ReadFrames(s, frames + 4 * 1152, 577);
  // Every frame was decoded, and the end is where the frames end.
  EXPECT_EQ(s->GetEndSample() + mp3->GetEncoderDelay() + mp3->GetEndPadding(), frames);
  const test::Accuracy a = test::Compare(ours, *m_reference);
  std::printf("[ accuracy ] %-22s max %.3g rms %.3g (signal rms %.3g)\n", c.name, a.maxAbs, a.rms, a.signalRms);
  EXPECT_LE(a.rms, kMaxRms);
  EXPECT_LE(a.maxAbs, kMaxPeak);
  EXPECT_GT(a.signalRms, 0.01);  // the comparison saw audio, not two silences
  for (size_t i = static_cast<size_t>(frames) * c.channels; i < ours.size(); ++i) ASSERT_EQ(ours[i], 0);
}

TEST_P(MP3Oracle, SamplesEqualTheRecordedDecode) {
  const auto recorded = kRecorded.find(GetParam().name);
  LSoundSource s = LWaveFile::OpenSource(m_wav.c_str());
  const uint64_t samples = Checksum(test::ReadFrames(s, ReferenceFrames(), 577));
  ASSERT_NE(recorded, kRecorded.end());
  if (recorded->second.stream != m_streamSum) GTEST_SKIP() << "this lame or sox encodes another stream";
  EXPECT_EQ(samples, recorded->second.samples);
}

TEST_P(MP3Oracle, ScanToEndKnowsAVariableLengthAtOnce) {
  LSoundSource s = LMP3File::OpenSource(m_wav.c_str(), true);
  auto* mp3 = dynamic_cast<LMP3Source*>(s.Get());
  ASSERT_NE(mp3, nullptr);
  // Constant bit rates need no walk: their length stays computed and the
  // source stays at its first decoded sample.
  if (mp3->IsVariableBitRate()) {
    EXPECT_EQ(s->GetEndSample() + mp3->GetEncoderDelay() + mp3->GetEndPadding(), ReferenceFrames());
    EXPECT_EQ(s->GetPositionSample(), 0);
  } else {
    EXPECT_EQ(s->GetPositionSample(), -mp3->GetEncoderDelay());
    s->Seek(0);
  }
  LSoundSource plain = LWaveFile::OpenSource(m_wav.c_str());
  plain->Seek(0);
  EXPECT_EQ(test::ReadFrames(s, 5000, 1000), test::ReadFrames(plain, 5000, 5000));
}

TEST_P(MP3Oracle, SeekGivesTheSamplesOfAContinuousDecode) {
  const int channels = GetParam().channels;
  LSoundSource s = LWaveFile::OpenSource(m_wav.c_str());
  auto* mp3 = dynamic_cast<LMP3Source*>(s.Get());
  ASSERT_NE(mp3, nullptr);
  const int delay = mp3->GetEncoderDelay();
  const int frames = ReferenceFrames();
  const std::vector<int> continuous = test::ReadFrames(s, frames, 8192);
  // An estimated end may still lie past the frames: use what was decoded.
  const int end = std::min(s->GetEndSample(), frames - delay);
  for (int target : {end / 2, 0, 1, 575, 1152 - delay, 1153, 5000, 12345, end / 3, end - 700, 3 * end / 4}) {
    if (target < 0 || target >= end) continue;
    s->Seek(target);
    EXPECT_EQ(s->GetPositionSample(), target);
    const int count = std::min(1500, frames - (target + delay));
    const std::vector<int> got = test::ReadFrames(s, count, 700);
    const auto from = continuous.begin() + static_cast<ptrdiff_t>(target + delay) * channels;
    EXPECT_TRUE(std::equal(got.begin(), got.end(), from)) << "seek to " << target;
  }
  // Before the start: silence, then the stream's first samples.
  s->Seek(-delay - 100);
  const std::vector<int> early = test::ReadFrames(s, 1100, 1100);
  EXPECT_TRUE(std::all_of(early.begin(), early.begin() + 100 * channels, [](int v) { return v == 0; }));
  EXPECT_TRUE(std::equal(early.begin() + 100 * channels, early.end(), continuous.begin()));
  // Past the end: silence.
  s->Seek(end + 5000);
  const std::vector<int> late = test::ReadFrames(s, 300, 300);
  EXPECT_TRUE(std::all_of(late.begin(), late.end(), [](int v) { return v == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Streams, MP3Oracle, ::testing::ValuesIn(kOracleCases),
                         [](const ::testing::TestParamInfo<OracleCase>& info) { return std::string(info.param.name); });

}  // namespace
