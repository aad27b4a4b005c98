// MPEG audio Layer III sound source: finds the frames in a file, knows or
// estimates the stream's length, seeks with pre-roll and decodes.
#pragma once

#include <cstdint>
#include <vector>

#include "soundfile/MP3FrameCache.h"
#include "soundfile/MP3FrameDecoder.h"
#include "soundfile/MP3Header.h"
#include "soundfile/SoundSource.h"

class LMP3Source : public LSoundSourceBase {
 public:
  // Opens the path; a file without Layer III frames gives error code 3, one
  // that cannot be opened code 4. scanToEnd walks a variable-bit-rate stream
  // once, so that its length is exact and every frame is in the cache.
  LMP3Source(const char* path, bool scanToEnd);

  void Read(int* buffer, int samples) override;
  int GetPositionSample() const override { return static_cast<int>(m_raw - m_encoderDelay); }
  int GetEndSample() const override { return m_total - m_encoderDelay - m_endPadding; }
  void Seek(int sample) override;

  bool IsVariableBitRate() const { return m_vbr; }
  bool HasExactCount() const { return m_exactCount; }
  int GetEncoderDelay() const { return m_encoderDelay; }
  int GetEndPadding() const { return m_endPadding; }

 private:
  bool Open(bool scanToEnd);
  void ApplyTag(const LMP3Header& first);
  void ScanFrames(const LMP3Header& first);
  // Decodes the next frame of this stream into out; false at the end of the data.
  bool DecodeFrame(int* out, uint32_t& frameOffset);
  void FrameFound(int samplePosition, uint32_t frameOffset, int64_t nextOffset);
  bool GetNearestPreviousFrame(int sample, LMP3FramePosition& found) const;
  void SkipFramesTo(int back);
  void WalkAllFrames();
  void StreamEnded();

  LMP3ReadFile m_file;
  LMP3Header m_initial;
  LMP3MainData m_reservoir;
  LMP3FrameDecoder m_decoder;
  LMP3FrameCache m_cache;
  std::vector<int> m_frameBuffer;  // one decoded frame, interleaved
  int m_frameIndex = 0;            // next unread frame in m_frameBuffer
  int m_samplesPerFrame = 1152;
  int64_t m_raw = 0;  // decoded position, from the first decoded sample
  int m_total = 0;
  double m_frameLength = 0.0;  // average bytes per frame
  int m_frameCount = 0;
  bool m_vbr = false;
  bool m_exactCount = false;
  bool m_padded = false;
  bool m_endFound = false;   // decoding met the end of the data
  bool m_fileInStep = true;  // the file stands at the frame of the raw position
  int m_encoderDelay = 0;
  int m_endPadding = 0;
  int m_lastRefinement = 0;
};
