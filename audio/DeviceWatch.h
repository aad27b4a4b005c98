// Hears PipeWire's output devices come and go while a device chooser is
// shown, so the list changes as the desktop's does instead of on a timer.
// (ALSA's cards are announced by nothing PortAudio reads: see
// LAlsaCardsSignature() and LSoundPlayDeviceRescan().)
#pragma once

#include <functional>
#include <memory>
#include <string>

class LOutputDeviceWatch {
 public:
  // changed runs on the watch's own thread when a PipeWire sink comes or
  // goes, or the daemon goes away (and for each sink there when connecting):
  // it should only post to another thread.
  explicit LOutputDeviceWatch(std::function<void()> changed);
  ~LOutputDeviceWatch();
  LOutputDeviceWatch(const LOutputDeviceWatch&) = delete;
  LOutputDeviceWatch& operator=(const LOutputDeviceWatch&) = delete;

  // Connects to the daemon unless connected (cheap when none runs); true
  // while connected.
  bool Connect();
  bool Connected() const;

  struct State;  // the PipeWire side, shared with its event functions

 private:
  std::unique_ptr<State> m_state;
};

// The sound cards ALSA sees, as text that changes when one comes or goes;
// cheap (no device is opened), so a device chooser may poll it and rescan
// PortAudio's list (LSoundPlayDeviceRescan()) only on a change.
std::string LAlsaCardsSignature();
