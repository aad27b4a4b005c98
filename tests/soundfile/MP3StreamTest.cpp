// The MP3 reader's own structure around the decoder: headers, tags, length
// estimates, the standard tables, and damaged input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "soundfile/MP3File.h"
#include "soundfile/MP3Header.h"
#include "soundfile/MP3HuffmanTables.h"
#include "soundfile/MP3Source.h"
#include "tests/soundfile/MP3TestSupport.h"
#include "tests/support/TempDir.h"

namespace {

using test::Bytes;

void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

Bytes SilentFrames(int count, int bitRateIndex = 9, int freqIndex = 0, int channelMode = 0) {
  Bytes out;
  for (int i = 0; i < count; ++i) Append(out, test::SilentFrame(bitRateIndex, freqIndex, false, channelMode));
  return out;
}

LSoundSource OpenBytes(const test::TempDir& dir, const Bytes& bytes, bool scanToEnd = false) {
  const std::string path = dir.File("t.mp3");
  EXPECT_TRUE(test::WriteFile(path, bytes));
  return LMP3File::OpenSource(path.c_str(), scanToEnd);
}

// Reads until the source has delivered far past its end; true when it ended.
bool DrainToEnd(LSoundSourceBase& s, int maxFrames) {
  std::vector<int> block(8192 * 2);
  for (int done = 0; done < maxFrames; done += 8192) {
    s.Read(block.data(), 8192);
    for (int v : block) {
      if (v > s.GetPeak() || v < -s.GetPeak()) return false;
    }
    if (s.GetPositionSample() > s.GetEndSample() + 8192) return true;
  }
  return false;
}

TEST(MP3Tables, HuffmanCodesArePrefixFreeAndComplete) {
  for (int t = 0; t < 32; ++t) {
    const mp3huff::PairTable& p = mp3huff::kPairTables[t];
    if (p.size == 0) continue;
    const int n = p.size * p.size;
    double kraft = 0.0;
    for (int i = 0; i < n; ++i) {
      ASSERT_LT(p.codes[i] >> p.lengths[i], 1u) << "table " << t;
      kraft += std::ldexp(1.0, -p.lengths[i]);
      for (int j = 0; j < n; ++j) {
        if (i == j || p.lengths[j] < p.lengths[i]) continue;
        ASSERT_NE(p.codes[j] >> (p.lengths[j] - p.lengths[i]), p.codes[i]) << "table " << t << " " << i << " " << j;
      }
    }
    EXPECT_DOUBLE_EQ(kraft, 1.0) << "table " << t;
  }
}

// Frame lengths are checked by every stream the mpg123 comparison decodes
// (padded and not, MPEG-1, 2 and 2.5); here the headers that must not pass.
TEST(MP3Header, RejectedHeaders) {
  LMP3Header h;
  const uint8_t rejected[][4] = {
      {0xFF, 0xFD, 0x90, 0x00},  // Layer II
      {0xFF, 0xFB, 0x00, 0x00},  // free format
      {0xFF, 0xFB, 0xF0, 0x00},  // bit rate index 15
      {0xFF, 0xFB, 0x9C, 0x00},  // sampling frequency index 3
      {0xFE, 0xFB, 0x90, 0x00},  // no sync
  };
  for (const auto& bytes : rejected) EXPECT_FALSE(h.Parse(bytes));
}

// Headers and tags give the length at opening; reading to the end corrects
// it to the frames actually present.
TEST(MP3Stream, TagsAndEstimatesGiveTheLength) {
  Bytes xing = test::XingFrame(100, 576, 1000);
  Append(xing, SilentFrames(100));
  Bytes xingBeyondData = test::XingFrame(100, 0, 0);
  Append(xingBeyondData, SilentFrames(20));
  Bytes vbri = test::SilentFrame(9, 0, false, 3);  // mono: the side information is 17 bytes, VBRI stays at 36
  std::memcpy(vbri.data() + 36, "VBRI", 4);
  vbri[36 + 17] = 30;  // frame count, big-endian, after version, delay, quality and byte count
  Append(vbri, SilentFrames(30, 9, 0, 3));
  Bytes id3 = {'I', 'D', '3', 4, 0, 0, 0, 0, 0x02, 0x00};  // 256-byte ID3v2 tag
  id3.resize(10 + 256, 0xFF);                              // sync-like bytes inside the tag
  Append(id3, SilentFrames(40));
  Bytes v1(128, 0);
  std::memcpy(v1.data(), "TAG", 3);
  Append(id3, v1);
  Bytes trailing = SilentFrames(20);
  trailing.resize(trailing.size() + 20 * 417, 0);  // trailing bytes with no frames in them
  Bytes mpeg25;
  for (int i = 0; i < 10; ++i) Append(mpeg25, test::SilentFrame(1, 2, false, 3, 0));
  const struct {
    const char* what;
    Bytes file;
    int rate, channels, delay, endAtOpen, endAfterReading;
  } cases[] = {
      {"xing and lame", xing, 44100, 2, 576, 115200 - 576 - 1000, 113624},
      {"xing count beyond the data", xingBeyondData, 44100, 2, 0, 100 * 1152, 20 * 1152},
      {"vbri", vbri, 44100, 1, 0, 30 * 1152, 30 * 1152},
      {"id3 tags", id3, 44100, 2, 0, 40 * 1152, 40 * 1152},
      {"trailing bytes", trailing, 44100, 2, 0, 40 * 1152, 20 * 1152},
      {"mpeg 2.5 mono", mpeg25, 8000, 1, 0, 10 * 576, 10 * 576},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LSoundSource s = OpenBytes(dir, c.file);
    ASSERT_EQ(s->GetError(), kSourceOk);
    EXPECT_EQ(s->GetSampleRate(), c.rate);
    EXPECT_EQ(s->GetChannels(), c.channels);
    EXPECT_EQ(s->GetEndSample(), c.endAtOpen);
    EXPECT_EQ(s->GetPositionSample(), -c.delay);
    s->Seek(c.endAfterReading + 1000);  // frames the file does not hold: silence
    std::vector<int> block(c.channels * 1000, 1);
    s->Read(block.data(), 1000);
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](int v) { return v == 0; }));
    s->Seek(0);
    EXPECT_EQ(s->GetPositionSample(), 0);
    EXPECT_TRUE(DrainToEnd(*s, 200000));
    EXPECT_EQ(s->GetEndSample(), c.endAfterReading);
  }
}

TEST(MP3Stream, FilesWithoutFramesAreRefused) {
  test::TempDir dir;
  EXPECT_EQ(LMP3File::OpenSource(dir.File("missing.mp3").c_str(), false)->GetError(), kSourceOpenFailed);
  EXPECT_EQ(OpenBytes(dir, Bytes(100000, 0x55))->GetError(), kSourceInvalid);
  EXPECT_EQ(OpenBytes(dir, Bytes())->GetError(), kSourceInvalid);
  // Reserved version identifier in the first frame.
  EXPECT_EQ(OpenBytes(dir, test::SilentFrame(9, 0, false, 0, 1))->GetError(), kSourceInvalid);
  // A single frame is a stream.
  LSoundSource one = OpenBytes(dir, SilentFrames(1));
  EXPECT_EQ(one->GetError(), kSourceOk);
  EXPECT_EQ(one->GetEndSample(), 1152);
}

// A real stream split into frames, for splicing.
class MP3Splice : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::HaveTools()) GTEST_SKIP() << "sox, lame and mpg123 are needed";
    ASSERT_TRUE(test::EncodeSignal(m_dir.Path(), "sweep", 44100, 2, "-b 128 -t", m_dir.File("s.mp3")));
    const Bytes stream = test::ReadBytes(m_dir.File("s.mp3"));
    for (size_t at = 0; at + 4 <= stream.size();) {
      LMP3Header h;
      ASSERT_TRUE(h.Parse(stream.data() + at)) << at;
      const size_t length = std::min<size_t>(static_cast<size_t>(h.GetFrameLength()), stream.size() - at);
      m_frames.emplace_back(stream.begin() + static_cast<ptrdiff_t>(at),
                            stream.begin() + static_cast<ptrdiff_t>(at + length));
      at += length;
    }
    ASSERT_GT(m_frames.size(), 40u);
  }
  Bytes Join(size_t insertAfter, const Bytes& inserted) const {
    Bytes out;
    for (size_t i = 0; i < m_frames.size(); ++i) {
      Append(out, m_frames[i]);
      if (i == insertAfter) Append(out, inserted);
    }
    return out;
  }
  std::vector<int> DecodeAll(const Bytes& file, int frames) {
    LSoundSource s = OpenBytes(m_dir, file);
    EXPECT_EQ(s->GetError(), kSourceOk);
    return test::ReadFrames(s, frames, 4096);
  }

  test::TempDir m_dir;
  std::vector<Bytes> m_frames;
};

TEST_F(MP3Splice, GarbageAndFramesOfOtherStreamsAreSkipped) {
  const int frames = static_cast<int>(m_frames.size()) * 1152;
  const std::vector<int> clean = DecodeAll(Join(SIZE_MAX, {}), frames);
  Bytes garbage(777);
  std::mt19937 random(7);
  for (uint8_t& b : garbage) b = static_cast<uint8_t>(random() % 0xF0);  // never a sync byte
  EXPECT_EQ(DecodeAll(Join(10, garbage), frames), clean);
  // A 48000 Hz frame and a mono frame inside the stream.
  Bytes foreign = test::SilentFrame(9, 1, false, 0);
  Append(foreign, test::SilentFrame(9, 0, false, 3));
  EXPECT_EQ(DecodeAll(Join(20, foreign), frames), clean);
}

}  // namespace
