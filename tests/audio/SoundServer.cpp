#include "tests/audio/SoundServer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>
#include "audio/JackOutputUnit.h"
#include "audio/PipeWireSupport.h"

namespace test {

namespace {

constexpr const char* kEnv[] = {"XDG_RUNTIME_DIR",          "XDG_STATE_HOME",      "HOME",
                                "DBUS_SESSION_BUS_ADDRESS", "PIPEWIRE_REMOTE",     "XDG_CONFIG_HOME",
                                "JACK_DEFAULT_SERVER",      "JACK_NO_START_SERVER"};

// JACK's machine-wide table holds few servers: a test reuses these names.
constexpr const char* kJackNames[] = {"morvane-test-1", "morvane-test-2", "morvane-test-3"};

}  // namespace

void SoundServerBase::Stop(pid_t& pid, int sig) {
  if (pid <= 0) return;
  ::kill(pid, sig);
  for (int i = 0; i < 300 && ::waitpid(pid, nullptr, WNOHANG) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (::waitpid(pid, nullptr, WNOHANG) == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  pid = -1;
}

namespace {

// The daemon's usual configuration with a null sink added.
std::string Config() {
  std::ifstream in("/usr/share/pipewire/pipewire.conf");
  std::stringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  const std::string anchor = "context.objects = [\n";
  const size_t at = s.find(anchor);
  if (at == std::string::npos) return {};
  s.insert(at + anchor.size(),
           "  { factory = adapter args = { factory.name = support.null-audio-sink node.name = test-sink "
           "node.description = \"Test Sink\" media.class = Audio/Sink audio.position = \"FL,FR\" audio.rate = 48000 "
           "monitor.channel-volumes = true } }\n");
  return s;
}

}  // namespace

SoundServerBase::SoundServerBase() {
  m_lock = ::open("/tmp/morvane-sound-server-test.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0666);
  if (m_lock >= 0) ::flock(m_lock, LOCK_EX);
  for (const char* name : kEnv) {
    const char* value = std::getenv(name);
    m_savedEnv.emplace_back(name, value ? std::string("=") + value : "");
  }
  ::chmod(m_dir.Path().c_str(), 0700);
  ::setenv("XDG_RUNTIME_DIR", m_dir.Path().c_str(), 1);
  ::setenv("XDG_STATE_HOME", m_dir.File("state").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", m_dir.File("config").c_str(), 1);
  ::setenv("HOME", m_dir.Path().c_str(), 1);
}

SoundServerBase::~SoundServerBase() {
  StopRecording();
  for (const auto& [name, value] : m_savedEnv)
    value.empty() ? ::unsetenv(name.c_str()) : ::setenv(name.c_str(), value.c_str() + 1, 1);
  if (m_lock >= 0) ::close(m_lock);
}

pid_t SoundServerBase::Spawn(const std::vector<std::string>& args, const std::string& log) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // a test that crashes leaves no daemon behind
  const int fd = ::open(m_dir.File(log).c_str(), O_CREAT | O_WRONLY | O_APPEND, 0644);
  ::dup2(fd, 1);
  ::dup2(fd, 2);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ::execvp(argv[0], argv.data());
  ::_exit(127);
}

bool SoundServerBase::WaitForRecording(const std::string& file) {
  for (int i = 0; i < 300; ++i) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (in && in.tellg() > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

PipeWireServer::PipeWireServer() {
  ::unsetenv("PIPEWIRE_REMOTE");
  const std::string bus = "unix:path=" + m_dir.File("bus");
  ::setenv("DBUS_SESSION_BUS_ADDRESS", bus.c_str(), 1);
  const std::string config = Config();
  if (config.empty()) {
    m_failure = "no /usr/share/pipewire/pipewire.conf (is pipewire installed?)";
    return;
  }
  std::ofstream(m_dir.File("pipewire.conf")) << config;
  m_dbus = Spawn({"dbus-daemon", "--session", "--nofork", "--address=" + bus}, "dbus.log");
  for (int i = 0; i < 200 && ::access(m_dir.File("bus").c_str(), F_OK) != 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (!StartDaemon()) m_failure = "pipewire with a null sink did not start (see " + m_dir.File("pipewire.log") + ")";
}

PipeWireServer::~PipeWireServer() {
  StopRecording();
  KillDaemon();
  Stop(m_dbus);
}

bool PipeWireServer::StartDaemon() {
  m_pipewire = Spawn({"pipewire", "-c", m_dir.File("pipewire.conf")}, "pipewire.log");
  m_wireplumber = Spawn({"wireplumber"}, "wireplumber.log");
  for (int i = 0; i < 100; ++i) {
    std::vector<LPipeWireSink> sinks;
    if (LPipeWireListSinks(sinks) && !sinks.empty()) {
      // The sink is pipewire's own; give the session manager, which links
      // streams to it, a moment to come up as well.
      std::this_thread::sleep_for(std::chrono::seconds(1));
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

void PipeWireServer::KillDaemon() {
  Stop(m_wireplumber);
  Stop(m_pipewire, SIGKILL);
}

bool PipeWireServer::StartRecording(const std::string& file) {
  m_recorder = Spawn({"pw-record", "--target", "test-sink", "-P", "{ stream.capture.sink = true }", "--rate", "48000",
                      "--channels", "2", "--format", "s32", file},
                     "pw-record.log");
  return WaitForRecording(file);
}

JackServer::JackServer() {
  ::setenv("JACK_NO_START_SERVER", "1", 1);
  if (!StartDaemon()) m_failure = "jackd with the dummy driver did not start (see " + m_dir.File("jackd.log") + ")";
}

JackServer::~JackServer() {
  StopRecording();
  KillDaemon();
}

bool JackServer::StartDaemon() {
  for (const char* name : kJackNames) {
    ::setenv("JACK_DEFAULT_SERVER", name, 1);
    m_jackd = Spawn({"jackd", "--no-realtime", "-n", name, "-d", "dummy", "-r", std::to_string(kRate), "-p",
                     std::to_string(kPeriod), "-m"},
                    "jackd.log");
    for (int i = 0; i < 100 && ::waitpid(m_jackd, nullptr, WNOHANG) == 0; ++i) {
      std::vector<LSoundPlayDeviceQuery::Device> devices;
      LJackListDevices(devices);
      if (!devices.empty()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    Stop(m_jackd, SIGKILL);  // that name is taken (or stale): the next one
  }
  return false;
}

void JackServer::KillDaemon() { Stop(m_jackd, SIGKILL); }

bool JackServer::StartRecording(const std::string& file) {
  m_recorder = Spawn({"jack_capture", "--no-stdin", "-as", "-b", "32", "-c", "2", "-p", "system:monitor_1", "-p",
                      "system:monitor_2", file},
                     "jack_capture.log");
  return WaitForRecording(file);
}

std::vector<int> ReadRecording(const std::string& file, int channels) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t data = bytes.find("data");
  std::vector<int> samples;
  if (data == std::string::npos) return samples;
  const size_t from = data + 8;
  const size_t count = (bytes.size() - from) / (4 * channels) * channels;
  samples.resize(count);
  std::memcpy(samples.data(), bytes.data() + from, count * 4);
  return samples;
}

RepeatedSound::RepeatedSound(int rate, std::vector<int> sound, int spacing, int frames, int peak)
    : LSoundSourceBase(rate, 1, peak), m_sound(std::move(sound)), m_spacing(spacing), m_end(frames) {}

void RepeatedSound::Read(int* buffer, int frames) {
  for (int i = 0; i < frames; ++i, ++m_position) {
    const size_t at = static_cast<size_t>(m_position % m_spacing);
    buffer[i] = m_position < m_end && at < m_sound.size() ? m_sound[at] : 0;
  }
}

std::vector<Click> FindClicks(const std::vector<int>& s, int length) {
  std::vector<Click> clicks;
  const int frames = static_cast<int>(s.size() / 2);
  for (int f = 0, silent = 1000; f < frames; ++f) {
    const bool loud = std::abs(s[2 * f]) > 1 << 16 || std::abs(s[2 * f + 1]) > 1 << 16;
    if (loud && silent >= 1000 && f + length <= frames) {
      Click c{f, {}, {}};
      for (int g = f; g < f + length; ++g) {
        c.left.push_back(s[2 * g]);
        c.right.push_back(s[2 * g + 1]);
      }
      clicks.push_back(std::move(c));
    }
    silent = loud ? 0 : silent + 1;
  }
  return clicks;
}

void ExpectEvenClicks(const std::vector<Click>& clicks, int count, int spacing, int cycle, int cyclesMissed) {
  ASSERT_EQ(static_cast<int>(clicks.size()), count);
  int missed = 0;
  for (size_t i = 0; i < clicks.size(); ++i) {
    if (i > 0) {
      const int off = clicks[i].frame - clicks[i - 1].frame - spacing;
      const int toCycle = std::abs(off) % cycle;
      EXPECT_TRUE(toCycle <= 1 || toCycle >= cycle - 1) << "click " << i << " off by " << off;
      if (std::abs(off) > 1) ++missed;
    }
    EXPECT_EQ(clicks[i].left, clicks.back().left) << "click " << i << " is not whole";
    EXPECT_EQ(clicks[i].right, clicks[i].left) << "click " << i << " differs between the channels";
  }
  EXPECT_LE(missed, cyclesMissed);
}

long OtherThreadsSwitches() {
  long total = 0;
  const std::string self = std::to_string(::syscall(SYS_gettid));
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    if (task.path().filename() == self) continue;
    std::ifstream status(task.path() / "status");
    for (std::string line; std::getline(status, line);)
      if (line.find("ctxt_switches:") != std::string::npos) total += std::stol(line.substr(line.find(':') + 1));
  }
  return total;
}

}  // namespace test
