#include "store/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "soundfile/UniqueFile.h"

namespace {

int ErrorOr(int fallback) { return errno ? errno : fallback; }

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

int LAtomicFile::Create(const std::string& folder) {
  Abandon();
  m_folder = folder.empty() ? "." : folder;
  const int fd = LCreateUniqueFile(m_folder, m_temp);
  if (fd < 0) return -fd;
  m_fd = fd;
  m_synced = false;
  return 0;
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

int LCopyFileContents(const std::string& path, LAtomicFile& to) {
  // O_NONBLOCK then fstat: a FIFO or device in place of a file is refused
  // instead of blocking the window.
  const int from = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (from < 0) return errno;
  struct stat st {};
  int err = fstat(from, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EINVAL;
  char buffer[65536];
  while (!err) {
    const ssize_t got = read(from, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    err = got < 0 ? errno : to.Write(std::string_view(buffer, static_cast<size_t>(got)));
  }
  close(from);
  return err;
}

int LAtomicCopyFile(const std::string& from, const std::string& to) {
  LAtomicFile file;
  int err = file.Create(LFolderOf(to));
  if (!err) err = LCopyFileContents(from, file);
  if (!err) err = file.Commit(to, true);
  return err;
}
