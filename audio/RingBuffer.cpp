#include "audio/RingBuffer.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "soundfile/BufferUtils.h"

namespace {

// Mean square (of samples >> 5) that reads as 0 dB.
constexpr double kMeanSquareAt0dB = 8388626.0;

// Internal samples are 20-bit; the device takes them in the top of 32 bits.
inline int ToDevice(int s) { return std::clamp(s, -524288, 524287) * 4096; }

}  // namespace

void GetBufferRMSDBChan(LdBLevel& level, unsigned char channel, const int* buffer, int frames, unsigned char channels) {
  if (channels == 1) channel = 0;
  const unsigned int m = static_cast<unsigned int>(GetBufferMeanSquareChan(channel, buffer, frames, channels));
  if (m == 0) {
    level = LdBLevel(-127);
    return;
  }
  double d = 10.0 * std::log10(m / kMeanSquareAt0dB);
  d += m > 8388625u ? 0.5 : -0.5;
  d = std::trunc(d);
  level = LdBLevel(static_cast<int>(std::clamp(d, -127.0, 127.0)));
}

LCARingBuffer::LCARingBuffer(int sampleRate, unsigned char channels) : m_channels(channels ? channels : 1) {
  const long halfSecond = (static_cast<long>(sampleRate) + 1) / 2;
  m_capacity = static_cast<int>(std::clamp<long>(halfSecond, kMinCapacity, 0x7FFFFFFF / 256 - 1));
  m_size = (m_capacity + 1) * m_channels;
  m_data.reset(new (std::nothrow) int[static_cast<size_t>(m_size)]());
  if (!m_data) {
    m_capacity = kMinCapacity;
    m_size = (m_capacity + 1) * m_channels;
    m_data = std::make_unique<int[]>(static_cast<size_t>(m_size));
  }
}

int LCARingBuffer::FilledEntries() const {
  const int d = m_write.load(std::memory_order_acquire) - m_read.load(std::memory_order_acquire);
  return d < 0 ? d + m_size : d;
}

int LCARingBuffer::FreeEntries() const {
  int d = m_read.load(std::memory_order_acquire) - m_write.load(std::memory_order_acquire) - m_channels;
  return d < 0 ? d + m_size : d;
}

// Worker thread: allocates nothing.
void LCARingBuffer::Write(LSoundSource& source, int frames) {
  int n = std::min(source->GetEndSample() - source->GetPositionSample(), frames);
  int write = m_write.load(std::memory_order_relaxed);
  while (n > 0) {
    const int entries = std::min(n * m_channels, m_size - write);
    const int f = entries / m_channels;
    source->Read(m_data.get() + write, f);
    write = (write + entries) % m_size;
    m_write.store(write, std::memory_order_release);
    n -= f;
  }
}

// Real-time: device thread; allocates nothing, never blocks.
void LCARingBuffer::Read(int* out, unsigned long* bytes, int frames, int volumeFactor, LdBLevel& level0,
                         LdBLevel& level1) {
  *bytes = 0;
  int read = m_read.load(std::memory_order_relaxed);
  while (frames > 0) {
    const int entries = std::min(m_size - read, frames * m_channels);
    const int f = entries / m_channels;
    int* piece = m_data.get() + read;
    GainAudioBufferQuick(volumeFactor, piece, entries);
    GetBufferRMSDBChan(level0, 0, piece, f, m_channels);
    GetBufferRMSDBChan(level1, 1, piece, f, m_channels);
    for (int i = 0; i < entries; ++i) out[i] = ToDevice(piece[i]);
    *bytes += static_cast<unsigned long>(entries) * 4;
    out += entries;
    read = (read + entries) % m_size;
    m_read.store(read, std::memory_order_release);
    frames -= f;
  }
}

void LCARingBuffer::Skip(int frames) {
  const int read = m_read.load(std::memory_order_relaxed);
  m_read.store((read + frames * m_channels) % m_size, std::memory_order_release);
}

void LCARingBuffer::Discard() {
  std::lock_guard<std::mutex> guard(m_lock);
  m_read.store(m_write.load(std::memory_order_acquire), std::memory_order_release);
}
