#include "audio/PortAudioSession.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <portaudio.h>

#include <cstdlib>
#include <mutex>
#include <string>

namespace {

void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}
void QuietJack(const char*) {}

void QuietBackEnds() {
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

bool LPortAudioReady() {
  static const bool ok = [] {
    QuietBackEnds();
    // JACK is played by a client of our own. PortAudio's JACK host API would
    // keep a client active (woken every period) from here to the end of the
    // process, never see a server started later, and abort the process at
    // Pa_Terminate once its server is gone: it is kept from finding one.
    const char* server = std::getenv("JACK_DEFAULT_SERVER");
    const std::string saved = server ? server : "";
    ::setenv("JACK_DEFAULT_SERVER", "morvane-portaudio-without-jack", 1);
    const bool initialised = Pa_Initialize() == paNoError;
    server ? ::setenv("JACK_DEFAULT_SERVER", saved.c_str(), 1) : ::unsetenv("JACK_DEFAULT_SERVER");
    // JACK's client library is loaded by now: quiet it as well.
    QuietBackEnds();
    return initialised;
  }();
  return ok;
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
