// Per output back end, measured on servers this program starts itself (a
// PipeWire daemon with a null sink, jackd's dummy driver at 48 kHz) and on
// the clock-paced capture device:
//   Play to first render callback: the first Play (the device is opened)
//   and the median of the next ones (the device is kept open), in ms;
//   wake-ups a second of the whole process while stopped.
//
//   build/bench/bench_output_figures [ROUNDS]
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "audio/CaptureOutputUnit.h"
#include "audio/JackOutputUnit.h"
#include "audio/SoundPlayer.h"
#include "tests/audio/SoundServer.h"
#include "tests/support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

class Silence : public LSoundSourceBase {
 public:
  explicit Silence(int rate) : LSoundSourceBase(rate, 1, 0) {}
  void Read(int* buffer, int frames) override {
    std::fill(buffer, buffer + frames, 0);
    m_position += frames;
  }
  int GetPositionSample() const override { return m_position; }
  int GetEndSample() const override { return 1 << 30; }
  void Seek(int frame) override { m_position = frame; }

 private:
  int m_position = 0;
};

// Start() to the first render callback, in ms; -1 when Play failed.
double PlayToFirstCallback(LSoundPlayer& player, int rate) {
  LSoundSource source(new Silence(rate));
  player.GetOutput().TakePositionRefreshRequest();  // set by every render callback
  const auto start = Clock::now();
  if (!player.Start(source)) return -1;
  while (!player.GetOutput().TakePositionRefreshRequest()) {
    if (Clock::now() - start > std::chrono::seconds(5)) return -1;
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Measure(const char* name, LSoundPlayer& player, int rounds) {
  const int rate = player.GetOutput().OpenDeviceRate(48000);
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    times.push_back(PlayToFirstCallback(player, rate));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    player.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  std::vector<double> kept(times.begin() + 1, times.end());
  std::sort(kept.begin(), kept.end());
  const long before = test::OtherThreadsSwitches();
  std::this_thread::sleep_for(std::chrono::seconds(3));
  const double wakeups = (test::OtherThreadsSwitches() - before) / 3.0;
  std::printf("%-10s first Play %7.2f ms   next Plays (median) %7.2f ms   stopped %5.1f wake-ups/s\n", name, times[0],
              kept.empty() ? -1 : kept[kept.size() / 2], wakeups);
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
      Measure("PipeWire", player, rounds);
    }
  }
  {
    test::JackServer server;
    if (!server.Failure().empty()) {
      std::printf("%-10s %s\n", "JACK", server.Failure().c_str());
    } else {
      LSoundPlayer player;
      player.GetOutput().SetDevice(LSoundPlayDevice(LSoundPlayDevice::GetListDeviceIndex(kJackDeviceName), 0, 0));
      Measure("JACK", player, rounds);
    }
  }
  return 0;
}
