// A new file under a name nobody can have prepared: created in a given
// folder, hidden, named at random, with O_EXCL|O_NOFOLLOW so that a symbolic
// link or FIFO placed there beforehand is never opened or written through.
// Writers put their output there and rename it over the target when whole.
#pragma once

#include <string>

// Opens the new file for writing (permission bits 0666 less the umask) and
// answers its descriptor, with path set to its name; or -errno.
int LCreateUniqueFile(const std::string& folder, std::string& path);

// The folder part of path ("." for a bare name, "/" for a name in the root).
std::string LFolderOf(const std::string& path);
