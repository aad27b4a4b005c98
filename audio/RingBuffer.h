// The queue between the player's worker (the only writer) and the device's
// render callback (the only reader). Indices count ring entries (samples),
// not frames; one frame always stays unused so a full ring can be told from
// an empty one.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "soundfile/DB.h"
#include "soundfile/SoundSource.h"

// Level of one channel of a block: 10*log10(mean square / 8388626), rounded
// half away from zero, limited to -127..127; -127 for silence. A mono block
// measures channel 1 on its only channel.
void GetBufferRMSDBChan(LdBLevel& level, unsigned char channel, const int* buffer, int frames, unsigned char channels);

class LCARingBuffer {
 public:
  static constexpr int kMinCapacity = 16384;  // frames

  // Capacity: half a second, at least kMinCapacity frames.
  LCARingBuffer(int sampleRate, unsigned char channels);
  LCARingBuffer(const LCARingBuffer&) = delete;
  LCARingBuffer& operator=(const LCARingBuffer&) = delete;

  int Capacity() const { return m_capacity; }  // frames
  int Size() const { return m_size; }          // entries
  unsigned char Channels() const { return m_channels; }
  int FilledEntries() const;
  int FreeEntries() const;
  int FilledFrames() const { return FilledEntries() / m_channels; }
  int FreeFrames() const { return FreeEntries() / m_channels; }

  // Worker: reads up to frames frames (never past the source's end) straight
  // into the ring. The caller makes sure they fit.
  void Write(LSoundSource& source, int frames);
  // Device thread, ring lock held: takes frames frames (the caller makes
  // sure they are there), applies the volume factor (1/512 units), measures
  // channels 0 and 1 and stores 32-bit device samples (x 4096) at out. bytes
  // becomes the bytes written. A wrapping read measures its last piece.
  void Read(int* out, unsigned long* bytes, int frames, int volumeFactor, LdBLevel& level0, LdBLevel& level1);
  // Device thread, ring lock held: drops frames frames (the caller makes
  // sure they are there) unplayed.
  void Skip(int frames);
  // Drops everything queued (device stopped).
  void Discard();

  std::mutex& Lock() { return m_lock; }

 private:
  std::unique_ptr<int[]> m_data;
  unsigned char m_channels;
  int m_capacity;
  int m_size;
  // Written by one side each; release on store so the samples a new index
  // covers are visible before the index is.
  std::atomic<int> m_read{0};
  std::atomic<int> m_write{0};
  std::mutex m_lock;
};
