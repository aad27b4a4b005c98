// Peak limiter: keeps a source within a limit by riding a smoothly changing
// gain computed from the peaks of the blocks ahead.
#pragma once

#include <memory>

#include "soundfile/SoundProcess.h"

class LSPPeakLimit : public LSoundProcess {
 public:
  explicit LSPPeakLimit(int limit) : m_limit(limit) {}
  // The input itself when its peak bound is within the limit.
  LSoundSource OpenSource(LSoundSource& input) override;
  int m_limit;  // internal sample units
};

class LSRCPeakLimit : public LSoundProcessBase {
 public:
  LSRCPeakLimit(LSoundSource& input, int limit);
  void Read(int* buffer, int samples) override;
  int GetPositionSample() const override;
  void Seek(int sample) override;
  bool ControlMessage(int message, long* value) override;

  int GetBlockLength() const { return m_blockLength; }
  int GetLookAhead() const { return m_lookAhead; }

  // Gain (8.24) that brings a block of the given peak within the limit.
  int ConvMaxtoLev(int peak) const;

 private:
  void Restart();
  void AdvanceBlock();
  void FillBlock(int* block, int& level);
  void CalcCLev();
  void ApplyGain(int* out, const int* in, int frames);

  int m_blockLength;  // frames per analysis block
  int m_lookAhead;    // 3 blocks, frames
  int m_blockPosition;
  // Three blocks of channels * block length ints, swapped by pointer.
  std::unique_ptr<int[]> m_storage;
  int* m_current;
  int* m_next;
  int* m_afterNext;
  // Levels and gain in 8.24 fixed point (16777216 = unity).
  int m_levelPrevious = 16777216;
  int m_levelCurrent = 16777216;
  int m_levelNext = 16777216;
  int m_levelAfterNext = 16777216;
  int m_gain = 16777216;
  int m_gainStep = 0;
};
