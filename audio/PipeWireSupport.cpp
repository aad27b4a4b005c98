#include "audio/PipeWireSupport.h"

#include <pipewire/pipewire.h>

#include <cstdlib>
#include <cstring>

bool LPipeWireReady() {
  static const bool ok = [] {
    pw_init(nullptr, nullptr);
    if (!std::getenv("PIPEWIRE_DEBUG")) pw_log_set_level(SPA_LOG_LEVEL_NONE);
    return true;
  }();
  return ok;
}

namespace {

constexpr int kListSeconds = 1;

struct Listing {
  pw_main_loop* loop = nullptr;
  std::vector<LPipeWireSink>* sinks = nullptr;
  int seq = -1;
  bool done = false;
};

void OnGlobal(void* data, uint32_t, uint32_t, const char* type, uint32_t, const spa_dict* props) {
  if (!props || std::strcmp(type, PW_TYPE_INTERFACE_Node) != 0) return;
  const char* mediaClass = spa_dict_lookup(props, PW_KEY_MEDIA_CLASS);
  if (!mediaClass || std::strcmp(mediaClass, "Audio/Sink") != 0) return;
  const char* serial = spa_dict_lookup(props, PW_KEY_OBJECT_SERIAL);
  const char* name = spa_dict_lookup(props, PW_KEY_NODE_DESCRIPTION);
  if (!name) name = spa_dict_lookup(props, PW_KEY_NODE_NICK);
  if (!name) name = spa_dict_lookup(props, PW_KEY_NODE_NAME);
  if (!serial || !name || !*name) return;
  static_cast<Listing*>(data)->sinks->push_back({std::strtoull(serial, nullptr, 10), name});
}

void OnDone(void* data, uint32_t id, int seq) {
  auto* listing = static_cast<Listing*>(data);
  if (id != PW_ID_CORE || seq != listing->seq) return;
  listing->done = true;
  pw_main_loop_quit(listing->loop);
}

void OnError(void* data, uint32_t id, int, int, const char*) {
  if (id == PW_ID_CORE) pw_main_loop_quit(static_cast<Listing*>(data)->loop);
}

void OnTimeout(void* data, uint64_t) { pw_main_loop_quit(static_cast<Listing*>(data)->loop); }

}  // namespace

bool LPipeWireListSinks(std::vector<LPipeWireSink>& sinks) {
  if (!LPipeWireReady()) return false;
  Listing listing;
  listing.sinks = &sinks;
  listing.loop = pw_main_loop_new(nullptr);
  if (!listing.loop) return false;
  pw_loop* loop = pw_main_loop_get_loop(listing.loop);
  pw_context* context = pw_context_new(loop, nullptr, 0);
  pw_core* core = context ? pw_context_connect(context, nullptr, 0) : nullptr;
  if (core) {
    pw_registry* registry = pw_core_get_registry(core, PW_VERSION_REGISTRY, 0);
    pw_registry_events registryEvents{};
    registryEvents.version = PW_VERSION_REGISTRY_EVENTS;
    registryEvents.global = &OnGlobal;
    pw_core_events coreEvents{};
    coreEvents.version = PW_VERSION_CORE_EVENTS;
    coreEvents.done = &OnDone;
    coreEvents.error = &OnError;
    spa_hook registryListener{}, coreListener{};
    pw_registry_add_listener(registry, &registryListener, &registryEvents, &listing);
    pw_core_add_listener(core, &coreListener, &coreEvents, &listing);
    listing.seq = pw_core_sync(core, PW_ID_CORE, 0);
    spa_source* timer = pw_loop_add_timer(loop, &OnTimeout, &listing);
    timespec timeout{kListSeconds, 0};
    pw_loop_update_timer(loop, timer, &timeout, nullptr, false);
    pw_main_loop_run(listing.loop);
    pw_loop_destroy_source(loop, timer);
    spa_hook_remove(&coreListener);
    spa_hook_remove(&registryListener);
    pw_proxy_destroy(reinterpret_cast<pw_proxy*>(registry));
    pw_core_disconnect(core);
  }
  if (context) pw_context_destroy(context);
  pw_main_loop_destroy(listing.loop);
  return listing.done;
}
