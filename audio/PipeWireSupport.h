// The PipeWire client library's set-up and the daemon's list of sinks.
#pragma once

#include <string>
#include <vector>

// True once the client library is initialised (once per process, with its
// own logging silenced unless PIPEWIRE_DEBUG asks for it).
bool LPipeWireReady();

struct LPipeWireSink {
  unsigned long long serial;  // object.serial: never reused while the daemon runs
  std::string description;    // what desktop sound settings show
};

// Asks the daemon for its audio sinks, in the order it announces them.
// False when no daemon answers (within about a second).
bool LPipeWireListSinks(std::vector<LPipeWireSink>& sinks);
