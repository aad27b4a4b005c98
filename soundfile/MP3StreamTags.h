// Information frames at the start of an MPEG audio stream: the Xing/Info
// tag (frame count), the VBRI tag and the LAME extension (encoder delay and
// end padding).
#pragma once

#include <cstdint>

#include "soundfile/MP3Header.h"

struct LMP3StreamTag {
  enum Kind { kNone, kXing, kInfo, kVbri };
  Kind kind = kNone;
  bool hasFrameCount = false;
  uint32_t frameCount = 0;  // audio frames, the tag's own frame not counted
  int encoderDelay = 0;     // samples, from the LAME extension
  int endPadding = 0;
};

// Looks for a tag in the frame whose header was read last. Leaves the file
// position undefined.
LMP3StreamTag LMP3ReadStreamTag(LMP3ReadFile& file, const LMP3Header& header);

// The LAME extension in the bytes from "LAME" on: delay and padding are two
// 12-bit fields in bytes 21 to 23. False when the bytes are no LAME tag.
bool LMP3DecodeLameTag(const uint8_t* bytes, int length, int& delay, int& padding);
