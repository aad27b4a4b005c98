#include "audio/JackOutputUnit.h"

#include <jack/jack.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

namespace {

// Frames rendered per piece: JACK periods are usually far shorter.
constexpr int kChunkFrames = 1024;
// Full scale of the stream's 32-bit samples, for JACK's floats.
constexpr float kScale = 1.0f / 2147483648.0f;

void Quiet(const char*) {}

jack_client_t* Connect(const char* name) {
  // The library reports every failed connection on stderr by default.
  jack_set_error_function(&Quiet);
  jack_set_info_function(&Quiet);
  jack_status_t status;
  return jack_client_open(name, static_cast<jack_options_t>(JackNoStartServer), &status);
}

std::vector<std::string> PlaybackPorts(jack_client_t* client) {
  std::vector<std::string> names;
  const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_AUDIO_TYPE, JackPortIsPhysical | JackPortIsInput);
  for (int i = 0; ports && ports[i]; ++i) names.emplace_back(ports[i]);
  if (ports) jack_free(ports);
  return names;
}

}  // namespace

// What the server's threads reach the unit through. A client abandoned in a
// call that never returned is leaked with no unit in it, so a late callback
// finds none.
struct LJackOutputUnit::Client {
  jack_client_t* client = nullptr;
  jack_port_t* ports[kMaxPorts] = {};
  jack_port_t* playback = nullptr;  // the server's first playback port
  std::atomic<LJackOutputUnit*> unit{nullptr};
};

namespace {

int OnJackProcess(jack_nframes_t frames, void* arg) {
  if (auto* unit = static_cast<LJackOutputUnit::Client*>(arg)->unit.load(std::memory_order_acquire))
    unit->OnProcess(frames);
  return 0;
}

void OnJackShutdown(jack_status_t, const char*, void* arg) {
  if (auto* unit = static_cast<LJackOutputUnit::Client*>(arg)->unit.load(std::memory_order_acquire)) unit->OnShutdown();
}

void OnJackLatency(jack_latency_callback_mode_t mode, void* arg) {
  if (mode != JackPlaybackLatency) return;
  if (auto* unit = static_cast<LJackOutputUnit::Client*>(arg)->unit.load(std::memory_order_acquire)) unit->OnLatency();
}

}  // namespace

void LJackListDevices(std::vector<LSoundPlayDeviceQuery::Device>& devices) {
  jack_client_t* client = Connect("Morvane");
  if (!client) return;
  const int ports = static_cast<int>(PlaybackPorts(client).size());
  jack_client_close(client);
  if (ports > 0) devices.push_back({kJackDevice, kJackDeviceName, ports});
}

LJackOutputUnit::LJackOutputUnit() = default;

LJackOutputUnit::~LJackOutputUnit() { Close(); }

bool LJackOutputUnit::Open(unsigned int deviceId) {
  Close();
  if (deviceId != kJackDevice) return false;
  auto client = std::make_unique<Client>();
  client->client = Connect("Morvane");
  if (!client->client) return false;
  m_playback = PlaybackPorts(client->client);
  if (m_playback.size() > kMaxPorts) m_playback.resize(kMaxPorts);
  m_serverRate = static_cast<int>(jack_get_sample_rate(client->client));
  if (!m_playback.empty()) client->playback = jack_port_by_name(client->client, m_playback[0].c_str());
  client->unit.store(this, std::memory_order_release);
  jack_set_process_callback(client->client, &OnJackProcess, client.get());
  jack_on_info_shutdown(client->client, &OnJackShutdown, client.get());
  jack_set_latency_callback(client->client, &OnJackLatency, client.get());
  m_client = std::move(client);
  m_lost = false;
  if (m_playback.empty()) {
    Close();
    return false;
  }
  return true;
}

// Runs a call on the client within a bound; a call that overruns leaves the
// client behind, silenced, and reports the device lost.
bool LJackOutputUnit::Teardown(void (*call)(void*), int ms) {
  if (!m_client) return true;
  jack_client_t* client = m_client->client;
  if (m_teardown.Run([call, client] { call(client); }, ms)) return true;
  m_client->unit.store(nullptr, std::memory_order_release);
  (void)m_client.release();  // the abandoned call may still use it
  m_active = false;
  m_ports = 0;
  ReportFailure();
  return false;
}

void LJackOutputUnit::Close() {
  if (!m_client) return;
  Uninitialize();
  if (m_client && m_lost.load(std::memory_order_acquire)) {
    // The library crashes closing a client whose server is gone: it is left
    // as it is, silenced (a few kilobytes per server lost).
    m_client->unit.store(nullptr, std::memory_order_release);
    (void)m_client.release();
  } else if (m_client && Teardown([](void* c) { jack_client_close(static_cast<jack_client_t*>(c)); })) {
    m_client.reset();  // closed: no callback comes any more
  }
  m_playback.clear();
  m_serverRate = 0;
}

bool LJackOutputUnit::IsOpen() const { return m_client && !m_lost.load(std::memory_order_acquire); }

bool LJackOutputUnit::Initialize() {
  Uninitialize();
  if (!IsOpen() || m_rate != m_serverRate) return false;
  PrepareStaging();
  m_interleaved = std::make_unique<int[]>(static_cast<size_t>(kChunkFrames) * kMaxPorts);
  const int wanted = OpenedChannels();
  for (m_ports = 0; m_ports < wanted; ++m_ports) {
    const std::string name = "out_" + std::to_string(m_ports + 1);
    m_client->ports[m_ports] =
        jack_port_register(m_client->client, name.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    if (!m_client->ports[m_ports]) {
      Uninitialize();
      return false;
    }
  }
  return true;
}

void LJackOutputUnit::Uninitialize() {
  Stop();
  if (!m_client) return;
  if (m_lost.load(std::memory_order_acquire)) m_ports = 0;  // the server took them with it
  for (; m_ports > 0; --m_ports) {
    jack_port_unregister(m_client->client, m_client->ports[m_ports - 1]);
    m_client->ports[m_ports - 1] = nullptr;
  }
}

bool LJackOutputUnit::Start() {
  if (!IsOpen() || m_ports == 0) return false;
  if (!m_active) {
    if (jack_activate(m_client->client) != 0) return false;
    m_active = true;
    // Deactivation dropped the connections. The server applies them at its
    // next cycle, so the process thread renders only once its cycle's graph
    // holds them: no rendered period goes unheard.
    unsigned int pending = 0;
    for (int i = 0; i < m_ports; ++i)
      if (jack_connect(m_client->client, jack_port_name(m_client->ports[i]), m_playback[i].c_str()) == 0)
        pending |= 1u << i;
    m_unconnected.store(pending, std::memory_order_relaxed);
    m_cyclesUnconnected = 0;
  }
  // Read by the first period rendered: no port is queried on this thread,
  // where a query waits out the graph change the connections just made.
  OnLatency();
  m_running.store(true, std::memory_order_release);
  return IsOpen();
}

void LJackOutputUnit::Stop() {
  m_running.store(false, std::memory_order_release);
  // A process call under way finishes its period; none renders after this.
  for (int i = 0; i < 200 && m_inProcess.load(std::memory_order_acquire) != 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (!m_active || !m_client) return;
  m_active = false;
  if (m_lost.load(std::memory_order_acquire)) return;  // nothing to tell a server that is gone
  Teardown([](void* c) { jack_deactivate(static_cast<jack_client_t*>(c)); });
}

// The server's notification thread: the server went away.
void LJackOutputUnit::OnShutdown() {
  m_lost.store(true, std::memory_order_release);
  if (m_running.exchange(false)) ReportFailure();
}

// The server's notification thread: the ports' playback latency changed
// with the connections. Only noted: the server holds the connection that
// caused it until this returns, and a port query here sleeps for a period
// or more while that change is pending.
void LJackOutputUnit::OnLatency() { m_latencyChanged.store(true, std::memory_order_release); }

// Real-time: the process thread reads the graph as it stands, never waiting
// for a change to take effect. Just after connecting, the port's own figure
// is not yet worked out (zero): it goes straight to the playback port, whose
// figure is then its own.
void LJackOutputUnit::ReadLatency() {
  jack_latency_range_t range{};
  jack_port_get_latency_range(m_client->ports[0], JackPlaybackLatency, &range);
  if (range.max == 0 && m_client->playback)
    jack_port_get_latency_range(m_client->playback, JackPlaybackLatency, &range);
  m_latency.store(static_cast<int>(range.max), std::memory_order_relaxed);
}

// Real-time: whether the connections Start made are in the graph this cycle
// runs on. A connection someone else undoes at once is not waited for long.
bool LJackOutputUnit::Connected() {
  unsigned int pending = m_unconnected.load(std::memory_order_relaxed);
  if (pending == 0) return true;
  for (int p = 0; p < m_ports; ++p)
    if ((pending & (1u << p)) && jack_port_connected(m_client->ports[p]) > 0) pending &= ~(1u << p);
  if (pending != 0 && ++m_cyclesUnconnected < kMaxCyclesUnconnected) {
    m_unconnected.store(pending, std::memory_order_relaxed);
    return false;
  }
  m_unconnected.store(0, std::memory_order_relaxed);
  return true;
}

// Real-time: the server's process thread; allocates nothing, never blocks.
void LJackOutputUnit::OnProcess(unsigned int frames) {
  m_inProcess.fetch_add(1, std::memory_order_acq_rel);
  float* out[kMaxPorts];
  const int ports = m_ports;
  if (ports > 0 && m_latencyChanged.exchange(false, std::memory_order_acq_rel)) ReadLatency();
  for (int p = 0; p < ports; ++p) out[p] = static_cast<float*>(jack_port_get_buffer(m_client->ports[p], frames));
  const bool running = m_running.load(std::memory_order_acquire) && Connected();
  for (unsigned int done = 0; done < frames;) {
    const int n = static_cast<int>(std::min<unsigned int>(frames - done, kChunkFrames));
    int delivered = 0;
    if (running)
      RenderDevice(m_interleaved.get(), n, &delivered);
    else
      RenderSilence(m_interleaved.get(), n);
    const int channels = OpenedChannels();
    for (int p = 0; p < ports; ++p)
      for (int f = 0; f < n; ++f)
        out[p][done + f] = p < channels ? static_cast<float>(m_interleaved[f * channels + p]) * kScale : 0.0f;
    done += static_cast<unsigned int>(n);
  }
  m_inProcess.fetch_sub(1, std::memory_order_acq_rel);
}
