// Fixed gain: the model puts one on each click sound, set from its level.
#pragma once

#include "soundfile/SoundProcess.h"

class LSPGain : public LSoundProcess {
 public:
  LSoundSource OpenSource(LSoundSource& input) override;
  char* GetName(char* name) override;
  int GetSoundProcessType() const override { return 1; }
  LSoundProcess* GetNewCopy() const override;
  int GetNumParameters() override { return 1; }
  // Index 0 is the gain as a percentage, 1..400; value points at a signed
  // 16-bit percentage when setting.
  void SetParameterByIndex(int index, void* value) override;
  void GetParameterByIndex(int index, LSoundProcessParameter* parameter) override;
  int GetNumPresets() override { return 4; }
  void GetPresetsName(int index, char* name) override;
  void SetPreset(int index) override;
  int GetIndexInPreset() override;
  void SaveToSDF(LSDFWriter& writer) const override;
  void LoadFromSDF(LSDFReader& reader, LSDFReaderChunkIterator& chunks) override;
  void LoadFromSDF(LSDFReaderChunkIterator& chunk) override;

  // 8.24 fixed point, 16777216 = unity; written directly by the model.
  int m_gain = 16777216;

 private:
  int Percentage() const;
};

class LSRCGain : public LSoundProcessBase {
 public:
  // gain in 8.24; above unity the peak bound becomes 2097152 whatever the gain.
  LSRCGain(LSoundSource& input, int gain);
  void Read(int* buffer, int samples) override;
  int GetFactor() const { return m_factor; }

 private:
  int m_factor;  // 1/512 units: the 8.24 gain >> 15
};
