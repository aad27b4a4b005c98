// Per output back end, measured on servers this program starts itself (a
// PipeWire daemon with a null sink, jackd's dummy driver at 48 kHz) and on
// the clock-paced capture device:
//   Play to first render callback: the first Play (the device is opened)
//   and the median of the next ones (the device is kept open), in ms;
//   threads a later Play creates;
//   wake-ups a second of the process's other threads while playing a click
//   every half second (120 bpm), by thread, and while stopped.
//
//   build/bench/bench_output_figures [ROUNDS]
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <thread>

#include "audio/CaptureOutputUnit.h"
#include "audio/JackOutputUnit.h"
#include "audio/SoundPlayer.h"
#include "tests/audio/SoundServer.h"
#include "tests/support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// Silence with a 10 ms click every `spacing` frames.
class Clicks : public LSoundSourceBase {
 public:
  Clicks(int rate, int spacing) : LSoundSourceBase(rate, 1, 1 << 22), m_spacing(spacing), m_length(rate / 100) {}
  void Read(int* buffer, int frames) override {
    for (int i = 0; i < frames; ++i, ++m_position) buffer[i] = m_position % m_spacing < m_length ? 1 << 22 : 0;
  }
  int GetPositionSample() const override { return m_position; }
  int GetEndSample() const override { return 1 << 30; }
  void Seek(int frame) override { m_position = frame; }

 private:
  int m_spacing;
  int m_length;
  int m_position = 0;
};

// Listens as the window does: it shows neither times nor levels.
class WindowLike : public LSoundPlayerNotify {
 public:
  bool WantsTimeReports() const override { return false; }
};

// Context switches of each other thread of the process, by thread id.
struct Task {
  std::string name;
  long switches = 0;
};
std::map<int, Task> Tasks() {
  std::map<int, Task> tasks;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    const int tid = std::stoi(entry.path().filename());
    if (tid == ::getpid()) continue;
    Task& t = tasks[tid];
    std::getline(std::ifstream(entry.path() / "comm"), t.name);
    std::ifstream status(entry.path() / "status");
    for (std::string line; std::getline(status, line);)
      if (line.find("ctxt_switches:") != std::string::npos) t.switches += std::stol(line.substr(line.find(':') + 1));
  }
  return tasks;
}

// Start() to the first render callback, in ms; -1 when Play failed.
double PlayToFirstCallback(LSoundPlayer& player, int rate) {
  LSoundSource source(new Clicks(rate, rate / 2));
  player.GetOutput().TakePositionRefreshRequest();  // set by every render callback
  const auto start = Clock::now();
  if (!player.Start(source)) return -1;
  while (!player.GetOutput().TakePositionRefreshRequest()) {
    if (Clock::now() - start > std::chrono::seconds(5)) return -1;
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Wake-ups a second over `seconds`, of every thread and by thread name.
void PrintWakeUps(const char* what, int seconds) {
  const std::map<int, Task> before = Tasks();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  std::map<std::string, long> byName;
  long total = 0;
  for (const auto& [tid, task] : Tasks()) {
    const auto was = before.find(tid);
    const long n = task.switches - (was == before.end() ? 0 : was->second.switches);
    byName[task.name] += n;
    total += n;
  }
  std::printf("           %s %6.1f wake-ups/s", what, static_cast<double>(total) / seconds);
  for (const auto& [name, n] : byName)
    if (n > 0) std::printf("  %s %.1f", name.c_str(), static_cast<double>(n) / seconds);
  std::printf("\n");
}

// What finding a stored device by name costs (the window did it at every
// Play), in ms.
double LookUp(const char* device) {
  const auto start = Clock::now();
  LSoundPlayDevice::GetListDeviceIndex(device);
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Measure(const char* name, LSoundPlayer& player, int rounds, const char* device = nullptr) {
  WindowLike window;
  player.SetListener(&window, 0);
  const int rate = player.GetOutput().OpenDeviceRate(48000);
  std::vector<double> times;
  size_t made = 0;
  for (int i = 0; i < rounds; ++i) {
    const std::map<int, Task> stopped = Tasks();
    times.push_back(PlayToFirstCallback(player, rate));
    if (i > 0)
      for (const auto& entry : Tasks()) made += stopped.count(entry.first) ? 0 : 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    player.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  std::vector<double> kept(times.begin() + 1, times.end());
  std::sort(kept.begin(), kept.end());
  std::printf("%-10s first Play %7.2f ms   next Plays (median) %7.2f ms   threads made per later Play %.1f\n", name,
              times[0], kept.empty() ? -1 : kept[kept.size() / 2], static_cast<double>(made) / (rounds - 1));
  if (device) std::printf("           looking up \"%s\" by name %.2f ms\n", device, LookUp(device));
  LSoundSource clicks(new Clicks(rate, rate / 2));
  if (player.Start(clicks)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    PrintWakeUps("playing", 5);
    player.Stop();
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  PrintWakeUps("stopped", 3);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10;
  {
    test::TempDir dir;
    ::setenv("MORVANE_AUDIO_CAPTURE", dir.File("capture.wav").c_str(), 1);  // the capture device, paced
    LSoundPlayer player;
    Measure("capture", player, rounds);
    ::unsetenv("MORVANE_AUDIO_CAPTURE");
  }
  {
    test::PipeWireServer server;
    if (!server.Failure().empty()) {
      std::printf("%-10s %s\n", "PipeWire", server.Failure().c_str());
    } else {
      LSoundPlayer player;
      Measure("PipeWire", player, rounds, "Test Sink");
    }
  }
  {
    test::JackServer server;
    if (!server.Failure().empty()) {
      std::printf("%-10s %s\n", "JACK", server.Failure().c_str());
    } else {
      LSoundPlayer player;
      player.GetOutput().SetDevice(LSoundPlayDevice(LSoundPlayDevice::GetListDeviceIndex(kJackDeviceName), 0, 0));
      Measure("JACK", player, rounds, kJackDeviceName);
    }
  }
  return 0;
}
