// Processing effects: a configurable object that wraps a source in a
// processing stage, and the base of every stage that reads another source.
#pragma once

#include "soundfile/SoundSource.h"

class LSDFWriter;
class LSDFReader;
class LSDFReaderChunkIterator;

enum LSoundProcessParameterType { kParameterInt = 0 };

// Describes one effect parameter to a host.
struct LSoundProcessParameter {
  LSoundProcessParameter() = default;
  ~LSoundProcessParameter() { Cleanup(); }
  LSoundProcessParameter(const LSoundProcessParameter&) = delete;
  LSoundProcessParameter& operator=(const LSoundProcessParameter&) = delete;

  template <typename T>
  void Init(LSoundProcessParameterType t, T minimum, T maximum, const char* n, const char* u);
  void Cleanup();

  LSoundProcessParameterType type = kParameterInt;
  char name[260] = {};
  char unit[260] = {};
  int elementSize = 0;
  void* minimum = nullptr;
  void* maximum = nullptr;
  void* value = nullptr;
  bool owned = false;
};

class LSoundProcess {
 public:
  LSoundProcess() = default;
  virtual ~LSoundProcess();

  // A source delivering the input as processed (or the input itself).
  virtual LSoundSource OpenSource(LSoundSource& input) = 0;
  virtual char* GetName(char* name);
  virtual int GetSoundProcessType() const { return 0; }
  virtual LSoundProcess* GetNewCopy() const { return nullptr; }
  virtual bool IsValid() const { return true; }
  virtual int GetNumParameters() { return 0; }
  virtual void SetParameterByIndex(int, void*) {}
  virtual void GetParameterByIndex(int, LSoundProcessParameter*) {}
  virtual void SaveToSDF(LSDFWriter& writer) const;
  virtual void LoadFromSDF(LSDFReader& reader, LSDFReaderChunkIterator& chunks);
  virtual void LoadFromSDF(LSDFReaderChunkIterator&) {}
  virtual int GetEditorType() { return 1; }
  virtual bool IsExternalGUI() { return false; }
  virtual void OpenEditor(void*) {}
  virtual void CloseEditor() {}
  virtual void GetEditorSize(int&, int&) {}
  virtual int GetNumPresets() { return 0; }
  virtual void GetPresetsName(int, char*) {}
  virtual void SetPreset(int) {}
  virtual int GetIndexInPreset() { return -1; }

  // Stored and loaded with the parameters; nothing else reads it.
  bool m_option = false;
};

// A source that reads from another. Rate, channels and peak come from the
// input; an input with an error gives code 2.
class LSoundProcessBase : public LSoundSourceBase {
 public:
  explicit LSoundProcessBase(const LSoundSource& input);
  int GetPositionSample() const override { return m_input->GetPositionSample(); }
  int GetEndSample() const override { return m_input->GetEndSample(); }
  void Seek(int sample) override { m_input->Seek(sample); }
  bool ControlMessage(int message, long* value) override {
    return message != kMsgReadPeak && m_input->ControlMessage(message, value);
  }

 protected:
  LSoundSource m_input;
};
