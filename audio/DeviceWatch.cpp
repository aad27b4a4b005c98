#include "audio/DeviceWatch.h"

#include <alsa/asoundlib.h>
#include <pipewire/pipewire.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <set>

#include "audio/PipeWireSupport.h"

// Everything below `loop` is touched on the loop's thread, or under its lock.
struct LOutputDeviceWatch::State {
  std::function<void()> changed;
  pw_thread_loop* loop = nullptr;
  pw_context* context = nullptr;
  pw_core* core = nullptr;
  pw_registry* registry = nullptr;
  spa_hook coreListener{}, registryListener{};
  std::set<uint32_t> sinks;  // ids of the sinks announced
  std::atomic<bool> connected{false};

  void Disconnect() {
    if (registry) {
      spa_hook_remove(&registryListener);
      pw_proxy_destroy(reinterpret_cast<pw_proxy*>(registry));
      registry = nullptr;
    }
    if (core) {
      spa_hook_remove(&coreListener);
      pw_core_disconnect(core);
      core = nullptr;
    }
    sinks.clear();
    connected = false;
  }
};

namespace {

using State = LOutputDeviceWatch::State;

void OnGlobal(void* data, uint32_t id, uint32_t, const char* type, uint32_t, const spa_dict* props) {
  if (!props || std::strcmp(type, PW_TYPE_INTERFACE_Node) != 0) return;
  const char* mediaClass = spa_dict_lookup(props, PW_KEY_MEDIA_CLASS);
  if (!mediaClass || std::strcmp(mediaClass, "Audio/Sink") != 0) return;
  auto* state = static_cast<State*>(data);
  state->sinks.insert(id);
  state->changed();
}

void OnGlobalRemove(void* data, uint32_t id) {
  auto* state = static_cast<State*>(data);
  if (state->sinks.erase(id) > 0) state->changed();
}

// The connection is gone (the daemon died): every sink went with it.
void OnError(void* data, uint32_t id, int, int res, const char*) {
  auto* state = static_cast<State*>(data);
  if (id != PW_ID_CORE || res != -EPIPE || !state->connected) return;
  state->connected = false;
  state->changed();
}

const pw_registry_events kRegistryEvents = {PW_VERSION_REGISTRY_EVENTS, &OnGlobal, &OnGlobalRemove};

pw_core_events CoreEvents() {
  pw_core_events events{};
  events.version = PW_VERSION_CORE_EVENTS;
  events.error = &OnError;
  return events;
}
const pw_core_events kCoreEvents = CoreEvents();

}  // namespace

LOutputDeviceWatch::LOutputDeviceWatch(std::function<void()> changed) : m_state(std::make_unique<State>()) {
  m_state->changed = std::move(changed);
  if (!LPipeWireReady()) return;
  m_state->loop = pw_thread_loop_new("morvane-devices", nullptr);
  if (!m_state->loop) return;
  m_state->context = pw_context_new(pw_thread_loop_get_loop(m_state->loop), nullptr, 0);
  if (!m_state->context || pw_thread_loop_start(m_state->loop) != 0) return;
  Connect();
}

LOutputDeviceWatch::~LOutputDeviceWatch() {
  if (!m_state->loop) return;
  pw_thread_loop_stop(m_state->loop);  // no callback runs from here on
  m_state->Disconnect();
  if (m_state->context) pw_context_destroy(m_state->context);
  pw_thread_loop_destroy(m_state->loop);
}

bool LOutputDeviceWatch::Connected() const { return m_state->connected; }

bool LOutputDeviceWatch::Connect() {
  if (m_state->connected) return true;
  if (!m_state->context) return false;
  pw_thread_loop_lock(m_state->loop);
  m_state->Disconnect();
  m_state->core = pw_context_connect(m_state->context, nullptr, 0);
  if (m_state->core) {
    pw_core_add_listener(m_state->core, &m_state->coreListener, &kCoreEvents, m_state.get());
    m_state->registry = pw_core_get_registry(m_state->core, PW_VERSION_REGISTRY, 0);
    pw_registry_add_listener(m_state->registry, &m_state->registryListener, &kRegistryEvents, m_state.get());
    m_state->connected = true;
  }
  pw_thread_loop_unlock(m_state->loop);
  return m_state->connected;
}

std::string LAlsaCardsSignature() {
  std::string cards;
  for (int card = -1; snd_card_next(&card) == 0 && card >= 0;) {
    char* name = nullptr;
    cards += std::to_string(card) + ':';
    if (snd_card_get_name(card, &name) == 0 && name) cards += name;
    std::free(name);
    cards += '\n';
  }
  return cards;
}
