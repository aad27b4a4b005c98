// PortAudio's library lifetime, with the sound back ends kept quiet: without
// a sound card ALSA and JACK print dozens of lines on stderr, which the user
// should never see. Problems are reported in the program's own words.
//
// PortAudio is initialised on first use and again only when its device list
// is asked for afresh (LPortAudioRescan): each initialisation costs a round
// of connections to every sound server and opens every ALSA device, and
// PortAudio reads its (ALSA) device list at initialisation only. PortAudio
// never reaches JACK itself (JACK has an output of its own).
#pragma once

#include "audio/PlayDevice.h"

// True once PortAudio is usable; initialises it on the first call.
bool LPortAudioReady();
// Initialises PortAudio once more, so that its device list is the system's
// of now, unless it was never initialised (nothing to refresh) or a device
// of it is held: indices would change under it.
void LPortAudioRescan();
// An output unit holds its PortAudio device from Open to Close. A stream
// left behind (its teardown never returned) is never released: PortAudio
// is then not terminated for the rest of the process.
void LPortAudioHold(bool hold);

// Device queries through PortAudio: identifiers are PortAudio device indices.
LSoundPlayDeviceQuery& LPortAudioDeviceQuery();
// "ALSA: hw:0,0": the device name prefixed by its host API's
// short name, as the device list shows it.
std::string LPortAudioDeviceName(int device);

// Stream thread: a failing ALSA device under the calling thread's stream
// (a sound server that died under its ALSA plug-in) is told to
// onFailure(context), once, and the thread is kept waiting where PortAudio
// can end it. Without this PortAudio's ALSA thread loops on the error for
// ever, printing a line each turn, and no abort can end it.
// Allocates nothing: callable from the device callback.
void LAlsaWatchThisThread(void (*onFailure)(void*), void* context);
