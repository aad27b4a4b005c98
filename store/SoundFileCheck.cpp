#include "store/SoundFileCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

}  // namespace

int LCopyUserSoundFile(const std::string& sharedFolder, const std::string& path, std::string& name) {
  name = LSoundFileBaseName(path);
  const std::string target = UserSoundFilePath(sharedFolder, name);
  if (target.empty()) return EINVAL;
  ::mkdir((sharedFolder + "/" + kUserSoundFolder).c_str(), 0777);
  // Copying a file onto itself would empty it.
  if (SameFile(path, target)) return 0;
  return LAtomicCopyFile(path, target);
}
