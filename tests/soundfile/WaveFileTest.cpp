#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "soundfile/PCMFile.h"
#include "soundfile/WaveFile.h"
#include "soundfile/WaveWriter.h"
#include "tests/support/SourceReader.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

using test::Bytes;

namespace {

LSoundSource OpenBytes(const test::TempDir& dir, const Bytes& bytes, const char* name = "t.wav") {
  const std::string path = dir.File(name);
  EXPECT_TRUE(test::WriteFile(path, bytes));
  return LWaveFile::OpenSource(path.c_str());
}

Bytes Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  return test::Chunk("fmt ", test::FormatBody(tag, channels, rate, bits));
}

}  // namespace

// Stored sample -> internal value at the edges sox never writes (clipping,
// NaN, 12 bits in 16, extensible float); ordinary values and the extensible
// integer layout are checked against sox below.
TEST(WaveFile, ConvertsEachSampleTypeByItsRule) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    const char* what;
    Bytes fmt;
    Bytes data;
    std::vector<int> expected;
  } cases[] = {
      {"u8", Fmt(1, 1, 8000, 8), test::PcmData({0, 128, 255, 1}, 8), {-524288, 0, 520192, -520192}},
      {"s16", Fmt(1, 1, 8000, 16), test::PcmData({-32768, 32767, 1, -1}, 16), {-524288, 524272, 16, -16}},
      {"s12 in 16", Fmt(1, 1, 8000, 12), test::PcmData({-32768, 16}, 16), {-524288, 256}},
      {"s24", Fmt(1, 1, 8000, 24), test::PcmData({0x7FFFFF, -8388608, 15, -1}, 24), {524287, -524288, 0, -1}},
      {"s32",
       Fmt(1, 1, 8000, 32),
       test::PcmData({0x800, 0x7FF, INT32_MAX, INT32_MIN, -2049}, 32),
       {1, 0, 524288, -524288, -1}},
      {"f32",
       Fmt(3, 1, 8000, 32),
       test::FloatData({0.5f, -0.9999999f, 1.0f, 5000.0f, -5000.0f, nan}),
       {262144, -524287, 524288, INT32_MAX, INT32_MIN, 0}},
      {"extensible f32",
       test::Chunk("fmt ", test::ExtensibleBody(3, 1, 8000, 32)),
       test::FloatData({-0.5f}),
       {-262144}},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    LSoundSource s = OpenBytes(dir, test::Riff({c.fmt, test::Chunk("data", c.data)}));
    ASSERT_EQ(s->GetError(), 0) << c.what;
    ASSERT_EQ(s->GetEndSample(), static_cast<int>(c.expected.size())) << c.what;
    EXPECT_EQ(test::ReadFrames(s, s->GetEndSample(), 8192), c.expected) << c.what;
  }
}

// Reads and seeks anywhere, before the start and past the end included:
// the frames there, silence outside them, the position moved on by the read.
TEST(WaveFile, ReadsAndSeeksPadWithSilence) {
  test::TempDir dir;
  std::vector<int32_t> ramp;
  for (int i = 1; i <= 100; ++i) ramp.push_back(i);
  LSoundSource s = OpenBytes(dir, test::PcmWav(ramp, 1, 44100, 16));
  ASSERT_EQ(s->GetEndSample(), 100);
  for (int start : {0, -10, 90, 50, 1000}) {
    s->Seek(start);
    std::vector<int> expected;
    for (int f = start; f < start + 20; ++f) expected.push_back(f >= 0 && f < 100 ? (f + 1) * 16 : 0);
    EXPECT_EQ(test::ReadFrames(s, 20, 7), expected) << start;
    EXPECT_EQ(s->GetPositionSample(), start + 20);
  }
}

TEST(WaveFile, ChunkLayoutsAndSizes) {
  test::TempDir dir;
  const Bytes fmt = Fmt(1, 2, 22050, 16);
  const Bytes data = test::PcmData({1, 2, 3, 4, 5, 6}, 16);
  const Bytes list = test::Chunk("LIST", Bytes(7, 'x'));  // odd: padded
  const Bytes fact = test::Chunk("fact", Bytes(4, 0));
  // A non-RIFF top-level chunk before the RIFF header is skipped.
  Bytes junkFirst = test::Chunk("JUNK", Bytes(10, 0));
  const Bytes riff = test::Riff({fmt, test::Chunk("data", data)});
  junkFirst.insert(junkFirst.end(), riff.begin(), riff.end());
  // An 18-byte fmt with cbSize 0, then an odd 17-byte one with a pad byte.
  const Bytes fmt18 = test::Chunk("fmt ", test::FormatBody(1, 2, 22050, 16, 0, true, 0));
  Bytes body17 = test::FormatBody(1, 2, 22050, 16);
  body17.push_back(0);
  const struct {
    const char* what;
    Bytes file;
    int frames;
  } cases[] = {
      {"list before fmt, fact before data", test::Riff({list, fmt, fact, test::Chunk("data", data)}), 3},
      {"junk chunk before RIFF", junkFirst, 3},
      {"fmt of 18 bytes", test::Riff({fmt18, test::Chunk("data", data)}), 3},
      {"odd fmt with pad", test::Riff({test::Chunk("fmt ", body17), test::Chunk("data", data)}), 3},
      {"partial last frame", test::Riff({fmt, test::Chunk("data", test::PcmData({1, 2, 3, 4, 5}, 16))}), 2},
      {"unknown length", test::Riff({fmt, test::Chunk("data", data, 0xFFFFFFFF)}), 3},
  };
  for (const auto& c : cases) {
    LSoundSource s = OpenBytes(dir, c.file);
    ASSERT_EQ(s->GetError(), 0) << c.what;
    EXPECT_EQ(s->GetEndSample(), c.frames) << c.what;
    EXPECT_EQ(test::ReadFrames(s, 1, 1), (std::vector<int>{16, 32})) << c.what;
  }
  // Opened by header, whatever the name.
  EXPECT_EQ(OpenBytes(dir, test::Riff({fmt, test::Chunk("data", data)}), "sound.mp3")->GetError(), 0);
}

TEST(WaveFile, RefusesBadFilesWithTheRightCode) {
  test::TempDir dir;
  const Bytes data = test::Chunk("data", Bytes(8, 0));
  Bytes riffx = test::Riff({Fmt(1, 1, 8000, 16), data});
  riffx[3] = 'X';
  Bytes truncated = test::Riff({Fmt(1, 1, 8000, 16), data});
  truncated.resize(30);
  const struct {
    const char* what;
    Bytes file;
    int code;
  } cases[] = {
      {"empty", {}, 3},
      {"short header", Bytes{'R', 'I', 'F', 'F', 0, 0}, 3},
      {"not RIFF", riffx, 3},
      {"no fmt", test::Riff({data}), 3},
      {"no data", test::Riff({Fmt(1, 1, 8000, 16)}), 3},
      {"truncated in fmt", truncated, 3},
      {"fmt too small", test::Riff({test::Chunk("fmt ", Bytes(14, 1)), data}), 3},
      {"fmt too large", test::Riff({test::Chunk("fmt ", Bytes(8194, 1)), data}), 3},
      {"huge chunk to skip", test::Riff({test::Chunk("LIST", Bytes(4, 0), 0x7FFFFFFF), Fmt(1, 1, 8000, 16), data}), 3},
      {"0 channels", test::Riff({Fmt(1, 0, 8000, 16), data}), 3},
      {"256 channels", test::Riff({Fmt(1, 256, 8000, 16), data}), 3},
      {"rate 0", test::Riff({Fmt(1, 1, 0, 16), data}), 3},
      {"rate 196001", test::Riff({Fmt(1, 1, 196001, 16), data}), 3},
      {"64-bit float", test::Riff({Fmt(3, 1, 8000, 64), data}), 7},
      {"7 bits", test::Riff({Fmt(1, 1, 8000, 7), data}), 3},
      {"A-law", test::Riff({Fmt(6, 1, 8000, 8), data}), 7},
      {"extensible A-law", test::Riff({test::Chunk("fmt ", test::ExtensibleBody(6, 1, 8000, 8)), data}), 7},
      {"MS ADPCM", test::Riff({Fmt(2, 1, 8000, 4), data}), 5},
      {"unknown extensible", test::Riff({test::Chunk("fmt ", test::ExtensibleBody(0x1234, 1, 8000, 16)), data}), 5},
      {"extensible without its fields",
       test::Riff({test::Chunk("fmt ", test::FormatBody(0xFFFE, 1, 8000, 16, 0, true, 22)), data}), 5},
      {"unknown tag", test::Riff({Fmt(0x4242, 1, 8000, 16), data}), 5},
  };
  for (const auto& c : cases) {
    LSoundSource s = OpenBytes(dir, c.file);
    EXPECT_EQ(s->GetError(), c.code) << c.what;
    std::vector<int> out(16, 9);
    s->Read(out.data(), 16);  // reading a failed source is harmless
  }
  EXPECT_EQ(LWaveFile::OpenSource("/nonexistent/x.wav")->GetError(), kSourceOpenFailed);
  EXPECT_EQ(LWaveFile::OpenSource(nullptr)->GetError(), kSourceOpenFailed);
}

// What is not a regular file is refused at once, as such: a FIFO without a
// writer would otherwise block the opening thread for good.
TEST(WaveFile, RefusesWhatIsNotARegularFileWithoutBlocking) {
  test::TempDir dir;
  ASSERT_EQ(mkfifo(dir.File("fifo.wav").c_str(), 0600), 0);
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", dir.File("socket.wav").c_str());
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  for (const std::string& path : {dir.Path(), dir.File("fifo.wav"), dir.File("socket.wav"), std::string("/dev/zero")})
    EXPECT_EQ(LWaveFile::OpenSource(path.c_str())->GetError(), kSourceNotRegularFile) << path;
  close(sock);
}

// A data chunk that claims more than the file holds: the frames that exist
// decode, the rest of every read is silence, never stale memory.
TEST(WaveFile, TruncatedDataReadsSilencePastTheEnd) {
  test::TempDir dir;
  Bytes file = test::Riff({Fmt(1, 2, 8000, 16), test::Chunk("data", test::PcmData({1, 2, 3, 4, 5}, 16), 4000)});
  LSoundSource s = OpenBytes(dir, file);
  ASSERT_EQ(s->GetEndSample(), 1000);
  std::vector<int> out(20, 12345);
  s->Read(out.data(), 10);
  EXPECT_EQ(out[0], 16);
  EXPECT_EQ(out[3], 64);
  for (int i = 4; i < 20; ++i) EXPECT_EQ(out[i], 0) << i;
  EXPECT_EQ(s->GetPositionSample(), 2);
}

// Files written by sox (a separate implementation of the format), including
// the extensible layout it uses for more than two channels or deep samples,
// read in blocks of 7 frames and in one read longer than a staging buffer:
// the result must not depend on how the consumer slices its reads.
TEST(WaveFile, MatchesSoxDecodes) {
  if (std::system("command -v sox >/dev/null 2>&1") != 0) GTEST_SKIP() << "sox not installed";
  test::TempDir dir;
  const struct {
    const char* encoding;
    int bits, channels;
  } cases[] = {{"unsigned-integer", 8, 1}, {"signed-integer", 16, 2}, {"signed-integer", 24, 1},
               {"signed-integer", 32, 2},  {"signed-integer", 16, 6}, {"floating-point", 32, 2}};
  for (const auto& c : cases) {
    const std::string wav = dir.File("sox.wav"), raw = dir.File("sox.raw");
    const std::string gen = "sox -n -r 32000 -c " + std::to_string(c.channels) + " -e " + c.encoding + " -b " +
                            std::to_string(c.bits) + " " + wav + " synth 0.3 sine 440 sine 1000 gain -1";
    ASSERT_EQ(std::system(gen.c_str()), 0) << gen;
    const bool isFloat = std::string(c.encoding) == "floating-point";
    const std::string conv = "sox " + wav + (isFloat ? " -t f32 " : " -t s32 ") + raw;
    ASSERT_EQ(std::system(conv.c_str()), 0);
    std::ifstream in(raw, std::ios::binary);
    std::vector<int32_t> ref;
    for (uint8_t b[4]; in.read(reinterpret_cast<char*>(b), 4);)
      ref.push_back(int32_t(b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24));
    std::vector<int> expected;
    for (int32_t r : ref) {
      float f;
      std::memcpy(&f, &r, 4);
      // sox widens losslessly to 32 bits; 32-bit data rounds to nearest.
      expected.push_back(isFloat        ? static_cast<int>(f * 524288.0f)
                         : c.bits == 32 ? static_cast<int>((int64_t(r) + 2048) >> 12)
                                        : r >> 12);
    }
    for (int block : {7, 9600}) {
      LSoundSource s = LWaveFile::OpenSource(wav.c_str());
      ASSERT_EQ(s->GetError(), 0) << c.encoding << c.bits;
      EXPECT_EQ(test::ReadFrames(s, s->GetEndSample(), block), expected) << c.encoding << c.bits << " block " << block;
    }
  }
}

TEST(WaveFile, ReadingAtTheIntLimitHoldsThePosition) {
  // A data size of nearly 2^31 frames lets a seek land next to the int limit.
  test::TempDir dir;
  const std::string path = dir.File("huge.wav");
  test::WriteFile(path, test::Riff({test::Chunk("fmt ", test::FormatBody(1, 1, 8000, 8)),
                                    test::Chunk("data", Bytes(100, 0x80), 0x7FFFFF9C)}));
  LSoundSource s = LWaveFile::OpenSource(path.c_str());
  ASSERT_EQ(s->GetEndSample(), 0x7FFFFF9C);
  s->Seek(0x7FFFFFFE);
  EXPECT_EQ(test::ReadFrames(s, 3, 3), std::vector<int>(3, 0));
  EXPECT_EQ(s->GetPositionSample(), 0x7FFFFFFF);
}

// The writer's file appears whole under its name and only there: a link
// someone put at a name derived from the target is never used, and an
// abandoned file leaves nothing behind.
TEST(WaveWriter, WritesThroughANewFileOnly) {
  test::TempDir dir;
  const std::string out = dir.File("click.wav"), victim = dir.File("victim");
  ASSERT_TRUE(test::WriteFile(victim, Bytes{'k'}));
  ASSERT_EQ(::symlink(victim.c_str(), (out + ".part").c_str()), 0);
  const mode_t mask = ::umask(077);
  LWaveWriter w, abandoned;
  const int samples[2] = {0, 1000};
  EXPECT_TRUE(w.Open(out, 8000, 1, LWaveWriter::Format::S16) && w.Write(samples, 2) && w.Finish()) << w.Error();
  EXPECT_TRUE(abandoned.Open(dir.File("gone.wav"), 8000, 1, LWaveWriter::Format::S16));
  abandoned.Abandon();
  ::umask(mask);
  EXPECT_EQ(LWaveFile::OpenSource(out.c_str())->GetEndSample(), 2);
  struct stat st {};
  EXPECT_TRUE(::stat(out.c_str(), &st) == 0 && (st.st_mode & 0777) == 0600);
  EXPECT_EQ(std::filesystem::file_size(victim), 1u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);  // victim, link, click.wav
}

// Every format at its saturation points and over the whole int range, in
// writes that straddle the writer's buffer: 16 bits round halves up, 24 and
// 32 bits scale, all saturate; float is the value over 2^19.
TEST(WaveWriter, ConvertsAndSaturatesEveryFormat) {
  const std::vector<int> edges = {0,      7,       8,       -8,      -9,      524263,  524264,   524280,  524287,
                                  524288, -524280, -524281, -524288, -524289, 4194304, -4194305, INT_MAX, INT_MIN};
  std::vector<int> in = edges;
  in.insert(in.end(), edges.begin(), edges.end());
  for (uint32_t i = 0; in.size() < 300007; ++i) in.push_back(static_cast<int>(i * 2654435761u));
  const struct {
    LWaveWriter::Format format;
    int bytes;
    double scale, lo, hi;  // lo == hi: float
  } formats[] = {{LWaveWriter::Format::S16, 2, 1 / 16.0, -32768, 32767},
                 {LWaveWriter::Format::S24, 3, 16, -8388608, 8388607},
                 {LWaveWriter::Format::S32, 4, 4096, -2147483648.0, 2147483647},
                 {LWaveWriter::Format::F32, 4, 1 / 524288.0, 0, 0}};
  for (const auto& f : formats) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    LWaveWriter w;
    ASSERT_TRUE(w.OpenStream(file, 8000, 1, f.format, in.size()));
    for (size_t i = 0; i < edges.size(); ++i) ASSERT_TRUE(w.Write(&in[i], 1));  // one by one, then in bulk
    const size_t first = edges.size() + 100000;
    ASSERT_TRUE(w.Write(in.data() + edges.size(), 100000) && w.Write(in.data() + first, int(in.size() - first)));
    ASSERT_TRUE(w.Finish()) << w.Error();
    std::vector<uint8_t> bytes(in.size() * f.bytes);
    std::fseek(file, kWaveHeaderBytes, SEEK_SET);
    ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
    for (size_t i = 0; i < in.size(); ++i) {
      uint32_t u = 0;
      for (int b = 0; b < f.bytes; ++b) u |= uint32_t(bytes[i * f.bytes + b]) << (8 * b);
      uint32_t expected;
      if (f.lo == f.hi) {
        const float v = static_cast<float>(in[i] * f.scale);
        std::memcpy(&expected, &v, 4);
      } else {
        const double v = std::clamp(std::floor(in[i] * f.scale + (f.bytes == 2 ? 0.5 : 0)), f.lo, f.hi);
        expected = static_cast<uint32_t>(static_cast<int64_t>(v)) & (0xFFFFFFFFu >> (32 - 8 * f.bytes));
      }
      ASSERT_EQ(u, expected) << "sample " << in[i] << " in " << f.bytes << " bytes";
    }
  }
}
