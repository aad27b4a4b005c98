#include "store/StoredValues.h"

#include <cerrno>
#include <cstdlib>

#include "store/Settings.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The whole text as a decimal number; false for anything else, including
// numbers past the range of long.
bool ParseWhole(const char* text, long& value) {
  while (IsBlank(*text)) ++text;
  if (*text == '\0') return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtol(text, &end, 10);
  if (end == text || errno == ERANGE) return false;
  while (IsBlank(*end)) ++end;
  return *end == '\0';
}

}  // namespace

std::vector<LStoredRepair> LRepairStoredValues(const LStoredRange* ranges, int count) {
  std::vector<LStoredRepair> repairs;
  for (int i = 0; i < count; ++i) {
    const LStoredRange& r = ranges[i];
    char text[kSettingTextSize];
    if (!_LUserSettingGetString(r.section, r.key, "", text) || text[0] == '\0') continue;
    long value = 0;
    const bool readable = ParseWhole(text, value);
    const long now = !readable ? r.def : value < r.minimum ? r.minimum : value > r.maximum ? r.maximum : value;
    if (readable && now == value) continue;
    LUserSettingSet<int>(r.section, r.key, static_cast<int>(now));
    repairs.push_back({&r, text, static_cast<int>(now), !readable});
  }
  return repairs;
}
