#include "ui/SoundPreview.h"

#include "audio/OutputUnit.h"
#include "soundfile/Gain.h"
#include "soundfile/WaveFile.h"
#include "store/Settings.h"

LSoundPreview::LSoundPreview(std::unique_ptr<LAudioOutputUnit> unit)
    : m_player(unit ? std::move(unit) : LAudioOutputUnitCreate()) {
  m_player.SetListener(this, 0);
}

LSoundPreview::~LSoundPreview() { m_player.Stop(); }

bool LSoundPreview::Play(const std::string& path, int levelDb) {
  m_player.Stop();
  LSoundSource raw = LWaveFile::OpenSource(path.c_str());
  if (raw->GetError() != 0) return false;
  // The level as the track applies it: a signed byte of decibels.
  LSPGain gain;
  gain.m_gain = LdBLevel(static_cast<signed char>(levelDb)).GetLin();
  LSoundSource source = gain.OpenSource(raw);
  auto& output = m_player.GetOutput();
  output.SetDevice(LSettingGetSoundPlayDevice("Settings", "SoundOutDevice"));
  output.SetPlayVolume(LdBLevel(LUserSettingGetInt("Settings", "Volume", 0, -127, 127)));
  return m_player.Start(source, 0);
}

void LSoundPreview::Stop() { m_player.Stop(); }
