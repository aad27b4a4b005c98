#include "store/Settings.h"

#include "store/DataFolders.h"
#include "store/SettingsCache.h"
#include "store/Utf8.h"

#include <QString>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

size_t LUtf8PrefixLength(const char* text, size_t maxBytes) {
  // One byte past the limit is enough to see whether a character straddles it.
  return LUtf8CutLength(std::string_view(text, ::strnlen(text, maxBytes + 1)), maxBytes);
}

void LUtf8Copy(char* out, size_t size, const char* text) {
  if (size == 0) return;
  const size_t n = LUtf8PrefixLength(text ? text : "", size - 1);
  if (n) std::memcpy(out, text, n);
  out[n] = '\0';
}

void _LSettingGetFullKeyName(char* out, const char* section, const char* key) {
  std::string full = section ? section : "";
  if (full.empty() || full.back() != '/') full += '/';
  full += key ? key : "";
  LUtf8Copy(out, kSettingFullKeySize, full.c_str());
}

const char* LSettingsFilePath(char* out, size_t size) {
  std::string dir;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    dir = xdg;
  } else {
    // The data folder's home, never the working folder: without one the
    // path is empty (the program refuses to start).
    const std::string home = LUserHomeFolder();
    if (home.empty()) {
      if (size) out[0] = '\0';
      return out;
    }
    dir = home + "/.config";
  }
  std::snprintf(out, size, "%s/Morvane/Morvane.conf", dir.c_str());
  return out;
}

namespace {

// The path is worked out at every call; the cache behind it keeps one file's
// values in memory and writes changes on its own thread.
QString SettingsPath() {
  char path[4096];
  return QString::fromUtf8(LSettingsFilePath(path, sizeof path));
}

QString FullKey(const char* section, const char* key) {
  char full[kSettingFullKeySize];
  _LSettingGetFullKeyName(full, section, key);
  return QString::fromUtf8(full);
}

}  // namespace

void LSettingsWatchCommits(std::function<void(bool saved)> watcher) { settings_cache::Watch(std::move(watcher)); }

bool LSettingsCommitFailing() { return settings_cache::Failing(); }

bool LSettingsFlush() { return settings_cache::Flush(); }

bool LSettingsKeepUnreadable(std::string& keptAs) {
  const QString kept = settings_cache::KeepAside(SettingsPath());
  if (kept.isEmpty()) return false;
  keptAs = kept.toStdString();
  return true;
}

int _LUserSettingGetString(const char* section, const char* key, const char* def, char* out) {
  const std::optional<QString> value = settings_cache::Get(SettingsPath(), FullKey(section, key));
  if (!value) {
    LUtf8Copy(out, kSettingTextSize, def);
    return 0;
  }
  LUtf8Copy(out, kSettingTextSize, value->toUtf8().constData());
  return 1;
}

bool LUserSettingSetString(const char* section, const char* key, const char* value) {
  settings_cache::Set(SettingsPath(), FullKey(section, key), QString::fromUtf8(value ? value : ""));
  return !settings_cache::Failing();
}

bool LUserSettingDeleteItem(const char* section, const char* key) {
  settings_cache::Set(SettingsPath(), FullKey(section, key), std::nullopt);
  return !settings_cache::Failing();
}

int LSettingParseInt(const char* text, int def) {
  if (!text || !*text) return def;
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  long long v = 0;
  // Saturates instead of overflowing on absurdly long digit runs.
  for (; *p >= '0' && *p <= '9'; ++p) v = std::min(v * 10 + (*p - '0'), static_cast<long long>(INT_MAX) + 1);
  if (negative) v = -v;
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

bool LSettingParseBool(const char* text, bool def) {
  if (!text || !*text) return def;
  return text[0] != '0';
}

template <>
int LUserSettingGet<int>(const char* section, const char* key, int def) {
  char text[kSettingTextSize];
  if (!_LUserSettingGetString(section, key, "", text)) return def;
  return LSettingParseInt(text, def);
}

template <>
bool LUserSettingGet<bool>(const char* section, const char* key, bool def) {
  char text[kSettingTextSize];
  if (!_LUserSettingGetString(section, key, "", text)) return def;
  return LSettingParseBool(text, def);
}

template <>
void LUserSettingSet<int>(const char* section, const char* key, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  LUserSettingSetString(section, key, text);
}

template <>
void LUserSettingSet<bool>(const char* section, const char* key, bool value) {
  LUserSettingSetString(section, key, value ? "1" : "0");
}

int LUserSettingGetInt(const char* section, const char* key, int def, int minimum, int maximum) {
  const int v = LUserSettingGet<int>(section, key, def);
  return std::max(minimum, std::min(v, maximum));
}
