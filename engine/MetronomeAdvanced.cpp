#include "engine/MetronomeAdvanced.h"

#include "soundfile/Resample.h"
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

void LMetronomeAdvanced::SetTempo(int bpm) { m_tempo = bpm; }

void LMetronomeAdvanced::SetSubDiv(int index) {
  if (m_tempo == 0) m_tempo = 10;  // a grid is always defined
  m_subdivisions = index + 1;
}

bool LMetronomeAdvanced::ConvertSounds(int rate) {
  if (rate == 0) rate = m_beatSound->GetSampleRate();
  bool ok = true;
  for (LSoundSource* s : {&m_accentSound, &m_beatSound, &m_clickSound}) {
    *s = LResampleSound(*s, rate);
    ok = ok && (*s)->GetError() == 0;
  }
  // An unset downbeat stays unset: the accent plays in its place.
  if (m_downbeatSound->GetError() == 0) {
    m_downbeatSound = LResampleSound(m_downbeatSound, rate);
    ok = ok && m_downbeatSound->GetError() == 0;
  }
  return ok;
}

LClickSegment LMetronomeAdvanced::Grid() const {
  return LClickSegment::Make(0, m_tempo, m_subdivisions, m_beatSound->GetSampleRate());
}

int LMetronomeAdvanced::ReCalculateInterval() const { return static_cast<int>(Grid().ClickFrame(1)); }
