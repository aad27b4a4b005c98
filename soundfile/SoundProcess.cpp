#include "soundfile/SoundProcess.h"

#include <cstdio>
#include <cstring>

#include "soundfile/SDF.h"

template <typename T>
void LSoundProcessParameter::Init(LSoundProcessParameterType t, T minimumValue, T maximumValue, const char* n,
                                  const char* u) {
  Cleanup();
  type = t;
  minimum = new T(minimumValue);
  maximum = new T(maximumValue);
  value = new T();
  std::snprintf(name, sizeof name, "%s", n ? n : "");
  std::snprintf(unit, sizeof unit, "%s", u ? u : "");
  elementSize = sizeof(T);
  owned = true;
}

template void LSoundProcessParameter::Init<int>(LSoundProcessParameterType, int, int, const char*, const char*);

void LSoundProcessParameter::Cleanup() {
  if (owned) {
    // Only Init<int> exists; the arrays are ints.
    delete static_cast<int*>(minimum);
    delete static_cast<int*>(maximum);
    delete static_cast<int*>(value);
  }
  minimum = maximum = value = nullptr;
  owned = false;
  elementSize = 0;
}

LSoundProcess::~LSoundProcess() = default;

char* LSoundProcess::GetName(char* name) {
  std::snprintf(name, 260, "%s", "Unnamed Effect");
  return name;
}

void LSoundProcess::SaveToSDF(LSDFWriter& writer) const { writer.WriteBool(kSDFOptionChunk, m_option); }

void LSoundProcess::LoadFromSDF(LSDFReader& reader, LSDFReaderChunkIterator& chunks) {
  // The iterator moves past each chunk by its size, read or not.
  LSDFChunk chunk;
  while (chunks.Next(chunk)) {
    unsigned char b = 0;
    if (chunk.identifier == kSDFOptionChunk && reader.ReadData(&b, 1)) m_option = b != 0;
  }
}

LSoundProcessBase::LSoundProcessBase(const LSoundSource& input)
    : LSoundSourceBase(input->GetSampleRate(), input->GetChannels(), input->GetPeak()), m_input(input) {
  if (input->GetError() != 0) m_error = kSourceInputError;
}
