// The MPEG audio file as the Layer III reader sees it (audio between any
// ID3v2 tags at the start and an ID3v1 tag at the end) and one frame header.
#pragma once

#include <cstdint>

#include "soundfile/ReadFile.h"

// Buffered reader over the audio part of the file. Reads stop at the audio
// end, so that an ID3v1 tag is never taken for audio.
class LMP3ReadFile {
 public:
  // Opens the path read-only and finds the audio start and end.
  explicit LMP3ReadFile(const char* path);
  bool IsOpen() const { return m_file.IsOpen(); }

  // Reads up to bytes; returns the bytes read (fewer at the audio end).
  int Read(void* buffer, int bytes);
  // Absolute positioning in bytes; false outside the file.
  bool Seek(int64_t offset);
  bool Skip(int64_t bytes) { return Seek(Tell() + bytes); }
  int64_t Tell() const { return m_position; }

  int64_t GetFileSize() const { return m_fileSize; }
  int64_t GetAudioStart() const { return m_audioStart; }
  int64_t GetAudioEnd() const { return m_audioEnd; }
  int64_t GetBytesRemaining() const { return m_audioEnd - m_position; }
  void SetAudioStart(int64_t offset) { m_audioStart = offset; }

 private:
  void SkipID3v2Tags();
  void FindID3v1Tag();

  LReadFile m_file;
  int64_t m_fileSize = 0;
  int64_t m_audioStart = 0;
  int64_t m_audioEnd = 0;
  int64_t m_position = 0;  // logical read position
  // Read-ahead: m_buffer holds the file bytes from m_bufferStart on.
  static constexpr int kBufferBytes = 8192;
  uint8_t m_buffer[kBufferBytes];
  int64_t m_bufferStart = 0;
  int m_bufferBytes = 0;
};

class LMP3Header {
 public:
  // Searches from the current position for the next Layer III header (ID3v2
  // tags on the way are skipped) and reads it with its CRC word. Gives up
  // after 65535 bytes without one or at the end of the audio.
  bool ReadHeader(LMP3ReadFile& file);
  // Decodes four header bytes; false when they are no Layer III header.
  bool Parse(const uint8_t bytes[4]);

  int GetSampleRate() const;
  int GetFrameLength() const;  // bytes, header and padding included
  int GetSideInfoLength() const;
  int GetMainDataLength() const;
  int GetSamplesPerFrame() const { return version == 0 ? 1152 : 576; }
  int GetGranules() const { return version == 0 ? 2 : 1; }
  bool IsMono() const { return channelMode == 3; }
  // Same version, sampling frequency and mono/stereo: frames of one stream.
  bool Matches(const LMP3Header& other) const {
    return version == other.version && freqIndex == other.freqIndex && IsMono() == other.IsMono();
  }

  int version = 0;  // 0 MPEG-1, 1 MPEG-2, 2 MPEG-2.5, 3 reserved identifier
  bool noCrc = true;
  int bitRate = 0;  // bits per second
  int freqIndex = 0;
  bool padding = false;
  int channelMode = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
  int modeExtension = 0;
  int skipped = 0;      // bytes passed over before the header was found
  int64_t offset = -1;  // file offset of the header's first byte
};
