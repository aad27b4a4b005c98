#include "audio/PortAudioSession.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <portaudio.h>

#include <time.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>

namespace {

// The stream whose thread is calling, as LAlsaWatchThisThread set it.
thread_local void (*t_onAlsaFailure)(void*) = nullptr;
thread_local void* t_alsaFailureContext = nullptr;

using ReventsFunction = int (*)(snd_pcm_t*, pollfd*, unsigned int, unsigned short*);
std::atomic<ReventsFunction> g_realRevents{nullptr};

// ALSA's own function, behind the one below.
ReventsFunction RealRevents() {
  ReventsFunction real = g_realRevents.load(std::memory_order_acquire);
  if (real) return real;
  void* found = ::dlvsym(RTLD_NEXT, "snd_pcm_poll_descriptors_revents", "ALSA_0.9");
  if (!found) found = ::dlsym(RTLD_NEXT, "snd_pcm_poll_descriptors_revents");
  real = reinterpret_cast<ReventsFunction>(found);
  g_realRevents.store(real, std::memory_order_release);
  return real;
}

void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}
void QuietJack(const char*) {}

void QuietBackEnds() {
  RealRevents();  // looked up here, never first on a stream's thread
  snd_lib_error_set_handler(&QuietAlsa);
  // Never spawn a JACK server just to list devices.
  ::setenv("JACK_NO_START_SERVER", "1", 0);
  // JACK is loaded by PortAudio itself when built with it; look it up
  // rather than link it, so a PortAudio without JACK works as well.
  using Setter = void (*)(void (*)(const char*));
  for (const char* name : {"jack_set_error_function", "jack_set_info_function"})
    if (auto set = reinterpret_cast<Setter>(::dlsym(RTLD_DEFAULT, name))) set(&QuietJack);
}

const char* HostPrefix(PaHostApiTypeId type) {
  switch (type) {
    case paALSA: return "ALSA: ";
    case paOSS: return "OSS: ";
    default: return "";
  }
}

class PortAudioQuery : public LSoundPlayDeviceQuery {
 public:
  bool Enumerate(std::vector<Device>& devices) override {
    if (!LPortAudioReady()) return false;
    const int count = Pa_GetDeviceCount();
    if (count < 0) return false;
    for (int i = 0; i < count; ++i) {
      const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
      if (!info || !info->name) return false;
      devices.push_back({static_cast<unsigned int>(i), LPortAudioDeviceName(i), info->maxOutputChannels});
    }
    return true;
  }
  unsigned int DefaultOutputDevice() override {
    if (!LPortAudioReady()) return kNoPlayDevice;
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    return device == paNoDevice ? kNoPlayDevice : static_cast<unsigned int>(device);
  }
};

}  // namespace

// Takes the place of ALSA's function for PortAudio, which asks it after
// every poll. When a device fails there (PipeWire's ALSA plug-in once the
// daemon is gone), PortAudio 19.6 goes to an error path that jumps back to
// itself with the stream thread's cancellation turned off: an endless loop
// of error lines that Pa_AbortStream waits for in vain. On a watched stream
// thread the failure is reported to the stream and PortAudio hears "nothing
// ready yet": it polls again, the one place where an abort ends its thread,
// and the pause keeps that round from spinning.
extern "C" int snd_pcm_poll_descriptors_revents(snd_pcm_t* pcm, pollfd* pfds, unsigned int nfds,
                                                unsigned short* revents) {
  const ReventsFunction real = RealRevents();
  const int result = real ? real(pcm, pfds, nfds, revents) : -ENOSYS;
  if (result >= 0 || !t_onAlsaFailure) return result;
  if (void* context = t_alsaFailureContext) {
    t_alsaFailureContext = nullptr;  // reported once
    t_onAlsaFailure(context);
  }
  *revents = 0;
  const timespec pause{0, 10'000'000};
  ::nanosleep(&pause, nullptr);
  return 0;
}

void LAlsaWatchThisThread(void (*onFailure)(void*), void* context) {
  t_onAlsaFailure = onFailure;
  t_alsaFailureContext = context;
}

namespace {

std::mutex g_portAudioLock;
enum class PortAudioState { kNever, kReady, kFailed } g_portAudioState = PortAudioState::kNever;
int g_portAudioHolds = 0;

bool InitialisePortAudio() {
  QuietBackEnds();
  // JACK is played by a client of our own. PortAudio's JACK host API would
  // keep a client active (woken every period) for as long as PortAudio is
  // initialised, never see a server started later, and abort the process at
  // Pa_Terminate once its server is gone: it is kept from finding one, so
  // no JACK client of PortAudio's ever exists and Pa_Terminate is safe.
  const char* server = std::getenv("JACK_DEFAULT_SERVER");
  const std::string saved = server ? server : "";
  ::setenv("JACK_DEFAULT_SERVER", "morvane-portaudio-without-jack", 1);
  const bool initialised = Pa_Initialize() == paNoError;
  server ? ::setenv("JACK_DEFAULT_SERVER", saved.c_str(), 1) : ::unsetenv("JACK_DEFAULT_SERVER");
  // JACK's client library is loaded by now: quiet it as well.
  QuietBackEnds();
  return initialised;
}

}  // namespace

bool LPortAudioReady() {
  std::lock_guard<std::mutex> guard(g_portAudioLock);
  if (g_portAudioState == PortAudioState::kNever)
    g_portAudioState = InitialisePortAudio() ? PortAudioState::kReady : PortAudioState::kFailed;
  return g_portAudioState == PortAudioState::kReady;
}

void LPortAudioRescan() {
  std::lock_guard<std::mutex> guard(g_portAudioLock);
  if (g_portAudioState == PortAudioState::kNever || g_portAudioHolds > 0) return;
  if (g_portAudioState == PortAudioState::kReady) Pa_Terminate();
  g_portAudioState = InitialisePortAudio() ? PortAudioState::kReady : PortAudioState::kFailed;
}

void LPortAudioHold(bool hold) {
  std::lock_guard<std::mutex> guard(g_portAudioLock);
  g_portAudioHolds += hold ? 1 : -1;
}


std::string LPortAudioDeviceName(int device) {
  const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
  if (!info || !info->name) return {};
  const PaHostApiInfo* host = Pa_GetHostApiInfo(info->hostApi);
  return std::string(host ? HostPrefix(host->type) : "") + info->name;
}

LSoundPlayDeviceQuery& LPortAudioDeviceQuery() {
  static PortAudioQuery query;
  return query;
}
