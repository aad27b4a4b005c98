// GSM 06.10 WAV reader.
#pragma once

#include "soundfile/ReadFile.h"
#include "soundfile/SoundSource.h"

// Takes over the file positioned at the first data byte; always one channel.
LSoundSource LGSMWaveOpenSource(LReadFile& file, unsigned int dataBytes, int sampleRate);
