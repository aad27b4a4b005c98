// Decoding speed of the MP3 reader in multiples of real time, next to the
// mpg123 program decoding the same file (whole process, test mode).
// The test files are made once with sox and lame in a temporary folder.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "soundfile/MP3File.h"

namespace {

constexpr int kSeconds = 30;
constexpr int kRate = 44100;

class BenchFiles {
 public:
  BenchFiles() {
    char pattern[] = "/tmp/morvane-mp3bench-XXXXXX";
    if (!mkdtemp(pattern)) return;
    m_dir = pattern;
    const std::string wav = m_dir + "/music.wav";
    // A chord with tremolo: a steady load of long blocks with rich spectra.
    const std::string make = "sox -n -r 44100 -c 2 -b 16 " + wav + " synth " + std::to_string(kSeconds) +
                             " sine 220 sine 330 sine 440 sine 554 tremolo 6 40 gain -6 2>/dev/null";
    m_ok = std::system(make.c_str()) == 0 && std::system(("lame --quiet -b 128 " + wav + " " + Cbr()).c_str()) == 0 &&
           std::system(("lame --quiet -V 2 " + wav + " " + Vbr()).c_str()) == 0;
  }
  ~BenchFiles() {
    if (!m_dir.empty()) std::filesystem::remove_all(m_dir);
  }
  bool Ok() const { return m_ok; }
  std::string Cbr() const { return m_dir + "/cbr128.mp3"; }
  std::string Vbr() const { return m_dir + "/vbr.mp3"; }

 private:
  std::string m_dir;
  bool m_ok = false;
};

BenchFiles& Files() {
  static BenchFiles files;
  return files;
}

double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void SetRealTimeCounter(benchmark::State& state) {
  state.counters["x_realtime"] =
      benchmark::Counter(double(kSeconds) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void DecodeFile(benchmark::State& state, const std::string& path) {
  if (!Files().Ok()) {
    state.SkipWithError("sox and lame are needed");
    return;
  }
  std::vector<int> block(8192 * 2);
  for (auto _ : state) {
    LSoundSource s = LMP3File::OpenSource(path.c_str(), false);
    const int end = s->GetEndSample();
    for (int done = 0; done < end; done += 8192) s->Read(block.data(), 8192);
    benchmark::DoNotOptimize(block.data());
  }
  SetRealTimeCounter(state);
}

void BM_DecodeCbr128(benchmark::State& state) { DecodeFile(state, Files().Cbr()); }
void BM_DecodeVbr(benchmark::State& state) { DecodeFile(state, Files().Vbr()); }

void Mpg123Process(benchmark::State& state, const std::string& path) {
  if (!Files().Ok() || std::system("command -v mpg123 >/dev/null") != 0) {
    state.SkipWithError("mpg123 is needed");
    return;
  }
  const std::string command = "mpg123 -q -t " + path;
  for (auto _ : state) {
    // The child's own CPU time (user + system), comparable with ours.
    const double before = ChildCpuSeconds();
    benchmark::DoNotOptimize(std::system(command.c_str()));
    state.SetIterationTime(ChildCpuSeconds() - before);
  }
  SetRealTimeCounter(state);
}

void BM_Mpg123ProcessCbr128(benchmark::State& state) { Mpg123Process(state, Files().Cbr()); }
void BM_Mpg123ProcessVbr(benchmark::State& state) { Mpg123Process(state, Files().Vbr()); }

}  // namespace

BENCHMARK(BM_DecodeCbr128)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeVbr)->Unit(benchmark::kMillisecond);
// The child process's time is not the benchmark's CPU time: it is measured by hand.
BENCHMARK(BM_Mpg123ProcessCbr128)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_Mpg123ProcessVbr)->Unit(benchmark::kMillisecond)->UseManualTime();
