#include "store/SoundFileCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "soundfile/WaveFile.h"
#include "store/AtomicFile.h"
#include "store/DataFolders.h"

long long LSoundFileLengthMs(const char* path) {
  LSoundSource source = LWaveFile::OpenSource(path);
  if (source->GetError() != 0) return -1;
  const int rate = source->GetSampleRate();
  if (rate <= 0) return -1;
  // 64 bits: a long file at a low rate overflows int before the division.
  return static_cast<long long>(source->GetEndSample()) * 1000 / rate;
}

bool LTestValidSoundFile(const char* path) {
  const long long ms = LSoundFileLengthMs(path);
  return ms >= 0 && ms <= kMaxSoundFileMs;
}

std::string LSoundFileBaseName(const std::string& path) {
  const size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

namespace {

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Streams the regular file at path into the new file.
bool CopyContents(const std::string& path, LAtomicFile& to) {
  // O_NONBLOCK then fstat: a FIFO or device in place of a sound is refused
  // instead of blocking the window.
  const int from = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (from < 0) return false;
  struct stat st {};
  bool ok = ::fstat(from, &st) == 0 && S_ISREG(st.st_mode);
  char buffer[65536];
  while (ok) {
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got == 0) break;
    ok = got > 0 && to.Write(std::string_view(buffer, static_cast<size_t>(got))) == 0;
  }
  ::close(from);
  return ok;
}

}  // namespace

bool LCopyUserSoundFile(const std::string& sharedFolder, const std::string& path, std::string& name) {
  name = LSoundFileBaseName(path);
  const std::string target = UserSoundFilePath(sharedFolder, name);
  if (target.empty()) return false;
  ::mkdir((sharedFolder + "/" + kUserSoundFolder).c_str(), 0777);
  // Copying a file onto itself would empty it.
  if (SameFile(path, target)) return true;
  LAtomicFile copy;
  return copy.Create(LFolderOf(target)) == 0 && CopyContents(path, copy) && copy.Commit(target, true) == 0;
}
