// What the sound player tells its listener, always on the main thread. The
// long argument is the user value registered with the listener.
#pragma once

#include "soundfile/DB.h"
#include "soundfile/SoundSource.h"

class LSoundPlayerNotify {
 public:
  virtual ~LSoundPlayerNotify() = default;
  virtual void spntfPlay(long) {}
  virtual void spntfStop(long) {}
  virtual void spntfCue(long) {}    // not sent by this player
  virtual void spntfPause(long) {}  // not sent by this player
  // About every 50 ms of audio, and once at the end of a finite source.
  virtual void spntfTime(LSoundTime, long) {}
  // Right after each periodic spntfTime.
  virtual void spntfLevel(const LDBMultiChannel<LdBLevel>&, long) {}
  // Asked at each Start: a listener that shows neither times nor levels
  // says so, and the player then wakes only to refill and for the end or a
  // lost device, not every 50 ms.
  virtual bool WantsTimeReports() const { return true; }
};
