#include "store/DataFolders.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "store/AtomicFile.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kAppFolder = "Morvane";
// The installed program data: lower-case as Linux packages name their share
// folders; installations before 0.1 used the program's display name.
constexpr const char* kProgramDataFolders[2] = {"morvane", "Morvane"};
constexpr const char* kSharedFolder = "Shared";
constexpr const char* kMigratedMarker = ".SharedFolderMigrated";

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

bool IsDir(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

std::string MakeFolder(const fs::path& p) {
  std::error_code ec;
  fs::create_directories(p, ec);
  return p.string();
}

std::string ExecutableDir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

// Copies into a sibling first and renames it into place, so that a copy cut
// short never leaves a half-filled folder or file under the final name.
template <class CopyFn>
bool CopyIntoPlace(const fs::path& to, CopyFn copy) {
  const fs::path tmp = to.string() + ".partial-" + std::to_string(getpid());
  std::error_code ec;
  fs::remove_all(tmp, ec);
  if (copy(tmp, ec) && !ec) {
    fs::rename(tmp, to, ec);
    if (!ec) return true;
  }
  fs::remove_all(tmp, ec);
  return false;
}

// The process's file-creation mask, read without changing it (Linux 4.7 and
// later show it in /proc); older kernels get a set-and-restore.
mode_t CurrentUmask() {
  if (FILE* f = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, f)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(f);
    if (found) return static_cast<mode_t>(mask);
  }
  const mode_t mask = umask(022);
  umask(mask);
  return mask;
}

// A copied tree takes the permissions of its source; the user's copy gets
// them less the umask, as the files the program creates do.
void ApplyUmask(const fs::path& root) {
  const auto keep = ~static_cast<fs::perms>(CurrentUmask()) & fs::perms::mask;
  std::error_code ec;
  fs::permissions(root, fs::status(root, ec).permissions() & keep, ec);
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    if (!it->is_symlink(ec)) fs::permissions(it->path(), it->status(ec).permissions() & keep, ec);
}

// Whether inner is the folder outer or lies below it.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
  std::error_code ec;
  const fs::path rel = fs::weakly_canonical(inner, ec).lexically_relative(fs::weakly_canonical(outer, ec));
  return !ec && !rel.empty() && *rel.begin() != "..";
}

}  // namespace

std::string LUserHomeFolder() {
  // A relative HOME would put the user's files below the working folder.
  std::string home = Env("HOME");
  if (!home.empty() && home.front() == '/') return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') return pw->pw_dir;
  return "";
}

std::string UserSoundFilePath(const std::string& sharedFolder, const std::string& fileName) {
  if (fileName.empty() || fileName == "." || fileName == ".." || fileName.find('/') != std::string::npos ||
      fileName.find('\0') != std::string::npos)
    return "";
  return (fs::path(sharedFolder) / kUserSoundFolder / fileName).string();
}

std::string DefaultSoundFilePath(const std::string& sharedFolder, const char* fileName) {
  return (fs::path(sharedFolder) / kDefaultSoundFolder / fileName).string();
}

std::string GetUserAppSupportFolder() {
  std::string xdg = Env("XDG_DATA_HOME");
  if (!xdg.empty() && xdg.front() == '/') return xdg;
  return (fs::path(LUserHomeFolder()) / ".local/share").string();
}

std::string GetUserDataFolderApp() { return MakeFolder(fs::path(GetUserAppSupportFolder()) / kAppFolder); }

std::string GetSharedDataFolderApp() { return MakeFolder(fs::path(GetUserDataFolderApp()) / kSharedFolder); }

std::string PickProgramDataFolder(const LProgramDataCandidates& c) {
  if (!c.overrideDir.empty()) return c.overrideDir;
  if (!c.exeDir.empty()) {
    for (const char* name : kProgramDataFolders) {
      const fs::path installed = (fs::path(c.exeDir) / ".." / "share" / name).lexically_normal();
      if (IsDir(installed)) return installed.string();
    }
  }
  for (const auto& dir : c.builtInDirs)
    if (!dir.empty() && IsDir(dir)) return dir;
  const std::string dirs = c.xdgDataDirs.empty() ? "/usr/local/share:/usr/share" : c.xdgDataDirs;
  for (size_t at = 0; at <= dirs.size();) {
    size_t end = dirs.find(':', at);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = dirs.substr(at, end - at);
    // Relative entries are invalid in XDG_DATA_DIRS and would depend on the
    // working folder.
    if (!dir.empty() && dir.front() == '/')
      for (const char* name : kProgramDataFolders)
        if (IsDir(fs::path(dir) / name)) return (fs::path(dir) / name).string();
    at = end + 1;
  }
  return "";
}

std::string GetProgramDataFolder() {
  LProgramDataCandidates c;
  c.overrideDir = Env("MORVANE_DATA_DIR");
  c.exeDir = ExecutableDir();
  c.builtInDirs = {MORVANE_SOURCE_DATA_DIR, MORVANE_INSTALL_DATA_DIR};
  c.xdgDataDirs = Env("XDG_DATA_DIRS");
  return PickProgramDataFolder(c);
}

bool LFileMigrateSharedSettings() {
  const fs::path shared = fs::path(GetUserDataFolderApp()) / kSharedFolder;
  const fs::path marker = shared / kMigratedMarker;
  if (Exists(marker)) return false;
  bool copied = false;
  const std::string old = GetProgramDataFolder();
  // A program data folder that holds the user's own folder would be copied
  // into itself without end.
  if (!old.empty() && IsDir(old) && !Exists(shared) && !IsWithin(shared, old)) {
    copied = CopyIntoPlace(shared, [&](const fs::path& tmp, std::error_code& ec) {
      fs::copy(old, tmp, fs::copy_options::recursive, ec);
      if (!ec) ApplyUmask(tmp);
      return !ec;
    });
  }
  // Without the folder the marker is not written, so the check runs again at
  // the next start.
  if (IsDir(shared)) {
    const int fd = open(marker.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0) close(fd);
  }
  return copied;
}

namespace {

constexpr std::uintmax_t kLargestDigestedFile = 64u << 20;

// FNV-1a (64 bits) of a file's bytes, to tell copies apart (not a security
// measure); 0 when it cannot be read or is too large to be a click sound.
std::uint64_t FileDigest(const fs::path& p) {
  std::error_code ec;
  if (!fs::is_regular_file(p, ec) || fs::file_size(p, ec) > kLargestDigestedFile || ec) return 0;
  FILE* f = std::fopen(p.c_str(), "rbe");
  if (!f) return 0;
  std::uint64_t h = 14695981039346656037ull;
  unsigned char buf[16384];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
    for (size_t i = 0; i < n; ++i) h = (h ^ buf[i]) * 1099511628211ull;
  const bool failed = std::ferror(f);
  std::fclose(f);
  return failed ? 0 : h;
}

using Digests = std::map<std::string, std::uint64_t>;

// Lines "<file name> <16 hex digits>"; anything else is ignored, so a damaged
// list only makes the program treat those copies as the user's.
Digests ReadDigests(const fs::path& p) {
  Digests d;
  FILE* f = std::fopen(p.c_str(), "re");
  if (!f) return d;
  char name[64];
  unsigned long long value = 0;
  while (std::fscanf(f, "%63s %16llx", name, &value) == 2) d[name] = value;
  std::fclose(f);
  return d;
}

bool WriteDigests(const fs::path& p, const Digests& d) {
  std::string text;
  char line[96];
  for (const auto& [name, value] : d) {
    std::snprintf(line, sizeof line, "%.63s %016llx\n", name.c_str(), (unsigned long long)value);
    text += line;
  }
  return LAtomicWriteFile(p.string(), text, true) == 0;
}

// A new file, so the umask decides its permissions (a copy made by
// fs::copy_file would take the shipped file's 0644 under any umask).
bool CopyFileIntoPlace(const fs::path& from, const fs::path& to) { return LAtomicCopyFile(from, to) == 0; }

// Brings one default sound up to date; what is wrong when it is missing
// afterwards.
LInstallProblem RefreshDefaultSound(const fs::path& from, const fs::path& to, Digests& digests,
                                    const std::string& name) {
  const std::uint64_t shipped = FileDigest(from);
  if (!Exists(to)) {
    if (shipped == 0) return {LInstallProblem::kShippedSound, from.string(), ENOENT};
    if (const int err = LAtomicCopyFile(from, to)) return {LInstallProblem::kCopy, to.string(), err};
    digests[name] = shipped;
    return {};
  }
  if (shipped == 0) return {};
  const std::uint64_t current = FileDigest(to);
  const auto made = digests.find(name);
  if (current == shipped) {
    // Also adopts copies made before the digests were kept.
    digests[name] = shipped;
  } else if (made != digests.end() && made->second == current && CopyFileIntoPlace(from, to)) {
    made->second = shipped;
  }
  return {};
}

}  // namespace

namespace {

// Creates each missing folder of p in turn; the first that is a file or
// cannot be made is the problem.
LInstallProblem MakeFolders(const fs::path& p) {
  fs::path at;
  for (const fs::path& part : p) {
    at /= part;
    struct stat st {};
    if (stat(at.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) return {LInstallProblem::kFolder, at.string(), ENOTDIR};
    } else if (mkdir(at.c_str(), 0777) != 0 && errno != EEXIST) {
      return {LInstallProblem::kFolder, at.string(), errno};
    }
  }
  return {};
}

}  // namespace

bool LFileInstallSharedData(LInstallProblem* problem) {
  LInstallProblem first;
  auto note = [&first](const LInstallProblem& p) {
    if (first.kind == LInstallProblem::kNone) first = p;
  };
  const fs::path shared = fs::path(GetUserAppSupportFolder()) / kAppFolder / kSharedFolder;
  const fs::path sounds = shared / kDefaultSoundFolder;
  note(MakeFolders(sounds));
  note(MakeFolders(shared / kUserSoundFolder));
  const std::string program = GetProgramDataFolder();
  const fs::path digestsFile = sounds / kShippedDigestsFile;
  const Digests before = ReadDigests(digestsFile);
  Digests digests = before;
  for (const char* name : kDefaultSoundFiles) {
    if (first.kind == LInstallProblem::kFolder) break;
    const fs::path from = program.empty() ? fs::path() : fs::path(program) / kDefaultSoundFolder / name;
    note(RefreshDefaultSound(from, sounds / name, digests, name));
  }
  if (digests != before) WriteDigests(digestsFile, digests);
  if (problem) *problem = first;
  return first.kind == LInstallProblem::kNone;
}
