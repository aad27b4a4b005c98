// Where a WAV data chunk lies in its file, for the readers that take over a
// file positioned at the chunk's first byte. Offsets are bytes.
#pragma once

#include <cstdint>

#include "soundfile/ReadFile.h"

// The file's current offset, or 0 when it cannot be told or does not fit in
// 32 bits (a RIFF file cannot be larger).
inline uint32_t DataChunkStart(const LReadFile& file) {
  const int64_t at = file.Tell();
  return (at < 0 || at >= (int64_t(1) << 32)) ? 0 : static_cast<uint32_t>(at);
}

// Bytes from start to the end of the file, for a chunk whose writer left its
// length unknown; 0 when the file is shorter or its size cannot be told.
inline uint32_t DataChunkBytesToEnd(const LReadFile& file, uint32_t start) {
  const int64_t size = file.Size();
  if (size < 0 || size <= int64_t(start)) return 0;
  const int64_t bytes = size - start;
  return bytes >= (int64_t(1) << 32) ? 0xFFFFFFFFu : static_cast<uint32_t>(bytes);
}

// Narrows a frame count to the 32-bit signed positions of a sound source.
inline int ClampFrames(int64_t frames) {
  if (frames < 0) return 0;
  return frames > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(frames);
}
