// Sound servers of the test's own (PipeWire, JACK), all in a temporary
// XDG_RUNTIME_DIR, started by the test and killed by PID in its teardown.
#pragma once

#include <sys/types.h>

#include <csignal>
#include <string>
#include <vector>

#include "soundfile/SoundSource.h"
#include "tests/support/TempDir.h"

namespace test {

// What every sound server of a test shares: a lock that keeps two
// sound-server tests from running at once, a temporary XDG_RUNTIME_DIR and
// HOME (restored afterwards), and child processes killed by PID.
class SoundServerBase {
 public:
  // Empty when the daemon runs; else why it could not start.
  const std::string& Failure() const { return m_failure; }
  const TempDir& Dir() const { return m_dir; }
  void StopRecording() { Stop(m_recorder, SIGINT) /* the recorder closes its file */; }

 protected:
  SoundServerBase();
  ~SoundServerBase();
  pid_t Spawn(const std::vector<std::string>& args, const std::string& log);
  // SIGTERM (or sig), then SIGKILL after 3 s.
  static void Stop(pid_t& pid, int sig = SIGTERM);
  // Waits for file to have a header: the recorder is linked by then.
  static bool WaitForRecording(const std::string& file);

  TempDir m_dir;
  pid_t m_recorder = -1;
  std::string m_failure;

 private:
  int m_lock = -1;
  std::vector<std::pair<std::string, std::string>> m_savedEnv;
};

// pipewire with a null sink ("Test Sink", 48 kHz stereo), wireplumber and a
// session D-Bus.
class PipeWireServer : public SoundServerBase {
 public:
  static constexpr int kRate = 48000;
  PipeWireServer();
  ~PipeWireServer();
  // Starts (again) pipewire and wireplumber; true once the sink is listed.
  bool StartDaemon();
  void KillDaemon();
  // Records the sink's monitor into file until StopRecording().
  bool StartRecording(const std::string& file);

 private:
  pid_t m_dbus = -1, m_pipewire = -1, m_wireplumber = -1;
};

// jackd with the dummy driver at 48 kHz, two playback ports and monitor
// ports that carry what the playback ports get, under a server name of the
// test's own (JACK_DEFAULT_SERVER).
class JackServer : public SoundServerBase {
 public:
  static constexpr int kRate = 48000;
  static constexpr int kPeriod = 256;
  JackServer();
  ~JackServer();
  bool StartDaemon();
  void KillDaemon();
  // Records both playback ports (through their monitors) into file.
  bool StartRecording(const std::string& file);

 private:
  pid_t m_jackd = -1;
};

// The interleaved 32-bit samples of a WAV file pw-record or jack_capture wrote.
std::vector<int> ReadRecording(const std::string& file, int channels);

// A click track: `sound` (mono) every `spacing` frames from frame 0, until
// `frames`.
class RepeatedSound : public LSoundSourceBase {
 public:
  RepeatedSound(int rate, std::vector<int> sound, int spacing, int frames, int peak);
  void Read(int* buffer, int frames) override;
  int GetPositionSample() const override { return m_position; }
  int GetEndSample() const override { return m_end; }
  void Seek(int frame) override { m_position = frame; }

 private:
  std::vector<int> m_sound;
  int m_spacing, m_end, m_position = 0;
};

// A click heard in a stereo recording: where it starts (after at least 1000
// silent frames) and its first `length` samples on each channel.
struct Click {
  int frame;
  std::vector<int> left, right;
};
std::vector<Click> FindClicks(const std::vector<int>& stereo, int length);
// What a click track every `spacing` frames must sound like: `count` clicks,
// each as whole as the last (a cut first click starts elsewhere in its
// sound), the same on both channels, evenly spaced to the frame. Servers
// started by a test have no real-time scheduling: on a busy machine up to
// `cyclesMissed` spacings may also be off by whole server cycles.
void ExpectEvenClicks(const std::vector<Click>& clicks, int count, int spacing, int cycle, int cyclesMissed);

// Context switches of every thread of this process but the caller's.
long OtherThreadsSwitches();

}  // namespace test
