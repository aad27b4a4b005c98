// Writes interleaved internal samples (full scale +-524288) to a WAV file.
// The file appears under its name only when Finish succeeds: data goes to a
// new, randomly named file beside it (see UniqueFile.h) that is renamed over
// the target at the end and removed on failure.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class LWaveWriter {
 public:
  enum class Format { S16, S24, S32, F32 };

  LWaveWriter() = default;
  ~LWaveWriter();  // abandons an unfinished file
  LWaveWriter(const LWaveWriter&) = delete;
  LWaveWriter& operator=(const LWaveWriter&) = delete;

  bool Open(const std::string& path, int sampleRate, int channels, Format format);
  // Writes into out, which stays open and the caller's: the header carries
  // the exact size of frames up front, so out may be a pipe. Finish fails
  // when another number of frames was written.
  bool OpenStream(std::FILE* out, int sampleRate, int channels, Format format, uint64_t frames);
  // frames * channels ints. Converted into a large buffer that goes to the
  // file when full and at Finish, so a failed write may surface later.
  bool Write(const int* samples, int frames);
  bool Finish();
  void Abandon();
  // Why the last operation failed, in words.
  const std::string& Error() const { return m_error; }

  // Conversion of one internal sample, saturating at the format's range.
  static int32_t ToS16(int v);
  static int32_t ToS24(int v);
  static int32_t ToS32(int v);
  static float ToF32(int v);

 private:
  bool Fail(const char* what);
  bool WriteHeader(uint64_t dataBytes);
  void Begin();  // once the file is open: an empty buffer
  bool Flush();

  // Bytes converted but not yet written; a multiple of 2, 3 and 4 bytes.
  static constexpr size_t kBufferBytes = size_t(3) << 17;
  std::unique_ptr<uint8_t[]> m_buffer;
  size_t m_fill = 0;
  bool m_toDisk = false;  // a regular file, not a pipe

  std::FILE* m_file = nullptr;
  std::string m_path, m_tempPath, m_error;
  int m_rate = 0, m_channels = 0;
  Format m_format = Format::S16;
  uint64_t m_dataBytes = 0;
  bool m_stream = false;
  uint64_t m_announced = 0;  // data bytes the stream's header gave
};

// The 44-byte header of a plain integer (tag 1) or float (tag 3) WAV file
// whose data chunk holds dataBytes; the RIFF size counts the pad byte.
constexpr int kWaveHeaderBytes = 44;
void LWaveHeader(uint8_t* out, int sampleRate, int channels, int bytesPerSample, bool isFloat, uint64_t dataBytes);

// Parses "s16", "s24", "s32" or "f32".
bool LWaveWriterFormatFromName(const std::string& name, LWaveWriter::Format& format);
