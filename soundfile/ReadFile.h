// Read-only file handle owned by exactly one reader at a time.
#pragma once

#include <cstdint>

class LReadFile {
 public:
  LReadFile() = default;
  ~LReadFile();
  LReadFile(const LReadFile&) = delete;
  LReadFile& operator=(const LReadFile&) = delete;

  // Opens read-only, never blocking; false when the path cannot be opened
  // or is not a regular file (NotRegular() tells which).
  bool Open(const char* path);
  bool NotRegular() const { return m_notRegular; }
  bool IsOpen() const { return m_fd >= 0; }
  void Close();
  // Takes the other's open file away from it, leaving it empty.
  void TakeFrom(LReadFile& other);

  // Reads up to bytes, retrying short reads; returns the bytes read
  // (0 at the end of the file or on error, never negative).
  int Read(void* buffer, int bytes);
  // Absolute and relative positioning in bytes; false on error.
  bool Seek(int64_t offset);
  bool Skip(int64_t bytes);
  // Current offset and file size in bytes; -1 on error.
  int64_t Tell() const;
  int64_t Size() const;

 private:
  int m_fd = -1;
  bool m_notRegular = false;
};
