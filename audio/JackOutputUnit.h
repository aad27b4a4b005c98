// The audio output through a JACK server, as a client of its own ("Morvane")
// whose output ports go to the server's physical playback ports ("JACK:
// system" in the device list). The server's rate is the only rate: the track
// is rendered at it. The client is activated at Start and its ports are
// connected before the first period is rendered, so the first frame rendered
// is the first frame heard; at Stop it is deactivated, so a stopped program
// takes no part in the server's cycles. A server that goes away is reported
// as a lost device, never waited for: teardown calls are bounded.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "audio/BoundedCall.h"
#include "audio/OutputUnit.h"
#include "audio/PlayDevice.h"

// The one JACK device of the list, when a server answers.
constexpr unsigned int kJackDevice = 0x20000000u;
constexpr char kJackDeviceName[] = "JACK: system";

// Appends "JACK: system" with its physical playback port count when a JACK
// server answers (JACK_DEFAULT_SERVER names which); never starts one.
void LJackListDevices(std::vector<LSoundPlayDeviceQuery::Device>& devices);

class LJackOutputUnit : public LAudioOutputUnit {
 public:
  static constexpr int kMaxPorts = 8;

  LJackOutputUnit();
  ~LJackOutputUnit() override;

  // Connects to the server; false when none answers or it has no playback port.
  bool Open(unsigned int deviceId) override;
  void Close() override;
  // False once the server went away: the next Open connects afresh.
  bool IsOpen() const override;
  int DeviceChannels() const override { return static_cast<int>(m_playback.size()); }
  int PlayableRate(int) const override { return m_serverRate; }
  int NativeRate() const override { return m_serverRate; }
  // From the client's ports to the server's outputs, as the server tells.
  int LatencyFrames() const override { return m_latency.load(std::memory_order_relaxed); }
  bool Initialize() override;
  void Uninitialize() override;
  bool Start() override;
  void Stop() override;

  struct Client;  // the client, its ports, and what its callbacks reach

  // The server's threads.
  void OnProcess(unsigned int frames);
  void OnShutdown();
  void OnLatency();

 private:
  // The process thread.
  void ReadLatency();
  bool Connected();
  bool Teardown(void (*call)(void*), int ms = LBoundedRunner::kDefaultMs);

  std::unique_ptr<Client> m_client;
  std::vector<std::string> m_playback;  // the server's physical playback ports
  int m_serverRate = 0;
  int m_ports = 0;  // registered output ports
  bool m_active = false;
  std::unique_ptr<int[]> m_interleaved;
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_lost{false};
  std::atomic<int> m_inProcess{0};
  std::atomic<int> m_latency{0};
  std::atomic<bool> m_latencyChanged{false};
  // Ports whose connection, made by Start, the process thread has not yet
  // seen; set before m_running, so only one thread writes it at a time.
  std::atomic<unsigned int> m_unconnected{0};
  int m_cyclesUnconnected = 0;
  static constexpr int kMaxCyclesUnconnected = 8;
  LBoundedRunner m_teardown;
};
