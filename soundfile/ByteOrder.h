// Little-endian fields of the file formats, read and written byte by byte so
// that the host's own byte order never matters.
#pragma once

#include <cstdint>

inline uint64_t LReadLE(const uint8_t* p, int bytes) {
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint64_t(p[i]) << (8 * i);
  return v;
}
inline uint32_t LReadLE32(const uint8_t* p) { return static_cast<uint32_t>(LReadLE(p, 4)); }
inline uint16_t LReadLE16(const uint8_t* p) { return static_cast<uint16_t>(LReadLE(p, 2)); }

inline void LPutLE(uint8_t* p, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
