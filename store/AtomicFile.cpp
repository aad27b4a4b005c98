#include "store/AtomicFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

int ErrorOr(int fallback) { return errno ? errno : fallback; }

// 12 characters from [a-z0-9]: 62 bits, so a name taken by someone else is
// a matter of retrying, not of guessing.
std::string RandomPart() {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[12];
  if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
    // Early boot or a seccomp jail: the pid and a counter are still unique
    // per process, O_EXCL does the rest.
    static unsigned counter = 0;
    const unsigned long long seed = (static_cast<unsigned long long>(getpid()) << 20) ^ ++counter;
    for (size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(seed >> (i * 5));
  }
  std::string s;
  for (unsigned char b : bytes) s += kChars[b % 36];
  return s;
}

}  // namespace

int LRenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // File systems without RENAME_NOREPLACE: link fails on an existing name.
  if (link(from.c_str(), to.c_str()) != 0) return errno;
  unlink(from.c_str());
  return 0;
}

namespace {

// The new name must survive a power cut too: sync the folder entry. Folders
// that cannot be opened or synced (some network file systems) are no reason
// to report a written file as lost.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::string LFolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

int LAtomicFile::Create(const std::string& folder) {
  Abandon();
  m_folder = folder.empty() ? "." : folder;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temp = m_folder + "/.morvane-" + RandomPart() + ".tmp";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      m_fd = fd;
      m_temp = std::move(temp);
      m_synced = false;
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

int LAtomicFile::Write(std::string_view bytes) {
  if (m_fd < 0) return EBADF;
  while (!bytes.empty()) {
    errno = 0;
    const ssize_t n = write(m_fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return ErrorOr(ENOSPC);
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

int LAtomicFile::SetMode(mode_t mode) {
  if (m_fd < 0) return EBADF;
  return fchmod(m_fd, mode & 07777) == 0 ? 0 : errno;
}

int LAtomicFile::Sync() {
  if (m_synced) return 0;
  // A failed fsync may have dropped the data from the cache: the file is
  // never committed after one.
  if (fsync(m_fd) != 0) return ErrorOr(EIO);
  m_synced = true;
  return 0;
}

int LAtomicFile::Commit(const std::string& target, bool replace) {
  if (m_fd < 0) return EBADF;
  if (const int err = Sync()) return err;
  int err = 0;
  if (replace)
    err = rename(m_temp.c_str(), target.c_str()) == 0 ? 0 : errno;
  else
    err = LRenameNoReplace(m_temp, target);
  if (err) return err;
  m_temp.clear();
  close(m_fd);
  m_fd = -1;
  SyncFolder(LFolderOf(target));
  return 0;
}

void LAtomicFile::Abandon() {
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
  if (!m_temp.empty()) unlink(m_temp.c_str());
  m_temp.clear();
}

int LAtomicWriteFile(const std::string& target, std::string_view bytes, bool replace, int keepMode) {
  LAtomicFile file;
  int err = file.Create(LFolderOf(target));
  if (!err) err = file.Write(bytes);
  if (!err && keepMode >= 0) err = file.SetMode(static_cast<mode_t>(keepMode));
  if (!err) err = file.Commit(target, replace);
  return err;
}
