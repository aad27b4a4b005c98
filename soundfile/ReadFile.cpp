#include "soundfile/ReadFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

LReadFile::~LReadFile() { Close(); }

bool LReadFile::Open(const char* path) {
  Close();
  if (!path) return false;
  m_notRegular = false;
  // O_NONBLOCK: opening a FIFO without a writer, or some devices, would
  // wait forever; nothing but a regular file is read, so the flag changes
  // nothing for what is kept open.
  do {
    m_fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (m_fd < 0 && errno == EINTR);
  if (m_fd < 0) {
    // A socket cannot be opened at all; say what it is all the same.
    struct stat st;
    m_notRegular = ::stat(path, &st) == 0 && !S_ISREG(st.st_mode);
    return false;
  }
  // A folder, FIFO, socket or device opens but is no sound file.
  struct stat st;
  if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    m_notRegular = true;
    Close();
    return false;
  }
  return true;
}

void LReadFile::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
}

void LReadFile::TakeFrom(LReadFile& other) {
  if (&other == this) return;
  Close();
  m_fd = other.m_fd;
  other.m_fd = -1;
}

int LReadFile::Read(void* buffer, int bytes) {
  if (m_fd < 0 || bytes <= 0) return 0;
  char* p = static_cast<char*>(buffer);
  int done = 0;
  while (done < bytes) {
    ssize_t got = ::read(m_fd, p + done, static_cast<size_t>(bytes - done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<int>(got);
  }
  return done;
}

bool LReadFile::Seek(int64_t offset) {
  return m_fd >= 0 && offset >= 0 && ::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool LReadFile::Skip(int64_t bytes) { return m_fd >= 0 && ::lseek(m_fd, static_cast<off_t>(bytes), SEEK_CUR) >= 0; }

int64_t LReadFile::Tell() const {
  if (m_fd < 0) return -1;
  return ::lseek(m_fd, 0, SEEK_CUR);
}

int64_t LReadFile::Size() const {
  struct stat st;
  if (m_fd < 0 || ::fstat(m_fd, &st) != 0) return -1;
  return st.st_size;
}
