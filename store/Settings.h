// Per-user settings addressed by section and key, every value stored as text.
// Backed by an INI file in the user's XDG config folder
// ("Morvane/Morvane.conf"), located afresh at every call. A change holds in
// memory at once and reaches the file about 200 ms after the last change, on
// a thread of its own, merged with what another instance wrote meanwhile.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Buffer sizes, NUL included: a value or name of 259 bytes, a full key of 519.
constexpr int kSettingTextSize = 260;
constexpr int kSettingFullKeySize = 520;

// Length of the longest prefix of text of at most maxBytes bytes that does
// not split a UTF-8 character.
size_t LUtf8PrefixLength(const char* text, size_t maxBytes);
// Copies text into out (size bytes, NUL included) without splitting a UTF-8
// character.
void LUtf8Copy(char* out, size_t size, const char* text);

// "section/key" (one slash only if section already ends in one), cut to 519 bytes.
void _LSettingGetFullKeyName(char* out, const char* section, const char* key);

// Copies the stored text, or def when absent, into out (260 bytes); 1 when
// the setting exists, else 0.
int _LUserSettingGetString(const char* section, const char* key, const char* def, char* out);
// Stores; false while the file cannot be written (the value holds anyway).
bool LUserSettingSetString(const char* section, const char* key, const char* value);
bool LUserSettingDeleteItem(const char* section, const char* key);

// Integer form "%d"; reading parses like strtol (leading space, one sign,
// stops at the first non-digit, no digits gives 0). Absent or empty: def.
// Boolean form "1"/"0"; reading gives false only for a text starting with "0".
template <typename T>
T LUserSettingGet(const char* section, const char* key, T def);
template <typename T>
void LUserSettingSet(const char* section, const char* key, T value);

template <>
int LUserSettingGet<int>(const char* section, const char* key, int def);
template <>
bool LUserSettingGet<bool>(const char* section, const char* key, bool def);
template <>
void LUserSettingSet<int>(const char* section, const char* key, int value);
template <>
void LUserSettingSet<bool>(const char* section, const char* key, bool value);

// LUserSettingGet<int>, then limited to minimum..maximum (the default too).
int LUserSettingGetInt(const char* section, const char* key, int def, int minimum, int maximum);

// The text forms on their own, for callers that hold the text already.
int LSettingParseInt(const char* text, int def);
bool LSettingParseBool(const char* text, bool def);

// Where the settings live for the current environment.
const char* LSettingsFilePath(char* out, size_t size);

// At start-up, before anything reads or writes a setting: a settings file
// that cannot be read as settings (garbage, another encoding, NUL bytes,
// over 1 MiB, not a regular file) would be replaced by the first change,
// losing whatever it still held. Moves it aside ("Morvane.conf.unreadable",
// numbered when that exists) and gives the new path; false when the file is
// readable, missing, or could not be moved. A file that turns unreadable
// later is moved aside the same way before it is written.
bool LSettingsKeepUnreadable(std::string& keptAs);

// Writes every pending change now and waits; true when all are on disk. Due
// at quit (an exit from main flushes too).
bool LSettingsFlush();

// A commit that fails (file or folder not writable, disk full) leaves the
// values the program holds in use but not on disk, and the file as it was.
// The watcher hears of every change between failing and saving again, on the
// settings writer's thread; nullptr removes it.
void LSettingsWatchCommits(std::function<void(bool saved)> watcher);
// True while the latest commit failed.
bool LSettingsCommitFailing();
