#include "store/DataFolders.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr const char* kAppFolder = "Morvane";
constexpr const char* kSharedFolder = "Shared";
constexpr const char* kMigratedMarker = ".SharedFolderMigrated";

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = getpwuid(getuid())) return pw->pw_dir ? pw->pw_dir : "";
  return "";
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

// Whether inner is the folder outer or lies below it.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
  std::error_code ec;
  const fs::path rel = fs::weakly_canonical(inner, ec).lexically_relative(fs::weakly_canonical(outer, ec));
  return !ec && !rel.empty() && *rel.begin() != "..";
}

}  // namespace

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
  const std::string xdg = Env("XDG_DATA_HOME");
  if (!xdg.empty() && xdg.front() == '/') return xdg;
  return (fs::path(HomeFolder()) / ".local/share").string();
}

std::string GetUserDataFolderApp() { return MakeFolder(fs::path(GetUserAppSupportFolder()) / kAppFolder); }

std::string GetSharedDataFolderApp() { return MakeFolder(fs::path(GetUserDataFolderApp()) / kSharedFolder); }

std::string PickProgramDataFolder(const LProgramDataCandidates& c) {
  if (!c.overrideDir.empty()) return c.overrideDir;
  if (!c.exeDir.empty()) {
    const fs::path installed = (fs::path(c.exeDir) / ".." / "share" / kAppFolder).lexically_normal();
    if (IsDir(installed)) return installed.string();
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
    if (!dir.empty() && dir.front() == '/' && IsDir(fs::path(dir) / kAppFolder))
      return (fs::path(dir) / kAppFolder).string();
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

bool LFileInstallSharedData() {
  const fs::path shared = GetSharedDataFolderApp();
  const fs::path sounds = MakeFolder(shared / kDefaultSoundFolder);
  MakeFolder(shared / kUserSoundFolder);
  const std::string program = GetProgramDataFolder();
  bool complete = IsDir(shared / kUserSoundFolder);
  for (const char* name : kDefaultSoundFiles) {
    const fs::path to = sounds / name;
    if (Exists(to)) continue;
    const fs::path from = fs::path(program) / kDefaultSoundFolder / name;
    const bool ok = !program.empty() && CopyIntoPlace(to, [&](const fs::path& tmp, std::error_code& ec) {
      return fs::copy_file(from, tmp, ec);
    });
    complete = complete && ok;
  }
  return complete;
}
