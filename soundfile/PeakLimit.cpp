#include "soundfile/PeakLimit.h"

#include <algorithm>
#include <cstdint>

#include "soundfile/BufferUtils.h"

namespace {
constexpr int kUnity = 16777216;     // 8.24
constexpr int kMaxLimit = 0x3FFFFF;  // keeps limit << 9 within 32 bits
}  // namespace

LSoundSource LSPPeakLimit::OpenSource(LSoundSource& input) {
  if (input->GetPeak() <= m_limit) return input;
  return LSoundSource(new LSRCPeakLimit(input, m_limit));
}

LSRCPeakLimit::LSRCPeakLimit(LSoundSource& input, int limit) : LSoundProcessBase(input) {
  m_peak = std::min(limit, kMaxLimit);
  m_blockLength = std::clamp(m_sampleRate / 35, 16, kMaxReadFrames);
  m_lookAhead = 3 * m_blockLength;
  m_blockPosition = m_lookAhead;  // not primed: the first Read restarts
  const size_t blockInts = static_cast<size_t>(m_blockLength) * m_channels;
  m_storage.reset(new int[3 * blockInts]());
  m_current = m_storage.get();
  m_next = m_current + blockInts;
  m_afterNext = m_next + blockInts;
}

int LSRCPeakLimit::ConvMaxtoLev(int peak) const {
  const int limit = m_peak;
  if (limit >= peak) return kUnity;
  // ((limit << 9) / ((peak + 64) >> 6)) << 9 = limit / peak in 8.24, in two
  // 9-bit halves so the dividend stays within 32 bits.
  const int64_t divisor = (int64_t(peak) + 64) >> 6;
  const int64_t q = (int64_t(limit) * 512) / divisor;
  return static_cast<int>(q * 512);
}

void LSRCPeakLimit::FillBlock(int* block, int& level) {
  m_input->Read(block, m_blockLength);
  // A block that cannot reach the limit has unity level whatever its exact
  // peak, so a source that knows such a bound spares the scan.
  long bound = 0;
  level = m_input->ControlMessage(kMsgReadPeak, &bound) && bound <= m_peak
              ? kUnity
              : ConvMaxtoLev(GetBufferPeak(block, m_blockLength, m_channels));
}

void LSRCPeakLimit::CalcCLev() {
  // Aim at the mean of the four levels but never above the current or next
  // block's: the gain never exceeds the level of the block being delivered.
  const int mean = static_cast<int>((int64_t(m_levelPrevious) + m_levelCurrent + m_levelNext + m_levelAfterNext) / 4);
  const int target = std::min(mean, std::min(m_levelCurrent, m_levelNext));
  const int delta = target - m_gain;
  m_gainStep = delta / m_blockLength;
  m_gain += delta % m_blockLength;  // after block length frames the gain is exactly the target
}

void LSRCPeakLimit::Restart() {
  FillBlock(m_current, m_levelCurrent);
  m_levelPrevious = m_levelCurrent;
  FillBlock(m_next, m_levelNext);
  FillBlock(m_afterNext, m_levelAfterNext);
  m_gain = m_levelCurrent;
  CalcCLev();
  m_blockPosition = 0;
}

void LSRCPeakLimit::AdvanceBlock() {
  int* old = m_current;
  m_current = m_next;
  m_next = m_afterNext;
  m_afterNext = old;
  m_levelPrevious = m_levelCurrent;
  m_levelCurrent = m_levelNext;
  m_levelNext = m_levelAfterNext;
  FillBlock(m_afterNext, m_levelAfterNext);
  CalcCLev();
  m_blockPosition = 0;
}

namespace {
// s * g / 2^24 without the product of the two low 12-bit parts. The gain
// stays within 0..unity (it moves between levels that do), so every term
// and every partial sum fits 32 bits.
inline int Scale(int s, int gh, int gl) {
  return (s >> 12) * gh + ((gh * (s & 4095)) >> 12) + (((s >> 12) * gl) >> 12);
}
}  // namespace

void LSRCPeakLimit::ApplyGain(int* out, const int* in, int frames) {
  const int ch = m_channels, g0 = m_gain, step = m_gainStep;
  if (ch == 1) {
    // Frames independent of each other: vector code.
    for (int f = 0; f < frames; ++f) {
      const int g = g0 + f * step;
      out[f] = Scale(in[f], g >> 12, g & 4095);
    }
  } else {
    for (int f = 0; f < frames; ++f) {
      const int g = g0 + f * step;
      for (int c = 0; c < ch; ++c) out[f * ch + c] = Scale(in[f * ch + c], g >> 12, g & 4095);
    }
  }
  m_gain = g0 + frames * step;
}

void LSRCPeakLimit::Read(int* buffer, int samples) {
  // Worker-thread code: allocates nothing; blocks are swapped by pointer.
  int i = 0;
  const int ch = m_channels;
  while (i < samples) {
    if (m_blockPosition >= m_blockLength) {
      if (m_blockPosition < m_lookAhead)
        AdvanceBlock();
      else
        Restart();
    }
    const int end = std::min(samples, i + m_blockLength - m_blockPosition);
    const int count = end - i;
    const int* in = m_current + static_cast<long>(m_blockPosition) * ch;
    int* out = buffer + static_cast<long>(i) * ch;
    if (m_gain > kUnity - 1 && m_gainStep == 0)
      std::copy(in, in + static_cast<long>(count) * ch, out);
    else
      ApplyGain(out, in, count);
    m_blockPosition += count;
    i = end;
  }
}

int LSRCPeakLimit::GetPositionSample() const {
  long v = m_blockPosition - m_lookAhead;  // frames read ahead but not yet delivered (<= 0)
  m_input->ControlMessage(kMsgAdjustPosition, &v);
  const long pos = m_input->GetPositionSample() + v;
  return pos > 0 ? static_cast<int>(pos) : 0;
}

void LSRCPeakLimit::Seek(int sample) {
  m_input->Seek(sample);
  Restart();
}

bool LSRCPeakLimit::ControlMessage(int message, long* value) {
  if (message == kMsgBufferedFrames) {
    *value = m_lookAhead - m_blockPosition;
    return true;
  }
  if (message == kMsgLimiterLookAhead) {
    long v = m_blockPosition - m_lookAhead;
    m_input->ControlMessage(kMsgAdjustPosition, &v);
    *value -= v;
    m_input->ControlMessage(kMsgLimiterLookAhead, value);
    return true;
  }
  return message != kMsgReadPeak && m_input->ControlMessage(message, value);
}
