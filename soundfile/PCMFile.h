// Readers for integer and floating-point PCM data chunks.
#pragma once

#include <cstdint>
#include <memory>

#include "soundfile/BufferUtils.h"
#include "soundfile/ByteOrder.h"
#include "soundfile/ReadFile.h"
#include "soundfile/SoundSource.h"

// Stored sample types; Convert maps one stored sample to the internal value
// (full scale +-524288). No conversion clips within the stored range.
struct LSFU8 {  // unsigned 8-bit, 128 = silence
  static constexpr int kBytes = 1;
  static constexpr int kPeak = 0x7FFF0;
  static int Convert(const uint8_t* p) { return (int(p[0]) - 128) * 4096; }
};
struct LSF16 {  // signed 16-bit
  static constexpr int kBytes = 2;
  static constexpr int kPeak = 0x7FFF0;
  static int Convert(const uint8_t* p) { return int(int16_t(LReadLE16(p))) * 16; }
};
struct LSFLE24 {  // signed 24-bit: the sign-extended value >> 4
  static constexpr int kBytes = 3;
  static constexpr int kPeak = 0x7FFF0;
  static int Convert(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24) >> 12;
  }
};
struct LSF32 {  // signed 32-bit: (x + 2048) >> 12, rounding halves upward
  static constexpr int kBytes = 4;
  static constexpr int kPeak = 0x7FFF0;
  static int Convert(const uint8_t* p) {
    const int32_t x = int32_t(LReadLE32(p));
    // In 64 bits the top 2048 inputs give 524288 instead of wrapping.
    return static_cast<int>((int64_t(x) + 2048) >> 12);
  }
};
struct LSFF32 {  // IEEE float, +-1.0 = full scale, truncated toward zero
  static constexpr int kBytes = 4;
  static constexpr int kPeak = 0x1000A8;
  static int Convert(const uint8_t* p);
};

// Converts samples (not frames) from raw little-endian bytes.
template <typename T>
void ConvertSamplesIn(int* out, const uint8_t* in, int samples);

class LSRCPCMFileBase : public LSoundSourceBase {
 public:
  // Takes the open file away from the caller, positioned at the first data byte.
  LSRCPCMFileBase(LReadFile& file, int sampleRate, unsigned char channels, int peak, int bytesPerSample,
                  unsigned int dataBytes);
  int GetPositionSample() const override { return m_position; }
  int GetEndSample() const override { return m_end; }
  // Unclamped: a negative position gives leading silence, one past the end only silence.
  void Seek(int sample) override;

 protected:
  void ClearFrames(int* buffer, int frames) const { ClearAudioBuffer(buffer, frames, m_channels); }
  LReadFile m_file;
  uint32_t m_dataStart = 0;
  int m_position = 0;
  int m_end = 0;  // frames; negative = unbounded
  uint32_t m_bytesPerFrame = 0;
  int m_bytesPerSample;
};

template <typename T>
class LSRCPCMFile : public LSRCPCMFileBase {
 public:
  LSRCPCMFile(LReadFile& file, int sampleRate, unsigned char channels, unsigned int dataBytes);
  void Read(int* buffer, int samples) override;

 private:
  // Worker-thread code: allocates nothing per block; the staging buffer holds
  // kMaxReadFrames frames and is sized at construction.
  void ReadPiece(int* buffer, int frames);
  std::unique_ptr<uint8_t[]> m_staging;
};

extern template class LSRCPCMFile<LSFU8>;
extern template class LSRCPCMFile<LSF16>;
extern template class LSRCPCMFile<LSFLE24>;
extern template class LSRCPCMFile<LSF32>;
extern template class LSRCPCMFile<LSFF32>;
