// Base of the readers that decode a WAV data chunk of one channel straight
// from the file: position and end bookkeeping, silence outside the data.
// Offsets are bytes; positions and counts are frames.
#pragma once

#include <cstdint>

#include "soundfile/ReadFile.h"
#include "soundfile/SoundSource.h"

class LMonoFileSource : public LSoundSourceBase {
 public:
  // Before frame 0 and from the end on, and whatever the file could not
  // deliver (a truncated file), the request is filled with silence.
  void Read(int* buffer, int samples) final;
  int GetPositionSample() const final { return m_position; }
  int GetEndSample() const final { return m_end; }

 protected:
  // Takes the open file away from the caller, positioned at the first data byte.
  LMonoFileSource(LReadFile& file, int sampleRate, int peak);

  // Decodes up to frames frames at the file's current place; returns how
  // many it produced, fewer only when the file ran out.
  virtual int Decode(int* out, int frames) = 0;

  // Bytes from the data start to the end of the file, for a data chunk whose
  // writer left its length unknown; 0 when there are none.
  uint32_t BytesToEndOfFile() const;
  // Narrows a frame count to a position (0 .. 2^31 - 1).
  static int ClampFrames(int64_t frames);

  LReadFile m_file;
  uint32_t m_dataStart = 0;  // 0 when the offset is unknown or beyond 32 bits
  int m_position = 0;        // next frame
  int m_end = 0;             // total frames
};
