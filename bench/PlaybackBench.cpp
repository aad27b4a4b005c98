// The playback path: the render callback draining the ring, and the whole
// player on a clock-paced capture device. "realtime" is audio seconds per
// second of CPU at the stream's rate.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <dirent.h>
#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/CaptureOutputUnit.h"
#include "audio/SoundPlayer.h"
#include "engine/MetronomeSource.h"

namespace {

// A device that only the benchmark calls.
class BenchUnit : public LAudioOutputUnit {
 public:
  bool Open(unsigned int) override { return m_open = true; }
  void Close() override { m_open = false; }
  bool IsOpen() const override { return m_open; }
  int DeviceChannels() const override { return 2; }
  bool Initialize() override { return true; }
  void Uninitialize() override {}
  bool Start() override { return true; }
  void Stop() override {}

 private:
  bool m_open = false;
};

class DeviceList : public LSoundPlayDeviceQuery {
 public:
  bool Enumerate(std::vector<Device>& devices) override {
    devices.push_back({0, "bench", 2});
    return true;
  }
  unsigned int DefaultOutputDevice() override { return 0; }
};

LSoundSource ClickTrack(int bpm) {
  LMetronomeAdvanced::SetDefaultSoundFolder(std::string(MORVANE_SOURCE_DATA_DIR) + "/metronome");
  LMetronomeAdvanced m;
  m.m_measure = LMetronomeAdvanced::MeasureIndex("4");
  m.SetTempo(bpm);
  m.SetSubDiv(1);
  return LSoundSource(new LMetronomeAdvancedSource(m));
}

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "bench_playback";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// Worker-side refill plus one 512-frame render callback (volume, metering,
// conversion) per iteration, stereo 44100 Hz, -6 dB.
void BM_RenderCallback(benchmark::State& state) {
  DeviceList devices;
  LSoundPlayDeviceSetQuery(&devices);
  LSignalObject workerRunning;
  workerRunning.Set();
  LSoundPlayerLLCA output(workerRunning, std::make_unique<BenchUnit>());
  LSoundSource track = ClickTrack(120);
  output.Init(track, 0);
  output.SetPlayVolume(LdBLevel(-6));
  output.Start();
  std::vector<int> out(512 * 8);
  int64_t frames = 0;
  for (auto _ : state) {
    if (output.IsNextBufferReady()) output.WriteBuffer(kMaxReadFrames);
    unsigned long bytes = 512 * track->GetChannels() * 4;
    output.Render(out.data(), 512, &bytes, false);
    output.ConsumptionSignal().Reset();
    benchmark::DoNotOptimize(out.data());
    frames += 512;
  }
  state.counters["realtime"] =
      benchmark::Counter(static_cast<double>(frames) / track->GetSampleRate(), benchmark::Counter::kIsRate);
  output.Stop();
  LSoundPlayDeviceSetQuery(nullptr);
}
BENCHMARK(BM_RenderCallback);

// Voluntary plus involuntary context switches of the threads with this name.
long Switches(const std::string& name) {
  long total = 0;
  DIR* dir = opendir("/proc/self/task");
  if (!dir) return 0;
  while (dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    const std::string base = std::string("/proc/self/task/") + e->d_name;
    std::string comm;
    std::getline(std::ifstream(base + "/comm"), comm);
    if (comm != name) continue;
    std::ifstream status(base + "/status");
    for (std::string line; std::getline(status, line);)
      if (line.find("ctxt_switches:") != std::string::npos) total += std::atol(line.substr(line.find(':') + 1).c_str());
  }
  closedir(dir);
  return total;
}

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The whole process playing the click track at 120 bpm in eighths on the
// clock-paced capture device (MORVANE_BENCH_SECONDS, default 10 s): CPU per
// minute of playing, wake-ups per second of the worker thread, and the time from Start to the first render callback.
void BM_PlayClickTrackPaced(benchmark::State& state) {
  App();
  const char* env = std::getenv("MORVANE_BENCH_SECONDS");
  const int seconds = env ? std::atoi(env) : 10;
  DeviceList devices;
  LSoundPlayDeviceSetQuery(&devices);
  for (auto _ : state) {
    auto unit = std::make_unique<LCaptureOutputUnit>("/tmp/morvane-bench-capture.wav", true);
    LCaptureOutputUnit* capture = unit.get();
    LSoundPlayer player(std::move(unit));
    LSoundSource track = ClickTrack(120);
    const double cpu0 = CpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    player.Start(track);
    while (capture->Periods() == 0) {
    }
    const double startMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    const long worker0 = Switches("LSoundPlayer<T>");
    QTimer::singleShot(seconds * 1000, &App(), [] { QCoreApplication::quit(); });
    App().exec();
    const long worker = Switches("LSoundPlayer<T>") - worker0;
    const double played = static_cast<double>(capture->FramesWritten()) / track->GetSampleRate();
    player.Stop();
    const double cpu = CpuSeconds() - cpu0;
    state.counters["cpu_ms_per_min"] = cpu / played * 60 * 1000;
    state.counters["realtime"] = played / cpu;
    state.counters["worker_wakeups_per_s"] = worker / played;
    state.counters["start_to_first_render_ms"] = startMs;
  }
  LSoundPlayDeviceSetQuery(nullptr);
}
BENCHMARK(BM_PlayClickTrackPaced)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
