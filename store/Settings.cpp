#include "store/Settings.h"

#include "store/Utf8.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <atomic>
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
    const char* home = std::getenv("HOME");
    dir = std::string(home ? home : ".") + "/.config";
  }
  std::snprintf(out, size, "%s/Morvane/Morvane.conf", dir.c_str());
  return out;
}

namespace {

// No cache of our own: each call opens the file as it is now.
QString SettingsPath() {
  char path[4096];
  return QString::fromUtf8(LSettingsFilePath(path, sizeof path));
}

QString FullKey(const char* section, const char* key) {
  char full[kSettingFullKeySize];
  _LSettingGetFullKeyName(full, section, key);
  return QString::fromUtf8(full);
}

std::atomic<bool> g_commitFailing{false};
std::function<void(bool)> g_commitWatcher;

bool Commit(QSettings& settings) {
  settings.sync();
  const bool saved = settings.status() == QSettings::NoError;
  // Only the changes of state: a user who cannot save hears it once, not at
  // every click of the tempo arrows.
  if (g_commitFailing.exchange(!saved) == !saved) return saved;
  if (g_commitWatcher) g_commitWatcher(saved);
  return saved;
}

}  // namespace

void LSettingsWatchCommits(std::function<void(bool saved)> watcher) { g_commitWatcher = std::move(watcher); }

bool LSettingsCommitFailing() { return g_commitFailing.load(); }

bool LSettingsKeepUnreadable(std::string& keptAs) {
  const QString path = SettingsPath();
  if (!QFileInfo(path).isFile()) return false;
  {
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::FormatError) return false;
  }
  QString target = path + QStringLiteral(".unreadable");
  for (int n = 1; QFileInfo::exists(target) && n < 1000; ++n) target = path + QStringLiteral(".unreadable.%1").arg(n);
  if (QFileInfo::exists(target) || !QFile::copy(path, target)) return false;
  keptAs = target.toStdString();
  return true;
}

int _LUserSettingGetString(const char* section, const char* key, const char* def, char* out) {
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  const QVariant value = settings.value(FullKey(section, key));
  if (!value.isValid()) {
    LUtf8Copy(out, kSettingTextSize, def);
    return 0;
  }
  LUtf8Copy(out, kSettingTextSize, value.toString().toUtf8().constData());
  return 1;
}

bool LUserSettingSetString(const char* section, const char* key, const char* value) {
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  settings.setValue(FullKey(section, key), QString::fromUtf8(value ? value : ""));
  return Commit(settings);
}

bool LUserSettingDeleteItem(const char* section, const char* key) {
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  settings.remove(FullKey(section, key));
  return Commit(settings);
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
