// Opening sound files: walks the RIFF/WAVE container to the "data" chunk and
// hands the open file to the reader that matches the format tag.
#pragma once

#include <cstdint>

#include "soundfile/SoundSource.h"

// Format tags understood by the opener.
enum : uint16_t {
  kWaveFormatPCM = 0x0001,
  kWaveFormatMSADPCM = 0x0002,
  kWaveFormatFloat = 0x0003,
  kWaveFormatALaw = 0x0006,
  kWaveFormatMuLaw = 0x0007,
  kWaveFormatIMAADPCM = 0x0011,
  kWaveFormat0x22 = 0x0022,
  kWaveFormatGSM610 = 0x0031,
  kWaveFormatMPEGLayer3 = 0x0055,
  kWaveFormatExtensible = 0xFFFE,
};

// The "fmt " chunk as the opener uses it, in host order.
struct WAVEFORMATEX {
  uint16_t wFormatTag = 0;
  uint16_t nChannels = 0;
  uint32_t nSamplesPerSec = 0;
  uint32_t nAvgBytesPerSec = 0;
  uint16_t nBlockAlign = 0;
  uint16_t wBitsPerSample = 0;
  uint16_t cbSize = 0;               // extra size; 0 when the chunk has fewer than 18 bytes
  uint16_t wValidBitsPerSample = 0;  // extensible only
  uint32_t dwChannelMask = 0;        // extensible only
  uint8_t subFormat[16] = {};        // extensible only
};

constexpr int kMaxFormatChunkBytes = 8192;

namespace LWaveFileFormat {
// Fills the fields from the chunk's little-endian bytes (chunkBytes read).
void LittleEndianToNative(const uint8_t* bytes, int chunkBytes, WAVEFORMATEX& format);
// Replaces the extensible tag by the sub-format's tag when it is one of the
// known sub-formats; leaves 0xFFFE otherwise.
void ResolveExtensible(WAVEFORMATEX& format);
}  // namespace LWaveFileFormat

class LWaveFile {
 public:
  // Never fails by null: an unusable file gives an error source (codes 3, 4, 5, 7).
  static LSoundSource OpenSource(const char* path);
};
