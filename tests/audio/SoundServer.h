// A PipeWire daemon of the test's own: a session D-Bus, pipewire with a null
// sink ("Test Sink", 48 kHz stereo) and wireplumber, all in a temporary
// XDG_RUNTIME_DIR, started by the test and killed by PID in its teardown.
// A lock file keeps two sound-server tests from running at once.
#pragma once

#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace test {

class PipeWireServer {
 public:
  static constexpr int kRate = 48000;
  PipeWireServer();
  ~PipeWireServer();
  // Empty when the daemon runs; else why it could not start.
  const std::string& Failure() const { return m_failure; }
  // Starts (again) pipewire and wireplumber; true once the sink is listed.
  bool StartDaemon();
  void KillDaemon();
  // Records the sink's monitor into file until StopRecording().
  bool StartRecording(const std::string& file);
  void StopRecording();
  const TempDir& Dir() const { return m_dir; }

 private:
  pid_t Spawn(const std::vector<std::string>& args, const std::string& log);
  int m_lock = -1;
  TempDir m_dir;
  std::vector<std::pair<std::string, std::string>> m_savedEnv;
  pid_t m_dbus = -1, m_pipewire = -1, m_wireplumber = -1, m_recorder = -1;
  std::string m_failure;
};

// The interleaved 32-bit samples of a WAV file pw-record wrote.
std::vector<int> ReadRecording(const std::string& file, int channels);

}  // namespace test
