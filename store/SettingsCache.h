// The settings file held in memory: reads and changes touch only memory, and
// one writer thread puts the changes on disk shortly after the last of them,
// merged into whatever the file holds then (another instance's keys stay).
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace settings_cache {

// The stored text of a full key ("Section/Key") in the file at path, the
// pending change first; nullopt when absent. The file is parsed again only
// when it changed on disk since it was last seen.
std::optional<QString> Get(const QString& path, const QString& fullKey);
// Takes effect in memory at once; written about 200 ms after the last change
// (at most a second after the first unwritten one). nullopt removes the key.
void Set(const QString& path, const QString& fullKey, std::optional<QString> value);
// Writes every pending change now and waits for it; true when nothing is
// left unwritten.
bool Flush();
// Whether the latest write failed, and who hears when that changes (called
// on the writer thread; nullptr removes it).
bool Failing();
void Watch(std::function<void(bool saved)> watcher);
// How many times the writer has put the file in place, for checking that
// changes coalesce.
uint64_t Writes();

// A file that cannot be read as settings: not a regular file, over 1 MiB,
// NUL bytes, not UTF-8, lines that are neither sections, comments nor
// key=value. False for a missing file and for a readable one.
bool IsUnreadable(const QString& path);
// Moves such a file aside ("<path>.unreadable", numbered when taken) and
// gives the new name; empty when nothing was moved.
QString KeepAside(const QString& path);

}  // namespace settings_cache
