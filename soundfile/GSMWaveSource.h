// GSM 06.10 WAV reader (format tag 0x31, 65-byte blocks of 320 samples).
#pragma once

#include <cstdint>

#include "soundfile/GSMDecoder.h"
#include "soundfile/MonoFileSource.h"
#include "soundfile/ReadFile.h"
#include "soundfile/SoundSource.h"

// Takes over the file positioned at the first data byte; always one channel.
LSoundSource LGSMWaveOpenSource(LReadFile& file, unsigned int dataBytes, int sampleRate);

class LGSMWaveSource : public LMonoFileSource {
 public:
  // Takes the open file away from the caller. A data size above 0xFFFFFF00
  // (length unknown) means "to the end of the file"; a trailing partial
  // block is ignored.
  LGSMWaveSource(LReadFile& file, unsigned int dataBytes, int sampleRate);

  // Any position; decoding restarts from a reset decoder at the block that
  // holds the target, so a sound read after a seek can differ from the same
  // stretch read straight through until the filters settle.
  void Seek(int sample) override;

 private:
  // Worker-thread code: allocates nothing; whole blocks decode straight into
  // the caller's buffer.
  int Decode(int* out, int frames) override;
  // Reads the next block and decodes it into out (320 samples); false when
  // the file holds no whole block any more.
  bool DecodeNextBlock(int* out);

  LGSMDecoder m_decoder;
  int m_block[kGSMBlockSamples];  // the last block decoded into the reader itself
  int m_next = kGSMBlockSamples;  // its next unread sample; 320 = empty
};
