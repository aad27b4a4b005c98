// Synthesises the shipped metronome sounds: short percussive clicks, mono,
// 16-bit, 44100 Hz. Deterministic, so regenerating gives identical files.
//   morvane-gensounds OUTPUT_FOLDER
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "soundfile/WaveWriter.h"

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

struct Partial {
  double hz;
  double amplitude;
  double decayMs;  // time constant of the exponential decay
};

struct Voice {
  const char* file;
  double lengthMs;
  double peak;     // linear, of full scale
  double noiseMs;  // length of the noise burst that gives the stick attack
  std::vector<Partial> partials;
};

std::vector<double> Synthesise(const Voice& v) {
  const int frames = static_cast<int>(v.lengthMs * kRate / 1000.0);
  std::vector<double> out(static_cast<size_t>(frames));
  unsigned int lcg = 12345;
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double ms = t * 1000.0;
    double s = 0;
    for (const Partial& p : v.partials) s += p.amplitude * std::exp(-ms / p.decayMs) * std::sin(2 * kPi * p.hz * t);
    lcg = lcg * 1664525u + 1013904223u;
    const double noise = (static_cast<double>(lcg >> 8) / 8388608.0) - 1.0;
    if (ms < v.noiseMs) s += 0.35 * noise * (1.0 - ms / v.noiseMs);
    const double attack = std::min(1.0, ms / 0.4);                  // no step at the start
    const double release = std::min(1.0, (v.lengthMs - ms) / 4.0);  // none at the end
    out[static_cast<size_t>(i)] = s * attack * std::max(0.0, release);
  }
  double max = 0;
  for (double s : out) max = std::max(max, std::fabs(s));
  for (double& s : out) s *= v.peak / max;
  return out;
}

bool Write(const std::string& folder, const Voice& v) {
  const std::vector<double> samples = Synthesise(v);
  std::vector<int> internal;
  internal.reserve(samples.size());
  for (double s : samples) internal.push_back(static_cast<int>(std::lround(s * 32767.0)) * 16);
  LWaveWriter w;
  const std::string path = folder + "/" + v.file;
  if (!w.Open(path, kRate, 1, LWaveWriter::Format::S16) ||
      !w.Write(internal.data(), static_cast<int>(internal.size())) || !w.Finish()) {
    std::fprintf(stderr, "morvane-gensounds: %s: %s\n", path.c_str(), w.Error().c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: morvane-gensounds OUTPUT_FOLDER\n");
    return 2;
  }
  // Accent: bright and loud, a high wood-block knock. Beat: the same family a
  // fifth lower and softer. Click: a soft, short tick for subdivisions.
  const Voice voices[] = {
      {"accent.wav", 80, 0.89, 1.5, {{1975, 1.0, 14}, {3950, 0.45, 6}, {5925, 0.2, 3}}},
      {"beat.wav", 70, 0.56, 1.2, {{1318, 1.0, 12}, {2636, 0.35, 5}, {3954, 0.12, 3}}},
      {"click.wav", 30, 0.28, 0.6, {{2637, 1.0, 4}, {5274, 0.3, 2}}},
  };
  for (const Voice& v : voices)
    if (!Write(argv[1], v)) return 1;
  return 0;
}
