#include "soundfile/UniqueFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>

namespace {

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

int LCreateUniqueFile(const std::string& folder, std::string& path) {
  const std::string base = folder.empty() ? std::string(".") : folder;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temp = base + "/.morvane-" + RandomPart() + ".tmp";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      path = std::move(temp);
      return fd;
    }
    if (errno != EEXIST) return -errno;
  }
  return -EEXIST;
}

std::string LFolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}
