// The readers take a path: fuzz targets hand them their input as an
// in-memory file, rewritten for every input.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The path of a file holding exactly these bytes; nullptr when it could not
// be made.
inline const char* FuzzMemoryFile(const uint8_t* data, size_t size) {
  static const int fd = memfd_create("fuzz-input", 0);
  static char path[64];
  if (fd < 0) return nullptr;
  if (!path[0]) std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return nullptr;
  return path;
}
