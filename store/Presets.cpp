#include "store/Presets.h"

#include <strings.h>

#include "store/FileStoreIterator.h"
#include "store/Profile.h"

LUserPresetList::LUserPresetList(LProfile& profile) : LDataStoreList(profile.DataStore(), "UserPreset") {}

LSoundSchemeRecordList::LSoundSchemeRecordList(LProfile& profile)
    : LDataStoreList(profile.DataStore(), "SoundScheme") {}

LOptionsList::LOptionsList(LProfile& profile) : LDataStoreList(profile.DataStore(), "Misc") {}

namespace {

// Walks the list for the first record whose "Name" matches, remembering only
// its key: the record is opened afresh so the caller gets its own store.
template <class List, class Rec>
bool OpenByName(List& list, Rec& rec, const char* name) {
  std::string key;
  bool found = false;
  {
    LDataStoreListIterator<LFileStoreDataStore, Rec> it(list);
    for (; it.IsValid(); it.Next()) {
      if (strcasecmp(it->GetString(preset_field::kName).c_str(), name ? name : "") == 0) {
        key = it->Key();
        found = true;
        break;
      }
    }
  }
  return found && list.Open(rec, key);
}

}  // namespace

bool OpenPreset(LUserPresetList& list, LUserPreset& rec, const char* name) { return OpenByName(list, rec, name); }

bool OpenSoundScheme(LSoundSchemeRecordList& list, LSoundSchemeRecord& rec, const char* name) {
  return OpenByName(list, rec, name);
}

LPresetValues ReadPresetValues(const LUserPreset& rec) {
  LPresetValues v;
  v.tempo = rec.GetInt(preset_field::kTempo, preset_field::kDefaultTempo);
  v.measureIndex = rec.GetInt(preset_field::kMeasureIndex, preset_field::kDefaultMeasureIndex);
  v.subdiv = rec.GetInt(preset_field::kSubdiv, preset_field::kDefaultSubdiv);
  return v;
}

void WritePreset(LUserPreset& rec, std::string_view name, const LPresetValues& values) {
  rec.SetString(preset_field::kName, name);
  rec.SetInt(preset_field::kMeasureIndex, values.measureIndex);
  rec.SetInt(preset_field::kTempo, values.tempo);
  rec.SetInt(preset_field::kSubdiv, values.subdiv);
}

void ApplySchemeToOptions(const LSoundSchemeRecord& scheme, LOptions& options) {
  options.SetString(options_field::kAccent, scheme.GetString(scheme_field::kAccentFile));
  options.SetString(options_field::kBeat, scheme.GetString(scheme_field::kBeatFile));
  options.SetString(options_field::kClick, scheme.GetString(scheme_field::kClickFile));
}
