#include "soundfile/MP3StreamTags.h"

#include <cstring>

namespace {

uint32_t BE32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// "Xing"/"Info" id, flags, frames, bytes, 100-byte table of contents and a
// quality word come before the LAME extension.
constexpr int kLameOffsetFromXing = 120;
// The VBRI tag sits 32 bytes after the header, whatever the side information.
constexpr int kVbriOffset = 36;
constexpr int kBytesExamined = 256;

}  // namespace

bool LMP3DecodeLameTag(const uint8_t* p, int length, int& delay, int& padding) {
  if (length < 24 || std::memcmp(p, "LAME", 4) != 0) return false;
  delay = p[21] << 4 | p[22] >> 4;
  padding = (p[22] & 0x0F) << 8 | p[23];
  return true;
}

LMP3StreamTag LMP3ReadStreamTag(LMP3ReadFile& file, const LMP3Header& header) {
  LMP3StreamTag tag;
  uint8_t bytes[kBytesExamined] = {};
  if (header.offset < 0 || !file.Seek(header.offset)) return tag;
  const int got = file.Read(bytes, kBytesExamined);
  // The tag follows the side information; a CRC word is not counted.
  const int at = 4 + header.GetSideInfoLength();
  if (got >= at + 12 && (std::memcmp(bytes + at, "Xing", 4) == 0 || std::memcmp(bytes + at, "Info", 4) == 0)) {
    tag.kind = bytes[at] == 'X' ? LMP3StreamTag::kXing : LMP3StreamTag::kInfo;
    if (BE32(bytes + at + 4) & 1) {
      tag.hasFrameCount = true;
      tag.frameCount = BE32(bytes + at + 8);
    }
    const int lame = at + kLameOffsetFromXing;
    if (lame < got) LMP3DecodeLameTag(bytes + lame, got - lame, tag.encoderDelay, tag.endPadding);
  } else if (got >= kVbriOffset + 18 && std::memcmp(bytes + kVbriOffset, "VBRI", 4) == 0) {
    // Version, delay and quality (2 bytes each) and the stream bytes (4) come first.
    tag.kind = LMP3StreamTag::kVbri;
    tag.hasFrameCount = true;
    tag.frameCount = BE32(bytes + kVbriOffset + 14);
  }
  return tag;
}
