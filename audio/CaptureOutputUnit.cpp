#include "audio/CaptureOutputUnit.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "audio/SessionThread.h"
#include "soundfile/WaveWriter.h"

namespace {

// Made at the first Start and kept: it sleeps while the device is stopped.
class CaptureThread : public LSessionThread {
 public:
  explicit CaptureThread(LCaptureOutputUnit* unit) : LSessionThread("CaptureDevice"), m_unit(unit) {}
  ~CaptureThread() override { StopThreadNow(); }

 protected:
  void Session() override { m_unit->RunDevice(*this); }

 private:
  LCaptureOutputUnit* m_unit;
};

class CaptureQuery : public LSoundPlayDeviceQuery {
 public:
  bool Enumerate(std::vector<Device>& devices) override {
    devices.push_back({0, "Capture to " + LCaptureOutputUnit::Path(), 2});
    return true;
  }
  unsigned int DefaultOutputDevice() override { return 0; }
};

void AddNanoseconds(timespec& t, long ns) {
  t.tv_nsec += ns;
  while (t.tv_nsec >= 1000000000L) {
    t.tv_nsec -= 1000000000L;
    ++t.tv_sec;
  }
}

}  // namespace

bool LCaptureOutputUnit::IsSelected() {
  const char* path = std::getenv("MORVANE_AUDIO_CAPTURE");
  return path && *path;
}

std::string LCaptureOutputUnit::Path() {
  const char* path = std::getenv("MORVANE_AUDIO_CAPTURE");
  return path ? path : "";
}

LSoundPlayDeviceQuery& LCaptureOutputUnit::DeviceQuery() {
  static CaptureQuery query;
  return query;
}

LCaptureOutputUnit::LCaptureOutputUnit(std::string path, bool paced, int deviceChannels)
    : m_path(std::move(path)), m_paced(paced), m_deviceChannels(deviceChannels < 1 ? 1 : deviceChannels) {}

LCaptureOutputUnit::~LCaptureOutputUnit() { Close(); }

bool LCaptureOutputUnit::Open(unsigned int deviceId) {
  Close();
  if (deviceId != 0) return false;
  // An empty path follows MORVANE_AUDIO_CAPTURE as it is at each open.
  m_file = std::fopen((m_path.empty() ? Path() : m_path).c_str(), "wb+");
  if (!m_file) return false;
  m_frames = 0;
  m_fileChannels = 0;
  return true;
}

void LCaptureOutputUnit::Close() {
  Stop();
  if (!m_file) return;
  WriteHeader();
  std::fclose(m_file);
  m_file = nullptr;
}

bool LCaptureOutputUnit::Initialize() {
  if (!m_file) return false;
  PrepareStaging();
  m_period = std::make_unique<int[]>(static_cast<size_t>(kCapturePeriodFrames) * OpenedChannels());
  // A WAV file has one format: a different one starts the file afresh.
  if (m_fileChannels != OpenedChannels() || m_fileRate != m_rate) {
    m_fileChannels = OpenedChannels();
    m_fileRate = m_rate;
    m_frames = 0;
    if (::ftruncate(::fileno(m_file), 0) != 0) return false;
    WriteHeader();
  }
  return true;
}

bool LCaptureOutputUnit::Start() {
  if (!m_file || !m_period) return false;
  if (m_thread && m_thread->InSession()) return true;
  if (!m_thread) m_thread = std::make_unique<CaptureThread>(this);
  return m_thread->BeginSession(LThread::kPriorityRealTime);
}

void LCaptureOutputUnit::Stop() {
  if (m_thread) m_thread->EndSession();
  if (m_file) WriteHeader();
}

void LCaptureOutputUnit::RunDevice(LSessionThread& thread) {
  const int channels = OpenedChannels();
  // The un-paced device keeps what the queue gave, which is whole only
  // within one render piece: an empty queue reads as a silent piece, and a
  // later piece of the same period would put audio after it.
  const int period = m_paced ? kCapturePeriodFrames : kPeriodFrames;
  const long periodNs = static_cast<long>(1e9 * period / (m_rate > 0 ? m_rate : 44100));
  timespec next{};
  ::clock_gettime(CLOCK_MONOTONIC, &next);
  std::fseek(m_file, 44 + FramesWritten() * channels * 4L, SEEK_SET);
  // Like a sound card's first callback, the first period is asked for at
  // once; the ones after come a period apart.
  for (bool first = true; !thread.IsToHalt(); first = false) {
    if (m_paced && !first) {
      AddNanoseconds(next, periodNs);
      // A Stop need not wait out the rest of a long period.
      if (!thread.SessionSleepUntil(next)) break;
    }
    int delivered = 0;
    const int taken = RenderDevice(m_period.get(), period, &delivered);
    ++m_periods;
    // A clocked device plays whatever it got; the un-paced one keeps only
    // what came from the queue, so scheduling cannot insert silence.
    int frames = m_paced ? period : taken;
    const long limit = m_limit.load(std::memory_order_relaxed);
    if (limit > 0) frames = static_cast<int>(std::min<long>(frames, limit - FramesWritten()));
    if (frames > 0) {
      // A write that fails (disk full, file system gone) is this device
      // being unplugged: report it and stop calling the renderer.
      if (std::fwrite(m_period.get(), sizeof(int) * channels, static_cast<size_t>(frames), m_file) !=
          static_cast<size_t>(frames)) {
        ReportFailure();
        return;
      }
      m_frames += frames;
    } else if (!m_paced) {
      ::usleep(500);
    }
  }
}

void LCaptureOutputUnit::WriteHeader() {
  uint8_t h[kWaveHeaderBytes];
  LWaveHeader(h, m_fileRate, m_fileChannels, 4, false, static_cast<uint64_t>(FramesWritten()) * m_fileChannels * 4);
  std::fseek(m_file, 0, SEEK_SET);
  std::fwrite(h, 1, sizeof h, m_file);
  std::fflush(m_file);
}
