#include "soundfile/WaveWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "soundfile/ByteOrder.h"
#include "soundfile/UniqueFile.h"

namespace {
int BytesPerSample(LWaveWriter::Format f) {
  switch (f) {
    case LWaveWriter::Format::S16: return 2;
    case LWaveWriter::Format::S24: return 3;
    default: return 4;
  }
}
int32_t Saturate(int64_t v, int64_t lo, int64_t hi) { return static_cast<int32_t>(v < lo ? lo : v > hi ? hi : v); }
// Largest data chunk a 32-bit RIFF size field can describe.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - 36 - 8;

// The conversions of ToS16 ... ToF32 over a run of samples, into
// little-endian bytes: branch-free loops over plain arrays, which the
// compiler turns into vector code. Clamping first keeps every intermediate
// within 32 bits; the bounds are where each conversion saturates.
void PutS16(uint8_t* out, const int* in, long count) {
  long i = 0;
#if defined(__SSE2__)
  // (v + 8) >> 4 as ((v >> 1) + 4) >> 3, which cannot overflow; the pack
  // saturates to 16 bits, in the file's (and x86's) little-endian order.
  const __m128i four = _mm_set1_epi32(4);
  for (; i + 8 <= count; i += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 4));
    const __m128i ra = _mm_srai_epi32(_mm_add_epi32(_mm_srai_epi32(a, 1), four), 3);
    const __m128i rb = _mm_srai_epi32(_mm_add_epi32(_mm_srai_epi32(b, 1), four), 3);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_packs_epi32(ra, rb));
  }
#endif
  for (; i < count; ++i) {
    const int v = (std::clamp(in[i], -524288, 524264) + 8) >> 4;
    out[2 * i] = static_cast<uint8_t>(v);
    out[2 * i + 1] = static_cast<uint8_t>(v >> 8);
  }
}
void PutS24(uint8_t* out, const int* in, long count) {
  for (long i = 0; i < count; ++i) {
    const int c = std::clamp(in[i], -524288, 524288);
    const int v = c * 16 - (c > 524287 ? 1 : 0);  // 524288 saturates to 8388607
    out[3 * i] = static_cast<uint8_t>(v);
    out[3 * i + 1] = static_cast<uint8_t>(v >> 8);
    out[3 * i + 2] = static_cast<uint8_t>(v >> 16);
  }
}
void PutU32(uint8_t* out, uint32_t u) {
  out[0] = static_cast<uint8_t>(u);
  out[1] = static_cast<uint8_t>(u >> 8);
  out[2] = static_cast<uint8_t>(u >> 16);
  out[3] = static_cast<uint8_t>(u >> 24);
}
void PutS32(uint8_t* out, const int* in, long count) {
  for (long i = 0; i < count; ++i) {
    const int c = std::clamp(in[i], -524288, 524288);
    PutU32(out + 4 * i, (static_cast<uint32_t>(c) << 12) - (c > 524287 ? 1u : 0u));  // 524288 saturates
  }
}
void PutF32(uint8_t* out, const int* in, long count) {
  for (long i = 0; i < count; ++i) {
    const float f = static_cast<float>(in[i]) / 524288.0f;
    uint32_t u;
    std::memcpy(&u, &f, 4);
    PutU32(out + 4 * i, u);
  }
}
}  // namespace

void LWaveHeader(uint8_t* h, int sampleRate, int channels, int bytesPerSample, bool isFloat, uint64_t dataBytes) {
  const uint64_t align = static_cast<uint64_t>(channels) * bytesPerSample;
  std::copy_n("RIFF", 4, h);
  LPutLE(h + 4, 36 + dataBytes + (dataBytes & 1), 4);
  std::copy_n("WAVEfmt ", 8, h + 8);
  LPutLE(h + 16, 16, 4);
  LPutLE(h + 20, isFloat ? 3 : 1, 2);
  LPutLE(h + 22, static_cast<uint64_t>(channels), 2);
  LPutLE(h + 24, static_cast<uint64_t>(sampleRate), 4);
  LPutLE(h + 28, static_cast<uint64_t>(sampleRate) * align, 4);
  LPutLE(h + 32, align, 2);
  LPutLE(h + 34, static_cast<uint64_t>(bytesPerSample) * 8, 2);
  std::copy_n("data", 4, h + 36);
  LPutLE(h + 40, dataBytes, 4);
}

bool LWaveWriterFormatFromName(const std::string& name, LWaveWriter::Format& format) {
  if (name == "s16")
    format = LWaveWriter::Format::S16;
  else if (name == "s24")
    format = LWaveWriter::Format::S24;
  else if (name == "s32")
    format = LWaveWriter::Format::S32;
  else if (name == "f32")
    format = LWaveWriter::Format::F32;
  else
    return false;
  return true;
}

// Internal samples carry 20 bits; 16-bit output rounds to nearest, halves up.
int32_t LWaveWriter::ToS16(int v) { return Saturate((int64_t(v) + 8) >> 4, -32768, 32767); }
int32_t LWaveWriter::ToS24(int v) { return Saturate(int64_t(v) * 16, -8388608, 8388607); }
int32_t LWaveWriter::ToS32(int v) { return Saturate(int64_t(v) * 4096, INT32_MIN, INT32_MAX); }
float LWaveWriter::ToF32(int v) { return static_cast<float>(v) / 524288.0f; }

LWaveWriter::~LWaveWriter() { Abandon(); }

bool LWaveWriter::Fail(const char* what) {
  m_error = std::string(what) + ": " + std::strerror(errno ? errno : EIO);
  Abandon();
  return false;
}

bool LWaveWriter::Open(const std::string& path, int sampleRate, int channels, Format format) {
  Abandon();
  if (sampleRate < 1 || channels < 1 || channels > 255) {
    m_error = "invalid sample rate or channel count";
    return false;
  }
  m_path = path;
  m_rate = sampleRate;
  m_channels = channels;
  m_format = format;
  m_dataBytes = 0;
  // A name derived from the target could be prepared by anyone who can
  // write in its folder (a link to another file, a FIFO): a new random one.
  const int fd = LCreateUniqueFile(LFolderOf(path), m_tempPath);
  if (fd < 0) {
    m_error = "cannot create " + m_path + ": " + std::strerror(-fd);
    return false;
  }
  m_file = fdopen(fd, "wb");
  if (!m_file) {
    const int err = errno;
    close(fd);
    errno = err;
    return Fail(("cannot create " + m_path).c_str());
  }
  Begin();
  errno = 0;
  return WriteHeader(0) || Fail("cannot write");
}

bool LWaveWriter::OpenStream(std::FILE* out, int sampleRate, int channels, Format format, uint64_t frames) {
  Abandon();
  if (sampleRate < 1 || channels < 1 || channels > 255 || !out) {
    m_error = "invalid sample rate or channel count";
    return false;
  }
  m_announced = frames * static_cast<uint64_t>(channels) * BytesPerSample(format);
  if (frames > kMaxDataBytes || m_announced > kMaxDataBytes) {
    m_error = "the track is too long for a WAV file";
    return false;
  }
  m_file = out;
  m_stream = true;
  m_rate = sampleRate;
  m_channels = channels;
  m_format = format;
  m_dataBytes = 0;
  Begin();
  uint8_t h[kWaveHeaderBytes];
  LWaveHeader(h, m_rate, m_channels, BytesPerSample(m_format), m_format == Format::F32, m_announced);
  errno = 0;
  return std::fwrite(h, 1, sizeof h, m_file) == sizeof h || Fail("cannot write");
}

bool LWaveWriter::WriteHeader(uint64_t dataBytes) {
  uint8_t h[kWaveHeaderBytes];
  LWaveHeader(h, m_rate, m_channels, BytesPerSample(m_format), m_format == Format::F32, dataBytes);
  return std::fseek(m_file, 0, SEEK_SET) == 0 && std::fwrite(h, 1, sizeof h, m_file) == sizeof h;
}

bool LWaveWriter::Write(const int* samples, int frames) {
  if (!m_file) return false;
  const int bps = BytesPerSample(m_format);
  const long count = static_cast<long>(frames) * m_channels;
  if (m_dataBytes + static_cast<uint64_t>(count) * bps > kMaxDataBytes) {
    m_error = "the track is too long for a WAV file";
    Abandon();
    return false;
  }
  for (long i = 0; i < count;) {
    if (m_fill == kBufferBytes && !Flush()) return false;
    const long n = std::min<long>(count - i, static_cast<long>((kBufferBytes - m_fill) / bps));
    uint8_t* out = m_buffer.get() + m_fill;
    switch (m_format) {
      case Format::S16: PutS16(out, samples + i, n); break;
      case Format::S24: PutS24(out, samples + i, n); break;
      case Format::S32: PutS32(out, samples + i, n); break;
      case Format::F32: PutF32(out, samples + i, n); break;
    }
    m_fill += static_cast<size_t>(n) * bps;
    m_dataBytes += static_cast<uint64_t>(n) * bps;
    i += n;
  }
  return true;
}

void LWaveWriter::Begin() {
  if (!m_buffer) m_buffer.reset(new uint8_t[kBufferBytes]);
  m_fill = 0;
  struct stat st {};
  m_toDisk = ::fstat(fileno(m_file), &st) == 0 && S_ISREG(st.st_mode);
}

bool LWaveWriter::Flush() {
  errno = 0;
  if (m_fill > 0 && std::fwrite(m_buffer.get(), 1, m_fill, m_file) != m_fill) return Fail("cannot write");
  m_fill = 0;
  // The disk starts on what is written while the rest renders, so the sync
  // at the end waits for the last part only (a fifth of a long export's time).
  if (m_toDisk) ::sync_file_range(fileno(m_file), 0, 0, SYNC_FILE_RANGE_WRITE);
  return true;
}

bool LWaveWriter::Finish() {
  if (!m_file || !Flush()) return false;
  errno = 0;
  if (m_stream) {
    if (m_dataBytes != m_announced) {
      m_error = "wrote another length than the header gives";
      Abandon();
      return false;
    }
    if (((m_dataBytes & 1) && std::fputc(0, m_file) == EOF) || std::fflush(m_file) != 0) return Fail("cannot write");
    m_file = nullptr;
    m_stream = false;
    return true;
  }
  if ((m_dataBytes & 1) && std::fputc(0, m_file) == EOF) return Fail("cannot write");
  if (!WriteHeader(m_dataBytes)) return Fail("cannot write");
  if (std::fflush(m_file) != 0 || ::fsync(fileno(m_file)) != 0) return Fail("cannot write");
  const int rc = std::fclose(m_file);
  m_file = nullptr;
  if (rc != 0) return Fail("cannot write");
  if (std::rename(m_tempPath.c_str(), m_path.c_str()) != 0) return Fail(("cannot create " + m_path).c_str());
  m_tempPath.clear();
  return true;
}

void LWaveWriter::Abandon() {
  m_fill = 0;
  if (m_file && !m_stream) std::fclose(m_file);
  m_file = nullptr;
  m_stream = false;
  if (!m_tempPath.empty()) std::remove(m_tempPath.c_str());
  m_tempPath.clear();
}
