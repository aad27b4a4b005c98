// IMA ADPCM WAV reader (mono only).
#pragma once

#include "soundfile/ReadFile.h"
#include "soundfile/SoundSource.h"

// Takes over the file positioned at the first data byte. More than one
// channel gives an error source with code 7.
LSoundSource LIMAWaveOpenSource(LReadFile& file, unsigned int dataBytes, int sampleRate, unsigned char channels,
                                unsigned int blockAlign);
