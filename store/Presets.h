// The application's three record lists: user presets, sound schemes and the
// options record naming the sounds in use, all in the shared data folder.
#pragma once

#include <string_view>

#include "store/FileStore.h"
#include "store/Record.h"

class LProfile;

class LUserPreset : public LRecord {};
class LSoundSchemeRecord : public LRecord {};
class LOptionsBase : public LRecord {};
class LOptions : public LOptionsBase {};

// Field names and the defaults a missing field reads as.
namespace preset_field {
inline constexpr const char* kName = "Name";
inline constexpr const char* kMeasureIndex = "MeasureIndex";
inline constexpr const char* kTempo = "Tempo";
inline constexpr const char* kSubdiv = "Subdiv";
inline constexpr int kDefaultMeasureIndex = 0;
inline constexpr int kDefaultTempo = 100;
inline constexpr int kDefaultSubdiv = 0;
}  // namespace preset_field

namespace scheme_field {
inline constexpr const char* kName = "Name";
inline constexpr const char* kAccentFile = "AccentFile";
inline constexpr const char* kBeatFile = "BeatFile";
inline constexpr const char* kClickFile = "ClickFile";
}  // namespace scheme_field

namespace options_field {
inline constexpr const char* kKey = "Options";
inline constexpr const char* kAccent = "Accent";
inline constexpr const char* kBeat = "Beat";
inline constexpr const char* kClick = "Click";
}  // namespace options_field

class LUserPresetList : public LDataStoreList<LFileStoreDataStore, LUserPreset> {
 public:
  explicit LUserPresetList(LProfile& profile);
};

class LSoundSchemeRecordList : public LDataStoreList<LFileStoreDataStore, LSoundSchemeRecord> {
 public:
  explicit LSoundSchemeRecordList(LProfile& profile);
};

class LOptionsList : public LDataStoreList<LFileStoreDataStore, LOptions> {
 public:
  explicit LOptionsList(LProfile& profile);
};

// Opens into rec the first record, in file-system order, whose "Name" equals
// name ignoring case; false (rec left as it was) when none does.
bool OpenPreset(LUserPresetList& list, LUserPreset& rec, const char* name);
bool OpenSoundScheme(LSoundSchemeRecordList& list, LSoundSchemeRecord& rec, const char* name);

// The preset's values with the defaults for missing fields.
struct LPresetValues {
  int tempo = preset_field::kDefaultTempo;
  int measureIndex = preset_field::kDefaultMeasureIndex;
  int subdiv = preset_field::kDefaultSubdiv;
};
LPresetValues ReadPresetValues(const LUserPreset& rec);
// Writes the fields in the order a new preset stores them.
void WritePreset(LUserPreset& rec, std::string_view name, const LPresetValues& values);

// Copies a scheme's three sound file names into the options record.
void ApplySchemeToOptions(const LSoundSchemeRecord& scheme, LOptions& options);
