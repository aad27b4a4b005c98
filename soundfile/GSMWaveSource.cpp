#include "soundfile/GSMWaveSource.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kPeak = 524288;  // the 16-bit output x 16

}  // namespace

LSoundSource LGSMWaveOpenSource(LReadFile& file, unsigned int dataBytes, int sampleRate) {
  return LSoundSource(new LGSMWaveSource(file, dataBytes, sampleRate));
}

LGSMWaveSource::LGSMWaveSource(LReadFile& file, unsigned int dataBytes, int sampleRate)
    : LMonoFileSource(file, sampleRate, kPeak) {
  if (dataBytes > 0xFFFFFF00u) dataBytes = BytesToEndOfFile();
  // Up to 66 million blocks of 320 frames overflow an int: count in 64 bits
  // and keep whole blocks only.
  const int64_t blocks = std::min<int64_t>(dataBytes / kGSMBlockBytes, 0x7FFFFFFF / kGSMBlockSamples);
  m_end = static_cast<int>(blocks * kGSMBlockSamples);
  std::memset(m_block, 0, sizeof m_block);
}

int LGSMWaveSource::Decode(int* out, int frames) {
  int done = std::min(frames, kGSMBlockSamples - m_next);
  std::memcpy(out, m_block + m_next, sizeof(int) * static_cast<size_t>(done));
  m_next += done;
  while (frames - done >= kGSMBlockSamples) {
    if (!DecodeNextBlock(out + done)) return done;
    done += kGSMBlockSamples;
  }
  if (frames > done) {
    if (!DecodeNextBlock(m_block)) return done;
    m_next = frames - done;
    std::memcpy(out + done, m_block, sizeof(int) * static_cast<size_t>(m_next));
    done = frames;
  }
  return done;
}

bool LGSMWaveSource::DecodeNextBlock(int* out) {
  unsigned char block[kGSMBlockBytes];
  // A short block is the end of a truncated file: it is not decoded, so no
  // sample comes from bytes that were never read.
  if (m_file.Read(block, kGSMBlockBytes) != kGSMBlockBytes) return false;
  m_decoder.DecodeFrameWave(block, out);
  return true;
}

void LGSMWaveSource::Seek(int sample) {
  m_decoder.Reset();
  m_next = kGSMBlockSamples;
  m_position = sample;
  if (sample <= 0) {
    m_file.Seek(m_dataStart);
    return;
  }
  const int target = std::min(sample, m_end);
  m_file.Seek(int64_t(m_dataStart) + int64_t(target / kGSMBlockSamples) * kGSMBlockBytes);
  if (sample > m_end) return;
  if (DecodeNextBlock(m_block)) m_next = sample % kGSMBlockSamples;
}
