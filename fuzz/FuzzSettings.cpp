// The settings' text forms: numbers, booleans, full key names and UTF-8
// cuts, fed arbitrary text.
#include <cstdint>
#include <cstring>
#include <string>

#include "store/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const char* c = text.c_str();  // stops at the first NUL, as a stored value would
  (void)LSettingParseInt(c, 7);
  (void)LSettingParseBool(c, true);

  const size_t half = std::strlen(c) / 2;
  const std::string section(c, half), key(c + half);
  char full[kSettingFullKeySize];
  _LSettingGetFullKeyName(full, section.c_str(), key.c_str());
  if (std::strlen(full) >= kSettingFullKeySize) __builtin_trap();

  char out[kSettingTextSize];
  LUtf8Copy(out, sizeof out, c);
  const size_t n = std::strlen(out);
  if (n >= kSettingTextSize || std::memcmp(out, c, n) != 0) __builtin_trap();
  return 0;
}
