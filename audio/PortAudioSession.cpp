#include "audio/PortAudioSession.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <portaudio.h>

#include <cstdlib>
#include <mutex>

namespace {

void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}
void QuietJack(const char*) {}

void QuietBackEnds() {
  static std::once_flag once;
  std::call_once(once, [] {
    snd_lib_error_set_handler(&QuietAlsa);
    // Never spawn a JACK server just to list devices.
    ::setenv("JACK_NO_START_SERVER", "1", 0);
    // JACK is loaded by PortAudio itself when built with it; look it up
    // rather than link it, so a PortAudio without JACK works as well.
    using Setter = void (*)(void (*)(const char*));
    for (const char* name : {"jack_set_error_function", "jack_set_info_function"})
      if (auto set = reinterpret_cast<Setter>(::dlsym(RTLD_DEFAULT, name))) set(&QuietJack);
  });
}

class PortAudioQuery : public LSoundPlayDeviceQuery {
 public:
  bool Enumerate(std::vector<Device>& devices) override {
    LPortAudioSession session;
    if (!session.IsOk()) return false;
    const int count = Pa_GetDeviceCount();
    if (count < 0) return false;
    for (int i = 0; i < count; ++i) {
      const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
      if (!info || !info->name) return false;
      devices.push_back({static_cast<unsigned int>(i), info->name, info->maxOutputChannels});
    }
    return true;
  }
  unsigned int DefaultOutputDevice() override {
    LPortAudioSession session;
    if (!session.IsOk()) return kNoPlayDevice;
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    return device == paNoDevice ? kNoPlayDevice : static_cast<unsigned int>(device);
  }
};

}  // namespace

LPortAudioSession::LPortAudioSession() {
  QuietBackEnds();
  m_ok = Pa_Initialize() == paNoError;
}

LPortAudioSession::~LPortAudioSession() {
  if (m_ok) Pa_Terminate();
}

LSoundPlayDeviceQuery& LPortAudioDeviceQuery() {
  static PortAudioQuery query;
  return query;
}
