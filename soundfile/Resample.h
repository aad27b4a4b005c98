// Sample-rate conversion of a whole (short) sound, done once when the sound
// is loaded so that the audio thread only ever copies: libsoxr at its high
// quality setting, into memory.
#pragma once

#include "soundfile/SoundSource.h"

// Longest sound converted, in seconds of input; a click sound plays at most
// half of the longest slot (3 s at 10 bpm), so longer ones are cut here.
constexpr int kResampleMaxSeconds = 4;

// The sound at rate frames a second (a new in-memory source), or the sound
// itself when it already runs at that rate, has an error, or rate is outside
// 1000..384000. On a conversion failure the result carries kSourceInvalid.
LSoundSource LResampleSound(const LSoundSource& sound, int rate);
