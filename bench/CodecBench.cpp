// Decoding throughput of the compressed WAV readers, reported as multiples
// of real time ("x_realtime": seconds of sound decoded per second). Both
// decoders do the same work whatever the codes say, so the inputs are
// random codes behind valid block headers; MORVANE_BENCH_IMA and
// MORVANE_BENCH_GSM name other files to decode instead (to time another
// decoder on the very same file).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "soundfile/WaveFile.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A mono WAV file with the given format tag, block align and data; returns its path.
std::string WriteWav(const char* name, uint16_t tag, uint32_t rate, uint16_t blockAlign, uint16_t samplesPerBlock,
                     const Bytes& data) {
  Bytes b = {'R', 'I', 'F', 'F'};
  Put(b, 4 + 8 + 20 + 8 + static_cast<uint32_t>(data.size()), 4);
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<uint8_t>(c));
  Put(b, 20, 4);
  Put(b, tag, 2);
  Put(b, 1, 2);
  Put(b, rate, 4);
  Put(b, rate * blockAlign / samplesPerBlock, 4);
  Put(b, blockAlign, 2);
  Put(b, tag == 0x11 ? 4 : 0, 2);
  Put(b, 2, 2);
  Put(b, samplesPerBlock, 2);
  for (char c : std::string("data")) b.push_back(static_cast<uint8_t>(c));
  Put(b, static_cast<uint32_t>(data.size()), 4);
  b.insert(b.end(), data.begin(), data.end());
  const std::string path = std::string("/tmp/morvane-bench-") + name + ".wav";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
  }
  return path;
}

constexpr int kSeconds = 10;

std::string ImaFile(uint32_t rate) {
  // 1024-byte blocks (2041 samples), as written for 44.1 kHz sound.
  std::mt19937 rng(1);
  Bytes data;
  const int blocks = static_cast<int>(rate) * kSeconds / 2041;
  for (int k = 0; k < blocks; ++k) {
    Put(data, rng() & 0x3FFF, 2);
    data.push_back(static_cast<uint8_t>(rng() % 89));
    data.push_back(0);
    for (int i = 4; i < 1024; ++i) data.push_back(static_cast<uint8_t>(rng()));
  }
  return WriteWav("ima", 0x11, rate, 1024, 2041, data);
}

std::string GsmFile(uint32_t rate) {
  std::mt19937 rng(2);
  Bytes data(static_cast<size_t>(rate) * kSeconds / 320 * 65);
  for (uint8_t& v : data) v = static_cast<uint8_t>(rng());
  return WriteWav("gsm", 0x31, rate, 65, 320, data);
}

// Reads the whole file per iteration in requests of state.range(0) frames,
// as the player's worker thread does.
void DecodeWhole(benchmark::State& state, const std::string& path) {
  LSoundSource source = LWaveFile::OpenSource(path.c_str());
  if (path.rfind("/tmp/morvane-bench-", 0) == 0) std::remove(path.c_str());  // the reader keeps its handle
  if (source->GetError() != kSourceOk) {
    state.SkipWithError("cannot open the generated file");
    return;
  }
  const int block = static_cast<int>(state.range(0));
  std::vector<int> buffer(static_cast<size_t>(block));
  const int end = source->GetEndSample();
  for (auto _ : state) {
    source->Seek(0);
    for (int done = 0; done < end; done += block) source->Read(buffer.data(), block);
    benchmark::DoNotOptimize(buffer.data());
  }
  const double seconds = double(end) / source->GetSampleRate();
  state.counters["x_realtime"] = benchmark::Counter(seconds, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_IMADecode(benchmark::State& state) {
  const char* given = std::getenv("MORVANE_BENCH_IMA");
  DecodeWhole(state, given ? std::string(given) : ImaFile(44100));
}
void BM_GSMDecode(benchmark::State& state) {
  const char* given = std::getenv("MORVANE_BENCH_GSM");
  DecodeWhole(state, given ? std::string(given) : GsmFile(8000));
}

}  // namespace

BENCHMARK(BM_IMADecode)->Arg(512)->Arg(8192)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GSMDecode)->Arg(512)->Arg(8192)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
