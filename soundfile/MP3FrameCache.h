// Bookkeeping between frames: where frames start in the file (for seeking in
// variable-bit-rate streams) and the bit reservoir that carries main data
// from one frame into the next.
#pragma once

#include <cstdint>
#include <vector>

class LMP3ReadFile;

struct LMP3FramePosition {
  int32_t sample = -1;  // first sample of the frame; -1 = unset
  uint32_t offset = 0;  // file offset of its header
};

// Maps sample positions to frame offsets, one entry per step samples.
class LMP3FrameCache {
 public:
  static constexpr int kMaxEntries = 7456540;

  // Sizes the cache for the given samples; an empty cache when that fails.
  void Create(int64_t samples, int samplesPerFrame);
  // Records a frame; false when the entry was already set or lies outside.
  bool Add(int sample, uint32_t offset);
  // The nearest recorded frame at or before sample; false when none.
  bool Find(int sample, LMP3FramePosition& found) const;
  int GetSize() const { return static_cast<int>(m_entries.size()); }
  int GetStep() const { return m_step; }

 private:
  std::vector<LMP3FramePosition> m_entries;
  int m_step = 1;
  int m_highest = -1;
};

// The bit reservoir (11172-3 2.4.3.4.3): main data of the current frame may
// begin up to 511 bytes back, in earlier frames.
class LMP3MainData {
 public:
  static constexpr int kMaxBegin = 512;
  static constexpr int kMaxFrameBytes = 1439;
  // Slack after the data, so that the bit reader may fetch whole words.
  static constexpr int kPadBytes = 8;

  // Keeps the last mainDataBegin bytes, appends length bytes from the file.
  // False when the sizes are out of range or the reservoir did not hold
  // mainDataBegin bytes; the frame's main data then is incomplete.
  bool Load(LMP3ReadFile& file, int mainDataBegin, int length);
  void Clear() { m_count = 0; }
  // The frame's main data starts at the front after a successful Load.
  const uint8_t* GetData() const { return m_buffer; }
  int GetCount() const { return m_count; }

 private:
  int16_t m_count = 0;
  uint8_t m_buffer[kMaxBegin + kMaxFrameBytes + kPadBytes] = {};
};
