#include "tests/soundfile/CodecTestUtil.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "soundfile/WaveFile.h"
#include "tests/support/SourceReader.h"

namespace test {

const char* SignalName(Signal s) {
  static const char* const names[] = {"sweep", "clicks", "noise", "silence", "square", "speech"};
  return names[static_cast<int>(s)];
}

namespace {

// A voiced vowel: a glottal pulse train with a wandering pitch through three
// formant resonators, under a syllable-like envelope. Close enough to speech
// for a speech codec's predictors to lock on as they would on a voice.
std::vector<double> Vowel(int rate, int frames) {
  std::vector<double> out(frames);
  const double formants[3][2] = {{700, 130}, {1220, 70}, {2600, 160}};  // Hz, bandwidth
  double state[3][2] = {};
  double phase = 0;
  for (int n = 0; n < frames; ++n) {
    const double t = double(n) / rate;
    const double pitch = 120 + 25 * std::sin(2 * M_PI * 1.3 * t);
    phase += pitch / rate;
    double x = 0;
    if (phase >= 1) {
      phase -= 1;
      x = 1;
    }
    for (int f = 0; f < 3; ++f) {
      const double r = std::exp(-M_PI * formants[f][1] / rate);
      const double c = 2 * r * std::cos(2 * M_PI * formants[f][0] / rate);
      const double y = x + c * state[f][0] - r * r * state[f][1];
      state[f][1] = state[f][0];
      state[f][0] = y;
      x = y * (1 - r);
    }
    const double envelope = 0.5 - 0.5 * std::cos(2 * M_PI * std::fmod(t, 0.4) / 0.4);
    out[n] = x * envelope;
  }
  double peak = 1e-9;
  for (double v : out) peak = std::max(peak, std::fabs(v));
  for (double& v : out) v /= peak;
  return out;
}

}  // namespace

std::vector<int32_t> MakeSignal(Signal s, int rate, int frames) {
  std::vector<int32_t> out(frames);
  std::mt19937 rng(1234);
  std::normal_distribution<double> gauss(0, 3000);
  const std::vector<double> vowel = s == Signal::Speech ? Vowel(rate, frames) : std::vector<double>();
  for (int n = 0; n < frames; ++n) {
    const double t = double(n) / rate;
    double v = 0;
    switch (s) {
      case Signal::Sweep: {
        // 50 Hz to a third of the rate, exponentially over the signal.
        const double f0 = 50, f1 = rate / 3.0, T = double(frames) / rate;
        const double k = std::log(f1 / f0) / T;
        v = 12000 * std::sin(2 * M_PI * f0 * (std::exp(k * t) - 1) / k);
        break;
      }
      case Signal::Clicks: {
        // A decaying 1 kHz burst every 50 ms, like a metronome click.
        const double local = std::fmod(t, 0.05);
        v = 14000 * std::exp(-local * 300) * std::sin(2 * M_PI * 1000 * local);
        break;
      }
      case Signal::Noise: v = gauss(rng); break;
      case Signal::Silence: v = 0; break;
      case Signal::Square: v = (std::fmod(t * 220, 1.0) < 0.5) ? 32767 : -32768; break;
      case Signal::Speech: v = 14000 * vowel[n]; break;
    }
    out[n] = static_cast<int32_t>(std::lround(std::clamp(v, -32768.0, 32767.0)));
  }
  return out;
}

bool HaveSox() {
  static const bool have = std::system("sox --version >/dev/null 2>&1") == 0;
  return have;
}

bool RunSox(const std::string& args) { return std::system(("sox -V1 " + args + " 2>/dev/null").c_str()) == 0; }

std::vector<int> SoxDecode(const std::string& path) {
  std::vector<int> out;
  const std::string raw = path + ".raw";
  if (!RunSox("'" + path + "' -t raw -e signed-integer -b 16 -c 1 '" + raw + "'")) return out;
  if (FILE* f = std::fopen(raw.c_str(), "rb")) {
    int16_t buf[4096];
    size_t got;
    while ((got = std::fread(buf, 2, 4096, f)) > 0)
      for (size_t i = 0; i < got; ++i) out.push_back(buf[i] * 16);
    std::fclose(f);
  }
  std::remove(raw.c_str());
  return out;
}

LSoundSource OpenWav(const std::string& path) { return LWaveFile::OpenSource(path.c_str()); }

std::vector<int> ReadAll(LSoundSource& source, int block, int frames) {
  if (frames < 0) frames = std::max(source->GetEndSample() - source->GetPositionSample(), 0);
  return ReadFrames(source, frames, block);
}

Bytes CodecWav(const Bytes& format, const Bytes& data, int64_t declaredData) {
  return Riff({Chunk("fmt ", format), Chunk("data", data, declaredData)});
}

Bytes RandomBytes(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (uint8_t& v : b) v = static_cast<uint8_t>(rng());
  return b;
}

std::string CodecFileTest::Write(const std::string& name, const Bytes& wav) {
  const std::string path = m_dir.File(name);
  EXPECT_TRUE(WriteFile(path, wav));
  return path;
}

std::string CodecFileTest::SoxEncode(Signal s, int rate, int frames, const std::string& encoding) {
  const std::string pcm = Write("in.wav", PcmWav(MakeSignal(s, rate, frames), 1, rate, 16));
  const std::string out = m_dir.File("encoded.wav");
  // No dither: the same signal always gives the same file.
  EXPECT_TRUE(RunSox("-D '" + pcm + "' -e " + encoding + " '" + out + "'"));
  return out;
}

}  // namespace test
