#include "engine/MetronomeAdvanced.h"

#include "soundfile/WaveFile.h"

namespace {
constexpr int kMeasureTable[LMetronomeAdvanced::kMeasureCount][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},  // None
    {1, 2, 0, 0, 0, 0, 0, 0},  // 2
    {1, 2, 2, 0, 0, 0, 0, 0},  // 3
    {1, 2, 2, 2, 0, 0, 0, 0},  // 4
    {1, 2, 2, 2, 2, 0, 0, 0},  // 5
    {1, 2, 2, 1, 2, 0, 0, 0},  // 5(3+2)
    {1, 2, 1, 2, 2, 0, 0, 0},  // 5(2+3)
    {1, 2, 2, 2, 2, 2, 0, 0},  // 6
    {1, 2, 2, 2, 2, 2, 2, 0},  // 7
    {1, 2, 2, 2, 1, 2, 2, 0},  // 7(4+3)
    {1, 2, 2, 1, 2, 2, 2, 0},  // 7(3+4)
    {1, 2, 2, 2, 2, 2, 2, 2},  // 8
};
// Null-terminated for lists that show every measure.
constexpr const char* kMeasureNames[LMetronomeAdvanced::kMeasureCount + 1] = {
    "None", "2", "3", "4", "5", "5(3+2)", "5(2+3)", "6", "7", "7(4+3)", "7(3+4)", "8", nullptr};

std::string& DefaultFolder() {
  static std::string folder;
  return folder;
}

LSoundSource OpenDefault(const char* name) { return LWaveFile::OpenSource((DefaultFolder() + "/" + name).c_str()); }
}  // namespace

void LMetronomeAdvanced::SetDefaultSoundFolder(const std::string& folder) { DefaultFolder() = folder; }
const std::string& LMetronomeAdvanced::GetDefaultSoundFolder() { return DefaultFolder(); }

LMetronomeAdvanced::LMetronomeAdvanced()
    : m_beatSound(OpenDefault("beat.wav")),
      m_accentSound(OpenDefault("accent.wav")),
      m_clickSound(OpenDefault("click.wav")) {}

int LMetronomeAdvanced::MeasureEntry(int measure, int beat) {
  if (measure < 0 || measure >= kMeasureCount || beat < 0 || beat >= 8) return 0;
  return kMeasureTable[measure][beat];
}

const char* LMetronomeAdvanced::MeasureName(int measure) {
  return measure >= 0 && measure < kMeasureCount ? kMeasureNames[measure] : "";
}

const char* const* LMetronomeAdvanced::MeasureNames() { return kMeasureNames; }

int LMetronomeAdvanced::MeasureIndex(const std::string& name) {
  for (int i = 0; i < kMeasureCount; ++i)
    if (name == kMeasureNames[i]) return i;
  return -1;
}

void LMetronomeAdvanced::SetTempo(int bpm) {
  m_tempo = bpm;
  ReCalculateInterval();
}

void LMetronomeAdvanced::SetSubDiv(int index) {
  if (m_tempo == 0) m_tempo = 10;  // keeps the interval division defined
  m_subdivisions = index + 1;
  ReCalculateInterval();
}

int LMetronomeAdvanced::ReCalculateInterval() {
  // Truncating division: a full beat of clicks may be up to subdivisions - 1
  // frames shorter than the beat; the sound follows the click grid.
  const long rate = m_beatSound->GetSampleRate();
  m_beatInterval = m_tempo > 0 ? static_cast<int>(rate * 60 / m_tempo) : 0;
  m_clickInterval = m_subdivisions > 0 ? m_beatInterval / m_subdivisions : 0;
  return m_clickInterval;
}

LSoundSource& LMetronomeAdvanced::CurrentSound() {
  switch (m_currentSound) {
    case Sound::Accent: return m_accentSound;
    case Sound::Click: return m_clickSound;
    case Sound::Beat: break;
  }
  return m_beatSound;
}

void LMetronomeAdvanced::WhichClick() {
  if (m_subdivisions != 1 && m_subdivisionCounter != 0) {
    m_currentSound = Sound::Click;  // off-beat; the beat counter stays
  } else {
    m_currentSound = Sound::Beat;
    if (m_measure != 0) {
      if (MeasureEntry(m_measure, m_beatCounter) == 1) m_currentSound = Sound::Accent;
      ++m_beatCounter;
      if (m_beatCounter >= 8 || MeasureEntry(m_measure, m_beatCounter) == 0) m_beatCounter = 0;
    }
  }
  if (++m_subdivisionCounter >= m_subdivisions) m_subdivisionCounter = 0;
  // A sound never plays for more than half of its slot; a short one plays whole.
  const int length = CurrentSound()->GetEndSample();
  const int half = m_clickInterval / 2;
  m_clickLength = length < half ? length : half;
  if (m_clickLength < 0) m_clickLength = 0;
}
