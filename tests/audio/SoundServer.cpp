#include "tests/audio/SoundServer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "audio/PipeWireSupport.h"

namespace test {

namespace {

constexpr const char* kEnv[] = {"XDG_RUNTIME_DIR",          "XDG_STATE_HOME",  "HOME",
                                "DBUS_SESSION_BUS_ADDRESS", "PIPEWIRE_REMOTE", "XDG_CONFIG_HOME"};

void Stop(pid_t& pid, int sig = SIGTERM) {
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

PipeWireServer::PipeWireServer() {
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
  for (const auto& [name, value] : m_savedEnv)
    value.empty() ? ::unsetenv(name.c_str()) : ::setenv(name.c_str(), value.c_str() + 1, 1);
  if (m_lock >= 0) ::close(m_lock);
}

pid_t PipeWireServer::Spawn(const std::vector<std::string>& args, const std::string& log) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  const int fd = ::open(m_dir.File(log).c_str(), O_CREAT | O_WRONLY | O_APPEND, 0644);
  ::dup2(fd, 1);
  ::dup2(fd, 2);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ::execvp(argv[0], argv.data());
  ::_exit(127);
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
  // The recorder is linked once its file has a header.
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

void PipeWireServer::StopRecording() { Stop(m_recorder, SIGINT); }

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

}  // namespace test
