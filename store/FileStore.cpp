#include "store/FileStore.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "store/AtomicFile.h"
#include "store/FileStoreIterator.h"
#include "store/RecordCodec.h"

namespace {

// Far beyond any record this store writes; a bigger file is not read into
// memory, and not overwritten either.
constexpr int64_t kMaxRecordFileBytes = int64_t{64} << 20;

std::function<void(const std::string&, const std::string&)> g_keptWatcher;

// A file descriptor closed with its owner.
class Fd {
 public:
  explicit Fd(int fd = -1) : m_fd(fd) {}
  ~Fd() { Reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return m_fd; }
  void Reset(int fd = -1) {
    if (m_fd >= 0) close(m_fd);
    m_fd = fd;
  }

 private:
  int m_fd;
};

// Opens without following into FIFOs or devices that would block or never
// end: a record file is a regular file or nothing.
int OpenRegular(const std::string& path, int flags, mode_t mode = 0) {
  const int fd = open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, mode);
  if (fd < 0) return -1;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    errno = S_ISDIR(st.st_mode) ? EISDIR : ENXIO;
    return -1;
  }
  return fd;
}

// The whole file from its start; false when it cannot be read or is too big.
bool ReadAll(int fd, std::string& text) {
  text.clear();
  struct stat st {};
  if (fstat(fd, &st) != 0) return false;
  if (st.st_size > kMaxRecordFileBytes) return errno = EFBIG, false;
  char buf[8192];
  for (off_t at = 0;;) {
    const ssize_t n = pread(fd, buf, sizeof buf, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    text.append(buf, static_cast<size_t>(n));
    at += n;
    if (static_cast<int64_t>(text.size()) > kMaxRecordFileBytes) {
      text.clear();
      errno = EFBIG;
      return false;
    }
  }
}

bool SameFile(int fd, const std::string& path) {
  struct stat a {
  }, b{};
  return fstat(fd, &a) == 0 && stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Takes the file's fields that this record did not change itself. A name
// that occurs more than once (a hand-edited file) pairs its n-th occurrence
// in the file with its n-th in the record, so a later duplicate can never
// overwrite the value the record set on the first.
void MergeFileIntoRecord(std::vector<RecordItem>& items, LRecord& record) {
  auto& fields = record.MutableFields();
  std::map<std::string, int> seen;
  for (RecordItem& item : items) {
    int skip = seen[item.name]++;
    LRecordField* found = nullptr;
    for (auto& f : fields) {
      if (f.name == item.name && skip-- == 0) {
        found = &f;
        break;
      }
    }
    if (!found)
      fields.push_back(LRecordField{std::move(item.name), std::move(item.value), false});
    else if (!found->changed)
      found->value = std::move(item.value);
  }
}

std::string BuildText(const LRecord& record) {
  std::string text;
  for (const auto& f : record.Fields()) RecordAppendItem(text, f.name, f.value);
  return text;
}

// True when the text is exactly what this store would write for what it
// holds; anything else (damaged, or edited by hand) would not survive being
// rewritten from what could be read of it.
bool InStoreForm(std::string_view text, const std::vector<RecordItem>& items) {
  std::string rebuilt;
  for (const RecordItem& item : items) RecordAppendItem(rebuilt, item.name, item.value);
  return rebuilt == text;
}

// Copies the file's old bytes beside it, as "<file>.kept" (numbered when
// taken), which no listing reads; the copy's path, or empty when it failed.
std::string KeepCopy(const std::string& path, const std::string& text) {
  for (int n = 0; n < 1000; ++n) {
    std::string target = path + ".kept" + (n ? "." + std::to_string(n) : std::string());
    const int err = LAtomicWriteFile(target, text, false);
    if (err == 0) return target;
    if (err != EEXIST) return errno = err, std::string();
  }
  return {};
}

}  // namespace

void LRecordWatchKeptFiles(std::function<void(const std::string& file, const std::string& keptAs)> watcher) {
  g_keptWatcher = std::move(watcher);
}

std::string LFileStoreDataStore::MakeDataFilePath(std::string_view listFolder, std::string_view key) {
  std::string path(listFolder);
  if (path.empty() || (path.back() != '/' && path.back() != '\\')) path += '/';
  std::string name = RecordEncode(key);
  // Listings skip hidden files and "__MACOSX" leftovers; escaping the first
  // byte keeps a record under such a key listed (it decodes back the same).
  if (!name.empty() && (name[0] == '.' || name.compare(0, 8, "__MACOSX") == 0)) {
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(name[0]));
    name.replace(0, 1, escaped);
  }
  path += name;
  path += ".dat";
  return path;
}

LFileStoreListBase::LFileStoreListBase(const LFileStoreDataStore& store, std::string_view listName) {
  m_folder = store.Folder();
  if (m_folder.empty() || m_folder.back() != '/') m_folder += '/';
  m_folder += listName;
  mkdir(m_folder.c_str(), 0777);
}

std::string LFileStoreListBase::PathOf(std::string_view key) const {
  // Keys are held cut to their limit, so a long key must name the same file
  // when opened as when the record holding it is saved.
  return LFileStoreDataStore::MakeDataFilePath(m_folder, LRecordCutText(key));
}

void LFileStoreListBase::AttachStore(LRecord& record) const {
  record.Attach(std::make_unique<LDataStoreRecordStore<LFileStoreListBase>>(*this));
}

bool LFileStoreListBase::Load(std::string_view key, LRecord& record) const {
  Fd fd(OpenRegular(PathOf(key), O_RDONLY));
  if (fd.Get() < 0) return false;
  flocktimed(fd.Get(), LOCK_SH, m_lockBudgetMs);
  std::string text;
  if (!ReadAll(fd.Get(), text)) return false;
  fd.Reset();
  auto& fields = record.MutableFields();
  fields.clear();
  for (RecordItem& item : RecordParse(text))
    fields.push_back(LRecordField{std::move(item.name), std::move(item.value), false});
  return true;
}

bool LFileStoreListBase::Open(LRecord& record, std::string_view key) const {
  record.Invalidate();
  if (!Load(key, record)) return false;
  AttachStore(record);
  record.SetKey(key);
  record.SetStoredKey(key);
  return true;
}

void LFileStoreListBase::OpenAlways(LRecord& record, std::string_view key) const {
  record.Invalidate();
  const bool loaded = Load(key, record);
  AttachStore(record);
  record.SetKey(key);
  if (loaded) record.SetStoredKey(key);
}

void LFileStoreListBase::CreateNewRecord(LRecord& record) const {
  record.Invalidate();
  AttachStore(record);
}

bool LFileStoreListBase::Delete(std::string_view key) const { return unlink(PathOf(key).c_str()) == 0; }

bool LFileStoreListBase::TryRename(LRecord& record) const {
  // An empty key would rename to ".dat", a hidden file no listing shows.
  if (record.StoredKey().empty() || record.Key().empty() || record.Key() == record.StoredKey()) return true;
  if (LRenameNoReplace(PathOf(record.StoredKey()), PathOf(record.Key())) != 0) return false;
  record.SetStoredKey(record.Key());
  return true;
}

// Writes the record under the lowest free number. The text is complete and
// synced before a number is taken, so the file appears whole or not at all.
int LFileStoreListBase::SaveNumbered(LRecord& record) const {
  LAtomicFile file;
  int err = file.Create(m_folder);
  if (!err) err = file.Write(BuildText(record));
  for (unsigned long long n = 1; !err; ++n) {
    const std::string key = std::to_string(n);
    err = file.Commit(PathOf(key), false);
    if (err == EEXIST) {
      err = 0;
      continue;
    }
    if (err) break;
    record.SetKey(key);
    record.SetStoredKey(key);
    return 0;
  }
  return err;
}

// Opens and locks the existing record file (following a symbolic link to
// read what it holds), reopening when it was replaced or removed while this
// process waited for the lock, so the merge reads the latest file. Opened
// for writing, so that a record the user made read-only stays as it is.
int LFileStoreListBase::OpenForMerge(const std::string& path) const {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int fd = OpenRegular(path, O_RDWR);
    if (fd < 0) return -1;
    flocktimed(fd, LOCK_EX, m_lockBudgetMs);
    if (SameFile(fd, path)) return fd;
    close(fd);
  }
  return OpenRegular(path, O_RDWR);
}

// Takes in the fields of the locked file that the record did not change.
// What cannot be read whole is not overwritten with a part of it, and a file
// not in this store's form is kept as it was before rewriting.
int LFileStoreListBase::MergeFromFile(int fd, const std::string& path, LRecord& record) const {
  std::string text;
  if (!ReadAll(fd, text)) return errno ? errno : EFBIG;
  std::vector<RecordItem> items = RecordParse(text);
  if (!InStoreForm(text, items)) {
    const std::string kept = KeepCopy(path, text);
    if (kept.empty()) return errno ? errno : EIO;
    if (g_keptWatcher) g_keptWatcher(path, kept);
  }
  MergeFileIntoRecord(items, record);
  return 0;
}

// Saves under the record's key: merged into the existing file and put in
// its place while its lock is held, or written as a new file when there is
// none (and merged after all when another process created one meanwhile).
int LFileStoreListBase::SaveKeyed(LRecord& record) const {
  const std::string key = record.StoredKey().empty() ? record.Key() : record.StoredKey();
  const std::string path = PathOf(key);
  int err = EAGAIN;
  for (int attempt = 0; attempt < 3 && err == EAGAIN; ++attempt) {
    errno = 0;
    Fd fd(OpenForMerge(path));
    if (fd.Get() < 0 && errno != ENOENT) return errno ? errno : EIO;
    if (fd.Get() < 0) {
      struct stat link {};
      // A dangling symbolic link is replaced by the record, not followed.
      const bool dangling = lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
      err = LAtomicWriteFile(path, BuildText(record), dangling);
      if (err == EEXIST) err = EAGAIN;
      continue;
    }
    if ((err = MergeFromFile(fd.Get(), path, record)) != 0) return err;
    struct stat st {};
    const int mode = fstat(fd.Get(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : -1;
    err = LAtomicWriteFile(path, BuildText(record), true, mode);
  }
  if (!err && record.StoredKey().empty()) record.SetStoredKey(key);
  return err;
}

bool LFileStoreListBase::Save(LRecord& record) const {
  TryRename(record);
  const bool numbered = record.StoredKey().empty() && record.Key().empty();
  const int err = numbered ? SaveNumbered(record) : SaveKeyed(record);
  record.SetSaveError(err);
  // A failed save leaves the changes marked as this record's own and reports
  // the failure, rather than claiming a save.
  if (err) return false;
  for (auto& f : record.MutableFields()) f.changed = false;
  return true;
}

std::unique_ptr<LFileStoreIteratorBase> LFileStoreListBase::CreateIteratorBase(LRecord& record) const {
  return std::make_unique<LFileStoreIteratorBase>(*this, record);
}
