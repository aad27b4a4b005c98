#include "model/RhythmExport.h"

#include "soundfile/WaveFile.h"
#include "store/DataFolders.h"
#include "store/Presets.h"
#include "store/Profile.h"
#include "store/Settings.h"

LClickTrackSettings LCurrentClickTrack(int tempo, int subdivisions, const LRhythm& rhythm) {
  LClickTrackSettings s;
  s.tempo = tempo;
  s.subdivisions = subdivisions;
  s.rhythm = rhythm;
  s.downbeatLevel = LLoadDownbeatLevel();
  const std::string shared = GetSharedDataFolderApp();
  const char* fields[3] = {options_field::kAccent, options_field::kBeat, options_field::kClick};
  const char* levels[3] = {"AccentVolume", "BeatVolume", "ClickVolume"};
  LProfile profile(shared);
  LOptionsList list(profile);
  LOptions options;
  // Read only: a missing record is not created, and names are not cleared
  // here (the model does that when it loads the sounds).
  const bool haveOptions = list.Open(options, options_field::kKey);
  for (int i = 0; i < 3; ++i) {
    const std::string name = haveOptions ? options.GetString(fields[i]) : std::string();
    const std::string path = name.empty() ? std::string() : UserSoundFilePath(shared, name);
    const bool usable = !path.empty() && LWaveFile::OpenSource(path.c_str())->GetError() == 0;
    s.sound[i] = usable ? path : DefaultSoundFilePath(shared, kDefaultSoundFiles[i]);
    s.level[i] = LUserSettingGetInt("Sound", levels[i], 0, -127, 127);
  }
  options.Discard();
  return s;
}
