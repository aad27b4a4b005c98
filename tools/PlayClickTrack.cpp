#include "tools/PlayClickTrack.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cmath>
#include <cstring>

#include "audio/CaptureOutputUnit.h"
#include "audio/SoundPlayer.h"
#include "tools/ClickTrackRender.h"

namespace {

// Prints the player's reports; time and level lines at most every 200 ms
// (10 lines a second), however often the device calls back.
class PrintingListener : public LSoundPlayerNotify {
 public:
  explicit PrintingListener(std::FILE* out) : m_out(out) { m_clock.start(); }
  void spntfPlay(long) override { std::fputs("play\n", m_out); }
  void spntfStop(long) override {
    std::fputs("stop\n", m_out);
    std::fflush(m_out);
  }
  void spntfTime(LSoundTime t, long) override {
    m_printLevel = m_lastPrint < 0 || m_clock.elapsed() - m_lastPrint >= kPrintEveryMs;
    if (!m_printLevel) return;
    m_lastPrint = m_clock.elapsed();
    std::fprintf(m_out, "time %d ms\n", t.GetMilliseconds());
  }
  void spntfLevel(const LDBMultiChannel<LdBLevel>& levels, long) override {
    if (!m_printLevel) return;
    std::fputs("level", m_out);
    for (int c = 0; c < levels.GetCount(); ++c) std::fprintf(m_out, " %d dB", levels[c].Get());
    std::fputc('\n', m_out);
    std::fflush(m_out);
  }

 private:
  static constexpr qint64 kPrintEveryMs = 200;
  std::FILE* m_out;
  QElapsedTimer m_clock;
  qint64 m_lastPrint = -1;
  bool m_printLevel = false;
};

QCoreApplication& Application() {
  static int argc = 1;
  static char name[] = "morvane-render";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

}  // namespace

int ListPlayDevices(std::FILE* out) {
  const auto choices = LSoundPlayDevice::GetChoices();
  for (size_t i = 0; i < choices.size(); ++i) std::fprintf(out, "%zu: %s\n", i, choices[i].c_str());
  if (choices.size() == 1) std::fputs("(no audio output device found)\n", out);
  return 0;
}

int PlayClickTrack(const RenderOptions& o, const std::string& soundFolder, std::FILE* out) {
  QCoreApplication& app = Application();
  LSoundSource track;
  RenderSummary summary;
  std::string error;
  if (!BuildClickTrack(o, soundFolder, track, summary, error)) {
    std::fprintf(stderr, "morvane-render: %s\n", error.c_str());
    return 1;
  }
  const std::string name = o.device.empty() ? kDefaultPlaybackDeviceName : o.device;
  const int index = LSoundPlayDevice::GetListDeviceIndex(name.c_str());
  if (index == 0 && name != kDefaultPlaybackDeviceName) {
    std::fprintf(stderr, "morvane-render: there is no audio output device named '%s' (see --list-devices)\n",
                 name.c_str());
    return 1;
  }
  LSoundPlayer player;
  player.GetOutput().SetDevice(LSoundPlayDevice(index, 0, 0));
  player.GetOutput().SetPlayVolume(LdBLevel(o.volume));
  // Rendered at the rate the device plays: a JACK server takes its own only.
  const int rate = player.GetOutput().OpenDeviceRate(summary.sampleRate);
  if (rate > 0 && rate != summary.sampleRate) {
    RenderOptions atRate = o;
    atRate.rate = rate;
    if (!BuildClickTrack(atRate, soundFolder, track, summary, error)) {
      std::fprintf(stderr, "morvane-render: %s\n", error.c_str());
      return 1;
    }
  }
  const int ms = static_cast<int>(std::lround(o.seconds * 1000));
  auto* capture = dynamic_cast<LCaptureOutputUnit*>(&player.GetOutput().GetUnit());
  const long frames = std::lround(o.seconds * summary.sampleRate);
  // The capture file gets exactly --seconds of audio; a real device plays
  // for --seconds of wall-clock time.
  if (capture) capture->SetFrameLimit(frames);
  PrintingListener listener(out);
  player.SetListener(&listener, 0);
  if (!player.Start(track) || !player.IsPlaying()) {
    player.Stop();
    const char* why = LCaptureOutputUnit::IsSelected() ? " (MORVANE_AUDIO_CAPTURE names a file that cannot be written)"
                      : LSoundPlayDeviceList().Count() == 0 ? " (no audio output device found)"
                                                            : "";
    std::fprintf(stderr, "morvane-render: the audio output device '%s' cannot be opened%s\n", name.c_str(), why);
    return 1;
  }
  QTimer poll;
  QElapsedTimer clock;
  clock.start();
  QObject::connect(&poll, &QTimer::timeout, [&] {
    // A device lost while playing stops the player by itself.
    if (!player.IsPlaying() || (capture ? capture->FramesWritten() >= frames : clock.elapsed() >= ms)) app.quit();
  });
  poll.start(20);
  QTimer::singleShot(ms + 3000, &app, [&] { app.quit(); });  // a stalled device ends the run too
  app.exec();
  const bool failed = player.GetOutput().HasDeviceFailed();
  player.Stop();
  // Times the device ran dry while playing; the clicks after each kept
  // their places on the device's clock.
  std::fprintf(out, "under-runs %ld\n", player.GetOutput().GetUnderRuns());
  std::fflush(out);
  if (failed) {
    std::fprintf(stderr, "morvane-render: the audio output device '%s' stopped working while playing\n", name.c_str());
    return 1;
  }
  if (capture && capture->FramesWritten() < frames) {
    std::fprintf(stderr, "morvane-render: the audio output device '%s' stopped after %ld of %ld frames\n", name.c_str(),
                 capture->FramesWritten(), frames);
    return 1;
  }
  return 0;
}
