#include "soundfile/WaveFile.h"

#include <cstring>

#include "soundfile/ByteOrder.h"
#include "soundfile/GSMWaveSource.h"
#include "soundfile/IMASoundSource.h"
#include "soundfile/MP3File.h"
#include "soundfile/PCMFile.h"
#include "soundfile/ReadFile.h"

namespace {

// Finds the RIFF/WAVE header, skipping other top-level chunks.
bool FindRiffWave(LReadFile& file) {
  uint8_t h[12];
  for (;;) {
    if (file.Read(h, 12) != 12) return false;
    if (std::memcmp(h, "RIFF", 4) == 0 && std::memcmp(h + 8, "WAVE", 4) == 0) return true;
    const uint32_t skip = (LReadLE32(h + 4) + 1) & ~1u;
    if (skip <= 4) return false;
    if (!file.Skip(static_cast<int64_t>(skip) - 4)) return false;
  }
}

// Skips chunks up to the one named id; leaves the file at its body.
bool FindChunk(LReadFile& file, const char* id, uint32_t& size) {
  uint8_t h[8];
  for (;;) {
    if (file.Read(h, 8) != 8) return false;
    size = LReadLE32(h + 4);
    if (std::memcmp(h, id, 4) == 0) return true;
    const uint32_t padded = (size + 1) & ~1u;
    if (static_cast<int32_t>(padded) < 0 || size >= 0x7FFFFFFFu) return false;
    if (!file.Skip(padded)) return false;
  }
}

// The published KSDATAFORMAT_SUBTYPE_* GUIDs share everything but the first
// four bytes, which hold the equivalent format tag.
constexpr uint8_t kSubFormatTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

LSoundSource OpenPCM(LReadFile& file, const WAVEFORMATEX& f, uint32_t dataBytes) {
  const int rate = static_cast<int>(f.nSamplesPerSec);
  const auto ch = static_cast<unsigned char>(f.nChannels);
  const int bits = f.wBitsPerSample;
  // Fewer than 8 bits has no container; more than 32 (64-bit integers) is a
  // real encoding this reader does not decode.
  if (bits < 8 || bits > 64) return LSoundSource(kSourceInvalid);
  if (bits > 32) return LSoundSource(kSourceUnsupportedEncoding);
  if (bits <= 8) return LSoundSource(new LSRCPCMFile<LSFU8>(file, rate, ch, dataBytes));
  if (bits <= 16) return LSoundSource(new LSRCPCMFile<LSF16>(file, rate, ch, dataBytes));
  if (bits <= 24) return LSoundSource(new LSRCPCMFile<LSFLE24>(file, rate, ch, dataBytes));
  return LSoundSource(new LSRCPCMFile<LSF32>(file, rate, ch, dataBytes));
}

}  // namespace

void LWaveFileFormat::LittleEndianToNative(const uint8_t* b, int chunkBytes, WAVEFORMATEX& f) {
  f = WAVEFORMATEX();
  if (chunkBytes < 16) return;
  f.wFormatTag = LReadLE16(b);
  f.nChannels = LReadLE16(b + 2);
  f.nSamplesPerSec = LReadLE32(b + 4);
  f.nAvgBytesPerSec = LReadLE32(b + 8);
  f.nBlockAlign = LReadLE16(b + 12);
  f.wBitsPerSample = LReadLE16(b + 14);
  if (chunkBytes >= 18) f.cbSize = LReadLE16(b + 16);
  // The extensible fields are taken from the zero-filled 8192-byte buffer,
  // so a chunk that claims more extra bytes than it has reads zeros.
  f.wValidBitsPerSample = LReadLE16(b + 18);
  f.dwChannelMask = LReadLE32(b + 20);
  std::memcpy(f.subFormat, b + 24, 16);
}

void LWaveFileFormat::ResolveExtensible(WAVEFORMATEX& f) {
  if (f.wFormatTag != kWaveFormatExtensible || f.cbSize < 22) return;
  if (std::memcmp(f.subFormat + 4, kSubFormatTail, sizeof kSubFormatTail) != 0) return;
  const uint32_t tag = LReadLE32(f.subFormat);
  if (tag == kWaveFormatPCM || tag == kWaveFormatFloat || tag == kWaveFormatALaw || tag == kWaveFormatMuLaw ||
      tag == kWaveFormatMSADPCM)
    f.wFormatTag = static_cast<uint16_t>(tag);
}

LSoundSource LWaveFile::OpenSource(const char* path) {
  LReadFile file;
  if (!file.Open(path)) return LSoundSource(file.NotRegular() ? kSourceNotRegularFile : kSourceOpenFailed);
  if (!FindRiffWave(file)) return LSoundSource(kSourceInvalid);

  uint32_t fmtBytes = 0;
  if (!FindChunk(file, "fmt ", fmtBytes)) return LSoundSource(kSourceInvalid);
  if (fmtBytes < 16 || fmtBytes > kMaxFormatChunkBytes) return LSoundSource(kSourceInvalid);
  static_assert(kMaxFormatChunkBytes >= 40, "the extensible fields must fit");
  uint8_t raw[kMaxFormatChunkBytes] = {};
  if (file.Read(raw, static_cast<int>(fmtBytes)) != static_cast<int>(fmtBytes)) return LSoundSource(kSourceInvalid);
  if ((fmtBytes & 1) && !file.Skip(1)) return LSoundSource(kSourceInvalid);
  WAVEFORMATEX format;
  LWaveFileFormat::LittleEndianToNative(raw, static_cast<int>(fmtBytes), format);
  LWaveFileFormat::ResolveExtensible(format);

  uint32_t dataBytes = 0;
  if (!FindChunk(file, "data", dataBytes)) return LSoundSource(kSourceInvalid);
  if (format.nChannels < 1 || format.nChannels > 255) return LSoundSource(kSourceInvalid);
  if (format.nSamplesPerSec < 1 || format.nSamplesPerSec > 196000) return LSoundSource(kSourceInvalid);

  const int rate = static_cast<int>(format.nSamplesPerSec);
  switch (format.wFormatTag) {
    case kWaveFormatPCM: return OpenPCM(file, format, dataBytes);
    case kWaveFormatFloat:
      if (format.wBitsPerSample == 64) return LSoundSource(kSourceUnsupportedEncoding);
      if (format.wBitsPerSample != 32) return LSoundSource(kSourceInvalid);
      return LSoundSource(new LSRCPCMFile<LSFF32>(file, rate, static_cast<unsigned char>(format.nChannels), dataBytes));
    case kWaveFormatGSM610: return LGSMWaveOpenSource(file, dataBytes, rate);
    case kWaveFormatIMAADPCM:
      return LIMAWaveOpenSource(file, dataBytes, rate, static_cast<unsigned char>(format.nChannels),
                                format.nBlockAlign);
    case kWaveFormatALaw:
    case kWaveFormatMuLaw:
    case kWaveFormat0x22: return LSoundSource(kSourceUnsupportedEncoding);
    case kWaveFormatMPEGLayer3:
      file.Close();  // the MP3 reader opens the path itself
      return LMP3File::OpenSource(path, false);
    default: return LSoundSource(kSourceUnsupportedFormat);
  }
}
