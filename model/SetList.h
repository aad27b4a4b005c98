// Set lists: a named, ordered run of presets that a player steps through,
// one key from the next. Stored as records like presets (folder "SetList"),
// each naming its presets by record key, so renaming a preset or two
// presets sharing a name do not confuse it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "store/FileStore.h"
#include "store/Record.h"

class LProfile;

class LSetListRecord : public LRecord {};

class LSetListList : public LDataStoreList<LFileStoreDataStore, LSetListRecord> {
 public:
  explicit LSetListList(LProfile& profile);
};

// Fields: "Name", "Count", then "Preset1" .. "Preset<Count>" holding preset
// record keys. A save never removes a field, so a shortened list leaves
// items past Count behind, which readers ignore.
namespace setlist_field {
inline constexpr const char* kName = "Name";
inline constexpr const char* kCount = "Count";
inline constexpr const char* kPreset = "Preset";
inline constexpr int kMaxPresets = 999;
}  // namespace setlist_field

struct LSetList {
  std::string name;
  std::vector<std::string> presets;  // preset record keys, in playing order
  bool operator==(const LSetList&) const = default;
};

// A count outside 0..kMaxPresets (a file edited by hand) reads as what lies
// within; empty items are dropped.
LSetList ReadSetList(const LRecord& rec);
void WriteSetList(LRecord& rec, const LSetList& list);

// The entry one step from `from` (direction +1 or -1) whose preset can
// still be loaded, passing over ones that cannot (deleted presets); -1 when
// there is none that way. The ends do not wrap: a set is played in order.
int LSetListStep(const LSetList& list, int from, int direction, const std::function<bool(const std::string&)>& usable);
