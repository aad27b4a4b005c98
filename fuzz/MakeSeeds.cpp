// Writes seed corpora for the fuzz targets into OUTPUT/<target>/.
//   fuzz_make_seeds OUTPUT
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/WavWriter.h"

namespace {

std::vector<int32_t> Sine(int frames, int channels, int bits) {
  std::vector<int32_t> s;
  const double full = std::ldexp(1.0, bits - 1) - 1;
  for (int f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) {
      const double v = std::sin(0.07 * f * (c + 1)) * full;
      s.push_back(bits == 8 ? static_cast<int32_t>(v) + 128 : static_cast<int32_t>(v));
    }
  return s;
}

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

void ArgSeeds(const std::string& dir) {
  const char* lines[] = {
      "--tempo\0" "120\0" "--measure\0" "7(3+4)\0" "--subdiv\0" "2\0" "-o\0" "x.wav",
      "--bars\0" "4\0" "--accent-db\0" "-6\0" "--format\0" "f32\0" "-o\0" "y.wav",
      "--seconds\0" "1.5\0" "--click\0" "c.wav\0" "--output\0" "z.wav",
      "--help",
  };
  const size_t lengths[] = {sizeof("--tempo\0" "120\0" "--measure\0" "7(3+4)\0" "--subdiv\0" "2\0" "-o\0" "x.wav") - 1,
                            sizeof("--bars\0" "4\0" "--accent-db\0" "-6\0" "--format\0" "f32\0" "-o\0" "y.wav") - 1,
                            sizeof("--seconds\0" "1.5\0" "--click\0" "c.wav\0" "--output\0" "z.wav") - 1, 6};
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
  WaveSeeds(out + "/fuzz_wavefile");
  ArgSeeds(out + "/fuzz_render_args");
  return 0;
}
