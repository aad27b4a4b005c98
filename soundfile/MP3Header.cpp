#include "soundfile/MP3Header.h"

#include <algorithm>
#include <cstring>

#include "soundfile/MP3Tables.h"

namespace {

constexpr int kMaxSkippedBytes = 65535;

// An ID3v2 tag's header after "ID3": version major and minor, flags and a
// syncsafe size (7 bits per byte). False when the bytes cannot be a tag.
bool ID3v2TagSize(const uint8_t h[6], int64_t& size) {
  if (h[0] == 0xFF || h[1] == 0xFF) return false;
  if ((h[2] | h[3] | h[4] | h[5]) & 0x80) return false;
  size = int64_t(h[2]) << 21 | int64_t(h[3]) << 14 | int64_t(h[4]) << 7 | int64_t(h[5]);
  return true;
}

}  // namespace

LMP3ReadFile::LMP3ReadFile(const char* path) {
  if (!m_file.Open(path)) return;
  m_fileSize = std::max<int64_t>(0, m_file.Size());
  m_audioEnd = m_fileSize;
  SkipID3v2Tags();
  FindID3v1Tag();
  Seek(0);
}

void LMP3ReadFile::SkipID3v2Tags() {
  uint8_t id[4];
  uint8_t h[6];
  if (Read(id, 4) != 4) return;
  while (std::memcmp(id, "ID3", 3) == 0) {
    // The fourth byte read is the tag's major version: the rest follows.
    h[0] = id[3];
    if (Read(h + 1, 5) != 5) return;
    int64_t size = 0;
    if (!ID3v2TagSize(h, size) || size >= m_fileSize) return;
    if (!Skip(size)) return;
    m_audioStart += size + 10;
    if (Read(id, 4) != 4) return;
  }
}

void LMP3ReadFile::FindID3v1Tag() {
  if (m_fileSize < 128) return;
  uint8_t tag[3];
  if (!m_file.Seek(m_fileSize - 128) || m_file.Read(tag, 3) != 3) return;
  if (std::memcmp(tag, "TAG", 3) == 0) m_audioEnd = m_fileSize - 128;
}

int LMP3ReadFile::Read(void* buffer, int bytes) {
  uint8_t* out = static_cast<uint8_t*>(buffer);
  int done = 0;
  bytes = static_cast<int>(std::min<int64_t>(bytes, std::max<int64_t>(0, m_audioEnd - m_position)));
  while (done < bytes) {
    const int64_t inBuffer = m_position - m_bufferStart;
    if (inBuffer >= 0 && inBuffer < m_bufferBytes) {
      const int n = std::min(bytes - done, m_bufferBytes - static_cast<int>(inBuffer));
      std::memcpy(out + done, m_buffer + inBuffer, static_cast<size_t>(n));
      done += n;
      m_position += n;
      continue;
    }
    if (!m_file.Seek(m_position)) break;
    m_bufferStart = m_position;
    m_bufferBytes = m_file.Read(m_buffer, kBufferBytes);
    if (m_bufferBytes <= 0) {
      m_bufferBytes = 0;
      break;
    }
  }
  return done;
}

bool LMP3ReadFile::Seek(int64_t offset) {
  if (!IsOpen() || offset < 0 || offset > m_fileSize) return false;
  m_position = offset;
  return true;
}

bool LMP3Header::Parse(const uint8_t b[4]) {
  if (b[0] != 0xFF || b[1] < 0xE0) return false;
  const int v = mp3tab::kVersionFromId[(b[1] >> 3) & 3];
  if (((b[1] >> 1) & 3) != 1) return false;  // Layer III only
  const int rateIndex = b[2] >> 4;
  const int kbps = v == 0 ? mp3tab::kBitRateMpeg1[rateIndex] : mp3tab::kBitRateMpeg2[rateIndex];
  const int freq = (b[2] >> 2) & 3;
  if (kbps == 0 || freq >= 3) return false;
  version = v;
  noCrc = b[1] & 1;
  bitRate = kbps * 1000;
  freqIndex = freq;
  padding = (b[2] >> 1) & 1;
  channelMode = b[3] >> 6;
  modeExtension = (b[3] >> 4) & 3;
  return true;
}

bool LMP3Header::ReadHeader(LMP3ReadFile& file) {
  uint8_t b[4];
  if (file.Read(b, 4) != 4) return false;
  skipped = 0;
  for (;;) {
    while (std::memcmp(b, "ID3", 3) == 0) {
      uint8_t h[6] = {b[3]};
      if (file.Read(h + 1, 5) != 5) return false;
      int64_t size = 0;
      if (!ID3v2TagSize(h, size)) {
        // Not a tag after all: the bytes are searched as ordinary data.
        file.Seek(file.Tell() - 5);
        break;
      }
      if (!file.Skip(size) || file.Read(b, 4) != 4) return false;
    }
    if (Parse(b)) break;
    if (++skipped > kMaxSkippedBytes) return false;
    b[0] = b[1], b[1] = b[2], b[2] = b[3];
    if (file.Read(b + 3, 1) != 1) return false;
  }
  offset = file.Tell() - 4;
  if (!noCrc) {
    uint8_t crc[2];  // not checked
    if (file.Read(crc, 2) != 2) return false;
  }
  return true;
}

int LMP3Header::GetSampleRate() const { return mp3tab::kSampleRate[freqIndex % 3] >> std::min(version, 3); }

int LMP3Header::GetFrameLength() const {
  const int rate = GetSampleRate();
  if (rate <= 0) return 0;
  return static_cast<int16_t>((version != 0 ? 72 : 144) * bitRate / rate + (padding ? 1 : 0));
}

int LMP3Header::GetSideInfoLength() const {
  if (version == 0) return IsMono() ? 17 : 32;
  return IsMono() ? 9 : 17;
}

int LMP3Header::GetMainDataLength() const { return GetFrameLength() - (noCrc ? 4 : 6) - GetSideInfoLength(); }
