#include "model/SetList.h"

#include <algorithm>

#include "store/Profile.h"

LSetListList::LSetListList(LProfile& profile) : LDataStoreList(profile.DataStore(), "SetList") {}

namespace {
std::string ItemName(int i) { return setlist_field::kPreset + std::to_string(i + 1); }
}  // namespace

LSetList ReadSetList(const LRecord& rec) {
  LSetList list;
  list.name = rec.GetString(setlist_field::kName);
  const int count = std::clamp(rec.GetInt(setlist_field::kCount, 0), 0, setlist_field::kMaxPresets);
  for (int i = 0; i < count; ++i) {
    const std::string key = rec.GetString(ItemName(i));
    if (!key.empty()) list.presets.push_back(key);
  }
  return list;
}

void WriteSetList(LRecord& rec, const LSetList& list) {
  rec.SetString(setlist_field::kName, list.name);
  const int count = std::min(static_cast<int>(list.presets.size()), setlist_field::kMaxPresets);
  rec.SetInt(setlist_field::kCount, count);
  for (int i = 0; i < count; ++i) rec.SetString(ItemName(i), list.presets[static_cast<size_t>(i)]);
}

int LSetListStep(const LSetList& list, int from, int direction, const std::function<bool(const std::string&)>& usable) {
  if (direction == 0) return -1;
  const int size = static_cast<int>(list.presets.size());
  for (int i = from + direction; i >= 0 && i < size; i += direction)
    if (usable(list.presets[static_cast<size_t>(i)])) return i;
  return -1;
}
