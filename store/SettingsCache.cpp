#include "store/SettingsCache.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QStringDecoder>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace settings_cache {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Quiet time after the last change before writing, and the longest a change
// waits while others keep coming (a slider held and moved).
constexpr auto kQuiet = 200ms;
constexpr auto kLongest = 1000ms;
constexpr qint64 kMaxFileBytes = 1 << 20;

// What identifies one version of the file on disk.
struct FileId {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  int64_t mtimeNs = 0;
  bool operator==(const FileId&) const = default;
};

FileId IdOf(const QString& path) {
  struct stat st;
  FileId id;
  if (::stat(path.toLocal8Bit().constData(), &st) != 0) return id;
  id.exists = true;
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  id.size = st.st_size;
  id.mtimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return id;
}

using Values = QHash<QString, QString>;

struct Change {
  std::optional<QString> value;
  uint64_t generation;
};

// Reads every key of a readable file; an unreadable or missing one holds none.
Values Parse(const QString& path) {
  Values values;
  if (IsUnreadable(path) || !QFileInfo(path).isFile()) return values;
  QSettings file(path, QSettings::IniFormat);
  if (file.status() != QSettings::NoError) return values;
  for (const QString& key : file.allKeys()) values.insert(key, file.value(key).toString());
  return values;
}

// QSettings' own spelling of a key: no empty path parts.
QString Normalized(const QString& key) {
  QString out;
  out.reserve(key.size());
  for (QChar c : key)
    if (c != u'/' || (!out.isEmpty() && !out.endsWith(u'/'))) out += c;
  if (out.endsWith(u'/')) out.chop(1);
  return out;
}

// The program's folder is made when missing, and so is the config folder
// above it (a fresh account may have none yet; it is the user's private
// folder, hence 0700) -- but never the home above that: a home that is gone
// (a removed test home, an unmounted disk) is not brought back as an empty one.
bool PrepareFolder(const QString& path) {
  const QFileInfo folder(QFileInfo(path).absolutePath());
  if (folder.isDir()) return true;
  const QFileInfo configHome(folder.absolutePath());
  if (!configHome.isDir()) {
    if (!QFileInfo(configHome.absolutePath()).isDir()) return false;
    if (::mkdir(configHome.absoluteFilePath().toLocal8Bit().constData(), 0700) != 0 && errno != EEXIST) return false;
  }
  return ::mkdir(folder.absoluteFilePath().toLocal8Bit().constData(), 0777) == 0 || errno == EEXIST;
}

void SyncFolder(const QString& path) {
  const int fd = ::open(QFileInfo(path).absolutePath().toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Merges the changes into the file as it is now, under QSettings' lock file,
// through a temporary file that is synced and renamed over it. On success,
// values receives the file's whole content as written.
bool WriteChanges(const QString& path, const QHash<QString, Change>& changes, Values& values) {
  if (!PrepareFolder(path)) return false;
  if (IsUnreadable(path)) KeepAside(path);
  QSettings file(path, QSettings::IniFormat);
  for (auto it = changes.begin(); it != changes.end(); ++it) {
    if (it->value)
      file.setValue(it.key(), *it->value);
    else
      file.remove(it.key());
  }
  file.sync();
  if (file.status() != QSettings::NoError) return false;
  SyncFolder(path);
  values.clear();
  for (const QString& key : file.allKeys()) values.insert(key, file.value(key).toString());
  return true;
}

class Cache {
 public:
  Cache() {
    // Qt's settings machinery is built before this object, so it is torn
    // down after this object's last write at exit.
    QSettings warm(QStringLiteral("/dev/null"), QSettings::IniFormat);
    m_worker = std::thread([this] { Run(); });
  }
  ~Cache() {
    {
      std::lock_guard lock(m_mutex);
      m_stop = true;
    }
    m_wake.notify_all();
    m_worker.join();
  }

  std::optional<QString> Get(const QString& path, const QString& key) {
    std::unique_lock lock(m_mutex);
    UsePath(lock, path);
    const QString k = Normalized(key);
    if (auto it = m_pending.find(k); it != m_pending.end()) return it->value;
    // While the writer works, a changed file (its own rename, or another
    // instance's write) is not parsed here: that would repeat the writer's
    // work on the caller's thread and wait on QSettings' per-file lock,
    // which the writer holds through its fsync. The file as written, other
    // instances' keys merged in, arrives when the write ends; only a first
    // read waits for it.
    if (!m_loaded) m_done.wait(lock, [&] { return !m_writing; });
    if (!m_writing) Reload(path);
    if (auto it = m_disk.find(k); it != m_disk.end()) return *it;
    return std::nullopt;
  }

  void Set(const QString& path, const QString& key, std::optional<QString> value) {
    {
      std::unique_lock lock(m_mutex);
      UsePath(lock, path);
      const auto now = Clock::now();
      if (m_pending.isEmpty()) m_firstChange = now;
      m_lastChange = now;
      m_pending.insert(Normalized(key), Change{std::move(value), ++m_generation});
    }
    m_wake.notify_all();
  }

  bool Flush() {
    std::unique_lock lock(m_mutex);
    if (m_pending.isEmpty() && !m_writing) return true;
    // A write under way may have missed the latest changes: wait for the next.
    const uint64_t after = m_attempts + (m_writing ? 1 : 0);
    ++m_flushAsked;
    m_wake.notify_all();
    m_done.wait(lock, [&] { return !m_writing && (m_pending.isEmpty() || m_attempts > after); });
    return m_pending.isEmpty();
  }

  bool Failing() {
    std::lock_guard lock(m_mutex);
    return m_failing;
  }

  uint64_t Writes() {
    std::lock_guard lock(m_mutex);
    return m_writes;
  }

  void Watch(std::function<void(bool)> watcher) {
    std::lock_guard lock(m_watchMutex);
    m_watcher = std::move(watcher);
  }

 private:
  // A new file (the tests' homes change between cases): what is pending for
  // the old one is written first, and its write state is forgotten.
  void UsePath(std::unique_lock<std::mutex>& lock, const QString& path) {
    if (path == m_path) return;
    m_done.wait(lock, [&] { return !m_writing; });
    if (!m_pending.isEmpty()) {
      Values ignored;
      WriteChanges(m_path, m_pending, ignored);
      m_pending.clear();
    }
    m_path = path;
    m_loaded = false;
    m_failing = false;
  }

  // Another instance (or a hand edit) changed the file since it was last
  // seen: it is read again, on the caller's thread, as no write is under way.
  void Reload(const QString& path) {
    const FileId now = IdOf(path);
    if (m_loaded && now == m_diskId) return;
    m_disk = Parse(path);
    m_diskId = now;
    m_loaded = true;
  }

  Clock::time_point DueAt() const { return std::min(m_lastChange + kQuiet, m_firstChange + kLongest); }

  void Run() {
    pthread_setname_np(pthread_self(), "settings");
    std::unique_lock lock(m_mutex);
    for (;;) {
      // After a failed write, only a new change or a flush tries again.
      if (m_retryWait && (m_flushAsked != m_flushSeen || m_generation != m_failedGeneration)) m_retryWait = false;
      if (m_pending.isEmpty() || m_retryWait) {
        if (m_stop) return;
        m_wake.wait(lock);
      } else if (m_stop || m_flushAsked != m_flushSeen || Clock::now() >= DueAt()) {
        WriteOnce(lock);
      } else {
        m_wake.wait_until(lock, DueAt());
      }
    }
  }

  void WriteOnce(std::unique_lock<std::mutex>& lock) {
    const QString path = m_path;
    const QHash<QString, Change> changes = m_pending;
    m_flushSeen = m_flushAsked;
    m_writing = true;
    lock.unlock();
    Values written;
    const bool saved = WriteChanges(path, changes, written);
    const FileId id = IdOf(path);
    lock.lock();
    if (saved) {
      // Changes made while the file was written stay pending.
      for (auto it = changes.begin(); it != changes.end(); ++it)
        if (auto p = m_pending.find(it.key()); p != m_pending.end() && p->generation == it->generation)
          m_pending.erase(p);
      m_disk = std::move(written);
      m_diskId = id;
      m_loaded = true;
      ++m_writes;
      if (!m_pending.isEmpty()) m_firstChange = Clock::now();
    } else {
      // Tried again at the next change or flush, not in a loop.
      m_retryWait = true;
      m_failedGeneration = m_generation;
    }
    const bool changed = m_failing == saved;
    m_failing = !saved;
    if (changed) {
      lock.unlock();
      {
        // A user who cannot save hears it once, not at every change.
        std::lock_guard watch(m_watchMutex);
        if (m_watcher) m_watcher(saved);
      }
      lock.lock();
    }
    // Only now is the write over, so a flush returns after the watcher
    // has heard of it.
    m_writing = false;
    ++m_attempts;
    m_done.notify_all();
  }

  std::mutex m_mutex;
  std::condition_variable m_wake, m_done;
  QString m_path;
  Values m_disk;
  FileId m_diskId;
  bool m_loaded = false;
  QHash<QString, Change> m_pending;
  uint64_t m_generation = 0, m_failedGeneration = 0, m_attempts = 0, m_flushAsked = 0, m_flushSeen = 0, m_writes = 0;
  Clock::time_point m_firstChange, m_lastChange;
  bool m_writing = false, m_failing = false, m_retryWait = false, m_stop = false;
  std::mutex m_watchMutex;
  std::function<void(bool)> m_watcher;
  std::thread m_worker;
};

Cache& Instance() {
  static Cache cache;
  return cache;
}

bool LooksLikeIni(const QByteArray& bytes) {
  if (bytes.contains('\0')) return false;
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(bytes);
  if (utf8.hasError()) return false;
  for (QStringView line : QStringView(text).split(u'\n')) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#') || line.contains(u'=')) continue;
    if (line.startsWith(u'[') && line.endsWith(u']')) continue;
    return false;
  }
  return true;
}

}  // namespace

std::optional<QString> Get(const QString& path, const QString& fullKey) { return Instance().Get(path, fullKey); }

void Set(const QString& path, const QString& fullKey, std::optional<QString> value) {
  Instance().Set(path, fullKey, std::move(value));
}

bool Flush() { return Instance().Flush(); }
bool Failing() { return Instance().Failing(); }
uint64_t Writes() { return Instance().Writes(); }
void Watch(std::function<void(bool)> watcher) { Instance().Watch(std::move(watcher)); }

bool IsUnreadable(const QString& path) {
  // Non-blocking, so a FIFO in its place cannot hang the program.
  const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  bool unreadable = true;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    unreadable = false;  // nothing to keep; writing it fails and says so
  } else if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxFileBytes) {
    QByteArray bytes(static_cast<qsizetype>(st.st_size), Qt::Uninitialized);
    qsizetype got = 0;
    for (ssize_t n; got < bytes.size() && (n = ::read(fd, bytes.data() + got, bytes.size() - got)) > 0;) got += n;
    bytes.truncate(got);
    unreadable = !LooksLikeIni(bytes);
  }
  ::close(fd);
  if (unreadable) return true;
  // What the checks above let through but Qt still refuses.
  return QFileInfo(path).isFile() && QSettings(path, QSettings::IniFormat).status() == QSettings::FormatError;
}

QString KeepAside(const QString& path) {
  if (!IsUnreadable(path)) return {};
  QString target = path + QStringLiteral(".unreadable");
  for (int n = 1; QFileInfo::exists(target) && n < 1000; ++n) target = path + QStringLiteral(".unreadable.%1").arg(n);
  if (QFileInfo::exists(target)) return {};
  // A rename: kept whole whatever its size, and nothing is copied.
  if (::rename(path.toLocal8Bit().constData(), target.toLocal8Bit().constData()) != 0) return {};
  return target;
}

}  // namespace settings_cache
