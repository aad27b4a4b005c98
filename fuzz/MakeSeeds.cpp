// Writes seed corpora for the fuzz targets into OUTPUT/<target>/.
//   fuzz_make_seeds OUTPUT
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/WavWriter.h"

namespace {

std::vector<int32_t> Sine(int frames, int channels, int bits) { return test::PcmSine(frames, channels, bits, 0.07); }

void WaveSeeds(const std::string& dir) {
  int n = 0;
  auto put = [&](const test::Bytes& b) { test::WriteFile(dir + "/seed" + std::to_string(n++) + ".wav", b); };
  for (int bits : {8, 16, 24, 32})
    for (int channels : {1, 2}) put(test::PcmWav(Sine(64, channels, bits), channels, 8000, bits));
  std::vector<float> f(64);
  for (size_t i = 0; i < f.size(); ++i) f[i] = static_cast<float>(std::sin(0.1 * i));
  put(test::Riff({test::Chunk("fmt ", test::FormatBody(3, 1, 8000, 32)), test::Chunk("data", test::FloatData(f))}));
  put(test::Riff({test::Chunk("fmt ", test::ExtensibleBody(1, 2, 8000, 24)),
                  test::Chunk("data", test::PcmData(Sine(32, 2, 24), 24))}));
  put(test::Riff({test::Chunk("LIST", test::Bytes(5, 'x')), test::Chunk("fmt ", test::FormatBody(1, 1, 8000, 16)),
                  test::Chunk("fact", test::Bytes(4, 0)), test::Chunk("data", test::PcmData(Sine(32, 1, 16), 16))}));
  // Compressed headers, so that mutations reach those readers quickly.
  for (uint16_t tag : {0x11, 0x31, 0x55})
    put(test::Riff({test::Chunk("fmt ", test::FormatBody(tag, 1, 8000, 4, tag == 0x31 ? 65 : 256, true, 2)),
                    test::Chunk("data", test::Bytes(520, 0x5A))}));
}

// MPEG audio: frames of silence at several versions and modes, a Xing/LAME
// tag frame, and frames whose side information asks for work.
void Mp3Seeds(const std::string& dir) {
  int n = 0;
  auto frame = [](uint8_t b1, uint8_t b2, uint8_t b3, size_t length, uint8_t fill) {
    test::Bytes f(length, 0);
    f[0] = 0xFF, f[1] = b1, f[2] = b2, f[3] = b3;
    for (size_t i = 4; i < 40 && i < length; ++i) f[i] = fill;
    return f;
  };
  auto put = [&](const test::Bytes& one, int count, const test::Bytes& head) {
    test::Bytes b = head;
    for (int i = 0; i < count; ++i) b.insert(b.end(), one.begin(), one.end());
    test::WriteFile(dir + "/seed" + std::to_string(n++) + ".mp3", b);
  };
  put(frame(0xFB, 0x90, 0x00, 417, 0x00), 6, {});         // MPEG-1 128 kbit/s stereo
  put(frame(0xFB, 0x90, 0x40 | 0x30, 417, 0x5A), 6, {});  // joint stereo, both modes
  put(frame(0xF3, 0x80, 0xC0, 208, 0x21), 6, {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 8, 1, 2, 3, 4, 5, 6, 7, 8});
  put(frame(0xE3, 0x18, 0xC0, 72, 0x00), 6, {});  // MPEG-2.5 8000 Hz mono
  test::Bytes xing = frame(0xFB, 0x90, 0x00, 417, 0x00);
  const char* tag = "Xing\0\0\0\x0F\0\0\0\x05";
  std::copy(tag, tag + 12, xing.begin() + 36);
  const char* lame = "LAME3.100";
  std::copy(lame, lame + 9, xing.begin() + 156);
  xing[156 + 21] = 0x24, xing[156 + 22] = 0x00, xing[156 + 23] = 0x64;  // delay 576, padding 100
  test::Bytes tagged = xing;
  put(frame(0xFB, 0x90, 0x00, 417, 0x00), 5, tagged);
}

void ArgSeeds(const std::string& dir) {
  const char* lines[] = {
      "--tempo\0"
      "120\0"
      "--measure\0"
      "7(3+4)\0"
      "--subdiv\0"
      "2\0"
      "-o\0"
      "x.wav",
      "--bars\0"
      "4\0"
      "--accent-db\0"
      "-6\0"
      "--format\0"
      "f32\0"
      "-o\0"
      "y.wav",
      "--seconds\0"
      "1.5\0"
      "--click\0"
      "c.wav\0"
      "--output\0"
      "z.wav",
      "--help",
  };
  const size_t lengths[] = {sizeof("--tempo\0"
                                   "120\0"
                                   "--measure\0"
                                   "7(3+4)\0"
                                   "--subdiv\0"
                                   "2\0"
                                   "-o\0"
                                   "x.wav") -
                                1,
                            sizeof("--bars\0"
                                   "4\0"
                                   "--accent-db\0"
                                   "-6\0"
                                   "--format\0"
                                   "f32\0"
                                   "-o\0"
                                   "y.wav") -
                                1,
                            sizeof("--seconds\0"
                                   "1.5\0"
                                   "--click\0"
                                   "c.wav\0"
                                   "--output\0"
                                   "z.wav") -
                                1,
                            6};
  for (int i = 0; i < 4; ++i) {
    const std::string s(lines[i], lengths[i]);
    test::WriteFile(dir + "/seed" + std::to_string(i), test::Bytes(s.begin(), s.end()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_make_seeds OUTPUT\n");
    return 2;
  }
  const std::string out = argv[1];
  std::filesystem::create_directories(out + "/fuzz_wavefile");
  std::filesystem::create_directories(out + "/fuzz_render_args");
  std::filesystem::create_directories(out + "/fuzz_mp3");
  Mp3Seeds(out + "/fuzz_mp3");
  WaveSeeds(out + "/fuzz_wavefile");
  ArgSeeds(out + "/fuzz_render_args");
  return 0;
}
