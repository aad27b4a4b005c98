// PortAudio's library lifetime, with the sound back ends kept quiet: without
// a sound card ALSA and JACK print dozens of lines on stderr, which the user
// should never see. Problems are reported in the program's own words.
#pragma once

#include "audio/PlayDevice.h"

class LPortAudioSession {
 public:
  LPortAudioSession();
  ~LPortAudioSession();
  LPortAudioSession(const LPortAudioSession&) = delete;
  LPortAudioSession& operator=(const LPortAudioSession&) = delete;
  bool IsOk() const { return m_ok; }

 private:
  bool m_ok;
};

// Device queries through PortAudio: identifiers are PortAudio device indices.
LSoundPlayDeviceQuery& LPortAudioDeviceQuery();
