// IMA ADPCM WAV reader (mono only), in the Microsoft block layout: each block
// starts with a 4-byte header (first sample, step index) followed by 4-bit
// codes, low nibble first.
#pragma once

#include <cstdint>

#include "soundfile/IMAADPCM.h"
#include "soundfile/MonoFileSource.h"
#include "soundfile/ReadFile.h"
#include "soundfile/SoundSource.h"

// Takes over the file positioned at the first data byte. More than one
// channel gives an error source with code 7.
LSoundSource LIMAWaveOpenSource(LReadFile& file, unsigned int dataBytes, int sampleRate, unsigned char channels,
                                unsigned int blockAlign);

class LIMASoundSource : public LMonoFileSource {
 public:
  // Takes the open file away from the caller, positioned at the first data
  // byte. A data size of 0xFFFFFFFF (length unknown) means "to the end of the
  // file"; a block align outside 4..32768 bytes is brought into that range.
  LIMASoundSource(LReadFile& file, unsigned int dataBytes, int sampleRate, unsigned int blockAlign);

  // Any position: before the start gives leading silence, past the end
  // silence only. Inside a block the block is decoded up to the target.
  void Seek(int sample) override;

 private:
  // Worker-thread code: allocates nothing; codes are read through a stack buffer.
  int Decode(int* out, int frames) override;
  bool StartBlock(int* out);
  int DecodeCodes(int* out, int frames);

  LIMAADPCM m_decoder;
  uint32_t m_blockAlign = 4;
  int m_samplesPerBlock = 1;
  int m_leftInBlock = 0;   // frames of the current block not yet decoded
  uint8_t m_heldByte = 0;  // byte whose high nibble is still to be decoded
  bool m_highPending = false;
};
