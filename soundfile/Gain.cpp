#include "soundfile/Gain.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "soundfile/BufferUtils.h"
#include "soundfile/SDF.h"

namespace {
struct Preset {
  const char* name;
  int percentage;
};
constexpr Preset kPresets[4] = {
    {"Quarter Volume", 25}, {"Half Volume", 50}, {"Double Volume", 200}, {"Triple Volume", 300}};
}  // namespace

LSoundSource LSPGain::OpenSource(LSoundSource& input) { return LSoundSource(new LSRCGain(input, m_gain)); }

char* LSPGain::GetName(char* name) {
  std::snprintf(name, 260, "%s", "Amplify");
  return name;
}

LSoundProcess* LSPGain::GetNewCopy() const {
  auto* copy = new LSPGain();
  copy->m_gain = m_gain;
  return copy;
}

int LSPGain::Percentage() const { return static_cast<int>(std::ceil(m_gain * (1.0 / 16777216.0) * 100.0)); }

void LSPGain::SetParameterByIndex(int index, void* value) {
  if (index != 0 || !value) return;
  const int16_t p = *static_cast<const int16_t*>(value);
  // Percentages above 12799 have no 8.24 value: saturate instead of overflowing.
  const double g = std::trunc(p / 100.0 * 16777216.0);
  m_gain = g >= 2147483647.0 ? 2147483647 : g <= -2147483648.0 ? (-2147483647 - 1) : static_cast<int>(g);
}

void LSPGain::GetParameterByIndex(int index, LSoundProcessParameter* parameter) {
  if (index != 0 || !parameter) return;
  parameter->Init<int>(kParameterInt, 1, 400, "Gain Percentage", "%");
  *static_cast<int*>(parameter->value) = Percentage();
}

void LSPGain::GetPresetsName(int index, char* name) {
  if (index < 0 || index > 3 || !name) return;
  std::snprintf(name, 260, "%s", kPresets[index].name);
}

void LSPGain::SetPreset(int index) {
  if (index < 0 || index > 3) return;
  int16_t p = static_cast<int16_t>(kPresets[index].percentage);
  SetParameterByIndex(0, &p);
}

int LSPGain::GetIndexInPreset() {
  const int p = Percentage();
  for (int i = 0; i < 4; ++i)
    if (kPresets[i].percentage == p) return i;
  return -1;
}

void LSPGain::SaveToSDF(LSDFWriter& writer) const {
  writer.StartChunk(kSDFGainChunk, kSDFContainer);
  LSoundProcess::SaveToSDF(writer);
  writer.EndChunk(kSDFGainChunk);
  writer.WriteInt(kSDFOptionChunk, m_gain);
}

void LSPGain::LoadFromSDF(LSDFReader& reader, LSDFReaderChunkIterator& chunks) {
  LSDFChunk chunk;
  while (chunks.Next(chunk)) {
    if (chunk.identifier == kSDFOptionChunk) {
      int v = 0;
      m_gain = reader.ReadInt(v) ? v : 0;
    } else if (chunk.identifier == kSDFGainChunk) {
      LSDFReaderChunkIterator children(reader, chunk);
      LSoundProcess::LoadFromSDF(reader, children);
    }
    // Anything else is skipped: the iterator moves on by the chunk's size.
  }
}

void LSPGain::LoadFromSDF(LSDFReaderChunkIterator& chunk) {
  // A single chunk carrying the gain as its data.
  LSDFChunk c;
  int v = 0;
  if (chunk.Next(c) && chunk.Reader().ReadInt(v)) m_gain = v;
}

LSRCGain::LSRCGain(LSoundSource& input, int gain) : LSoundProcessBase(input), m_factor(gain >> 15) {
  if (gain > 16777216) m_peak = 0x200000;
}

void LSRCGain::Read(int* buffer, int samples) {
  // Worker-thread code: allocates nothing.
  m_input->Read(buffer, samples);
  if (m_factor != 512) GainAudioBufferQuick(m_factor, buffer, samples * m_channels);
}
