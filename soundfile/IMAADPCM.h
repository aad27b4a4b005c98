// IMA/DVI ADPCM decoder state: one channel's predictor and step index.
#pragma once

#include "soundfile/IMATables.h"

class LIMAADPCM {
 public:
  // Starts a block: the block header's sample (16-bit) and step index; an
  // index above 88 is taken as 88.
  void Reset(int predictor, int stepIndex) {
    m_predictor = predictor;
    m_stepIndex = stepIndex > kIMAMaxStepIndex ? kIMAMaxStepIndex : (stepIndex < 0 ? 0 : stepIndex);
  }

  // Decodes one 4-bit code (higher bits ignored) and returns the new
  // predictor x 16, i.e. in internal units (full scale +-524288).
  int DecodeSample(unsigned char code) {
    code &= 0x0F;
    // The IMA step: the magnitude bits 2, 1, 0 add step, step/2, step/4 to a
    // base of step/8, so the quantiser never stalls at a zero difference.
    const int step = kIMAStepTable[m_stepIndex];
    int difference = step >> 3;
    if (code & 4) difference += step;
    if (code & 2) difference += step >> 1;
    if (code & 1) difference += step >> 2;
    if (code & 8) difference = -difference;
    int predictor = m_predictor + difference;
    if (predictor > 32767) predictor = 32767;
    if (predictor < -32768) predictor = -32768;
    m_predictor = predictor;
    int index = m_stepIndex + kIMAIndexTable[code];
    if (index < 0) index = 0;
    if (index > kIMAMaxStepIndex) index = kIMAMaxStepIndex;
    m_stepIndex = index;
    return predictor * 16;
  }

  int GetPredictor() const { return m_predictor; }
  int GetStepIndex() const { return m_stepIndex; }

 private:
  int m_predictor = 0;  // 16-bit sample value
  int m_stepIndex = 0;  // 0..88
};
