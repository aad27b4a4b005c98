#include "audio/PipeWireOutputUnit.h"

#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>

#include <bit>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/PipeWireSupport.h"

struct LPipeWireOutputUnit::Pw {
  pw_thread_loop* loop = nullptr;
  pw_context* context = nullptr;
  pw_core* core = nullptr;
  pw_stream* stream = nullptr;
  spa_hook coreListener{};
  spa_hook streamListener{};
};

namespace {

using Unit = LPipeWireOutputUnit;

// How long a connection or a new stream may take before it counts as failed.
constexpr int kConnectSeconds = 3;

void OnCoreInfo(void* data, const pw_core_info* info) {
  if (!info || !info->props) return;
  if (const char* rate = spa_dict_lookup(info->props, "default.clock.rate"))
    static_cast<Unit*>(data)->OnGraphRate(std::atoi(rate));
}

void OnCoreError(void* data, uint32_t id, int, int res, const char*) {
  // The daemon closed the connection (killed, restarted): the unit is lost.
  if (id == PW_ID_CORE && res == -EPIPE) static_cast<Unit*>(data)->OnDaemonLost();
}

const pw_core_events kCoreEvents = [] {
  pw_core_events e{};
  e.version = PW_VERSION_CORE_EVENTS;
  e.info = &OnCoreInfo;
  e.error = &OnCoreError;
  return e;
}();

void OnStateChanged(void* data, pw_stream_state, pw_stream_state state, const char*) {
  static_cast<Unit*>(data)->OnStreamState(state);
}
void OnProcessEvent(void* data) { static_cast<Unit*>(data)->OnProcess(); }

const pw_stream_events kStreamEvents = [] {
  pw_stream_events e{};
  e.version = PW_VERSION_STREAM_EVENTS;
  e.state_changed = &OnStateChanged;
  e.process = &OnProcessEvent;
  return e;
}();

}  // namespace

LPipeWireOutputUnit::LPipeWireOutputUnit() = default;

LPipeWireOutputUnit::~LPipeWireOutputUnit() { Close(); }

bool LPipeWireOutputUnit::Open(unsigned int node) {
  Close();
  if (!LPipeWireReady()) return false;
  auto pw = std::make_unique<Pw>();
  pw->loop = pw_thread_loop_new("morvane-pipewire", nullptr);
  if (!pw->loop) return false;
  pw->context = pw_context_new(pw_thread_loop_get_loop(pw->loop), nullptr, 0);
  if (!pw->context || pw_thread_loop_start(pw->loop) != 0) {
    if (pw->context) pw_context_destroy(pw->context);
    pw_thread_loop_destroy(pw->loop);
    return false;
  }
  pw_thread_loop_lock(pw->loop);
  pw->core = pw_context_connect(pw->context, pw_properties_new(PW_KEY_APP_NAME, "Morvane", nullptr), 0);
  if (pw->core) pw_core_add_listener(pw->core, &pw->coreListener, &kCoreEvents, this);
  pw_thread_loop_unlock(pw->loop);
  m_pw = std::move(pw);
  if (!m_pw->core) {
    Close();
    return false;
  }
  m_node = node;
  m_lost = false;
  return true;
}

void LPipeWireOutputUnit::Close() {
  if (!m_pw) return;
  Uninitialize();
  pw_thread_loop_stop(m_pw->loop);
  if (m_pw->core) {
    spa_hook_remove(&m_pw->coreListener);
    pw_core_disconnect(m_pw->core);
  }
  pw_context_destroy(m_pw->context);
  pw_thread_loop_destroy(m_pw->loop);
  m_pw.reset();
  m_running = false;
}

bool LPipeWireOutputUnit::IsOpen() const { return m_pw && !m_lost.load(std::memory_order_acquire); }

bool LPipeWireOutputUnit::Initialize() {
  Uninitialize();
  if (!IsOpen()) return false;
  // Stream channel 0 to FL, 1 (or 0 again, for mono) to FR.
  SetChannelMap(0, 1);
  PrepareStaging();
  pw_properties* props = pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Playback",
                                           PW_KEY_MEDIA_ROLE, "Music", PW_KEY_APP_NAME, "Morvane", PW_KEY_NODE_NAME,
                                           "Morvane", PW_KEY_NODE_DESCRIPTION, "Morvane", nullptr);
  // About 20 ms, PipeWire's own default quantum at 48 kHz: a metronome's
  // clicks are scheduled ahead, so a shorter quantum would buy nothing but
  // twice the wake-ups here and in the daemon, whose whole graph follows
  // the smallest request. A power of two, because the graph rounds a
  // request down to one (882 or 960 frames would become 512).
  pw_properties_setf(props, PW_KEY_NODE_LATENCY, "%u/%d", std::bit_ceil(static_cast<unsigned>(m_rate / 50)), m_rate);
  if (m_node != kDefaultSink) pw_properties_setf(props, PW_KEY_TARGET_OBJECT, "%u", m_node);  // object.serial

  uint8_t buffer[1024];
  spa_pod_builder builder = SPA_POD_BUILDER_INIT(buffer, sizeof(buffer));
  spa_audio_info_raw info{};
  info.format = SPA_AUDIO_FORMAT_S32;
  info.rate = static_cast<uint32_t>(m_rate);
  info.channels = 2;
  info.position[0] = SPA_AUDIO_CHANNEL_FL;
  info.position[1] = SPA_AUDIO_CHANNEL_FR;
  const spa_pod* params[1] = {spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &info)};

  pw_thread_loop_lock(m_pw->loop);
  m_streamState = PW_STREAM_STATE_CONNECTING;
  m_pw->stream = pw_stream_new(m_pw->core, "Morvane", props);
  bool ok = m_pw->stream != nullptr;
  if (ok) {
    pw_stream_add_listener(m_pw->stream, &m_pw->streamListener, &kStreamEvents, this);
    const auto flags = static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS |
                                                    PW_STREAM_FLAG_RT_PROCESS | PW_STREAM_FLAG_INACTIVE);
    ok = pw_stream_connect(m_pw->stream, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, params, 1) == 0;
    // Connected means the daemon made the node; linking is the session
    // manager's, and the first process call comes only once it is linked.
    for (int waited = 0; ok && m_streamState == PW_STREAM_STATE_CONNECTING && waited < kConnectSeconds; ++waited)
      pw_thread_loop_timed_wait(m_pw->loop, 1);
    ok = ok && (m_streamState == PW_STREAM_STATE_PAUSED || m_streamState == PW_STREAM_STATE_STREAMING);
  }
  pw_thread_loop_unlock(m_pw->loop);
  if (!ok) Uninitialize();
  return ok;
}

void LPipeWireOutputUnit::Uninitialize() {
  if (!m_pw || !m_pw->stream) return;
  Stop();
  pw_thread_loop_lock(m_pw->loop);
  spa_hook_remove(&m_pw->streamListener);
  pw_stream_destroy(m_pw->stream);
  m_pw->stream = nullptr;
  pw_thread_loop_unlock(m_pw->loop);
}

bool LPipeWireOutputUnit::Start() {
  if (!m_pw || !m_pw->stream || !IsOpen()) return false;
  m_running.store(true, std::memory_order_release);
  pw_thread_loop_lock(m_pw->loop);
  pw_stream_set_active(m_pw->stream, true);
  pw_thread_loop_unlock(m_pw->loop);
  return IsOpen();
}

void LPipeWireOutputUnit::Stop() {
  m_running.store(false, std::memory_order_release);
  // A process call under way finishes its period; none renders after this.
  for (int i = 0; i < 200 && m_inProcess.load(std::memory_order_acquire) != 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (!m_pw || !m_pw->stream) return;
  pw_thread_loop_lock(m_pw->loop);
  pw_stream_set_active(m_pw->stream, false);
  pw_stream_flush(m_pw->stream, false);
  pw_thread_loop_unlock(m_pw->loop);
}

// PipeWire's loop thread.
void LPipeWireOutputUnit::OnStreamState(int state) {
  m_streamState = state;
  if (state == PW_STREAM_STATE_ERROR || (state == PW_STREAM_STATE_UNCONNECTED && m_running)) OnDaemonLost();
  if (m_pw) pw_thread_loop_signal(m_pw->loop, false);
}

// PipeWire's loop thread.
void LPipeWireOutputUnit::OnDaemonLost() {
  m_lost.store(true, std::memory_order_release);
  if (m_running.exchange(false)) ReportFailure();
  if (m_pw) pw_thread_loop_signal(m_pw->loop, false);
}

// Real-time: PipeWire's data thread; allocates nothing, never blocks.
void LPipeWireOutputUnit::OnProcess() {
  m_inProcess.fetch_add(1, std::memory_order_acq_rel);
  pw_buffer* b = m_pw ? pw_stream_dequeue_buffer(m_pw->stream) : nullptr;
  spa_data* d = b ? &b->buffer->datas[0] : nullptr;
  if (d && d->data) {
    const uint32_t stride = sizeof(int) * 2;
    uint32_t frames = d->maxsize / stride;
    if (b->requested > 0 && b->requested < frames) frames = static_cast<uint32_t>(b->requested);
    int delivered = 0;
    if (m_running.load(std::memory_order_acquire))
      RenderDevice(static_cast<int*>(d->data), static_cast<int>(frames), &delivered);
    else
      RenderSilence(static_cast<int*>(d->data), static_cast<int>(frames));
    d->chunk->offset = 0;
    d->chunk->stride = static_cast<int32_t>(stride);
    d->chunk->size = frames * stride;
  }
  if (b) pw_stream_queue_buffer(m_pw->stream, b);
  m_inProcess.fetch_sub(1, std::memory_order_acq_rel);
}
