// The record store on disk: a data store is a folder, each list a subfolder,
// each record one "<encoded key>.dat" file. Nothing is cached: every open,
// iteration step and save goes to the file system, under flock, so several
// record objects and several processes can work on one file at once.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "store/FileLock.h"
#include "store/Record.h"

class LFileStoreDataStore {
 public:
  explicit LFileStoreDataStore(std::string folder) : m_folder(std::move(folder)) {}
  const std::string& Folder() const { return m_folder; }

  // The record file of key in listFolder. The key is encoded, so it can
  // never name a file outside the folder. Paths are not cut to a length: a
  // cut path could point somewhere else, an overlong one simply fails to open.
  static std::string MakeDataFilePath(std::string_view listFolder, std::string_view key);

 private:
  std::string m_folder;
};

class LFileStoreIteratorBase;

// A save that rewrites a record file not in this store's form (damaged, or
// edited by hand) first keeps its old bytes as "<file>.kept"; the watcher is
// told of each such copy, on the saving thread. nullptr removes it.
void LRecordWatchKeptFiles(std::function<void(const std::string& file, const std::string& keptAs)> watcher);

class LFileStoreListBase {
 public:
  // Creates the list folder (rwx for all, less the umask) when missing.
  LFileStoreListBase(const LFileStoreDataStore& store, std::string_view listName);
  const std::string& Folder() const { return m_folder; }

  // Loads key into the record and attaches it; false (record detached and
  // empty) when the file cannot be read.
  bool Open(LRecord& record, std::string_view key) const;
  // Attaches the record under key whether or not its file exists; a missing
  // file is created by the first save.
  void OpenAlways(LRecord& record, std::string_view key) const;
  // Attaches an empty record without key; its first save numbers it.
  void CreateNewRecord(LRecord& record) const;
  // Removes the file of key; records in memory are not touched.
  bool Delete(std::string_view key) const;
  // Renames when the record's key changed, then merges the file's fields
  // under an exclusive lock and puts a new file in the old one's place (see
  // AtomicFile.h): the record file is always the old or the new text. False
  // when nothing could be written; the record's SaveError() says why.
  bool Save(LRecord& record) const;
  // Replaces the record's fields with the file's; the record is untouched
  // when the file cannot be read.
  bool Load(std::string_view key, LRecord& record) const;
  // A new iterator standing on the first record of the list.
  std::unique_ptr<LFileStoreIteratorBase> CreateIteratorBase(LRecord& record) const;

  std::string PathOf(std::string_view key) const;
  // Tests shorten the lock budget to exercise contention quickly.
  void SetLockBudget(int ms) { m_lockBudgetMs = ms; }

 private:
  void AttachStore(LRecord& record) const;
  bool TryRename(LRecord& record) const;
  // The steps of Save; each answers 0 or an errno value.
  int SaveNumbered(LRecord& record) const;
  int SaveKeyed(LRecord& record) const;
  int OpenForMerge(const std::string& path) const;
  int MergeFromFile(int fd, const std::string& path, LRecord& record) const;

  std::string m_folder;
  int m_lockBudgetMs = kRecordLockBudgetMs;
};

// Saves an attached record into its list. Holds a copy of the list (it is
// only a folder path) so that a record outliving its list object still saves
// to the right place instead of through a dangling reference.
template <class List>
class LDataStoreRecordStore : public LRecordStore {
 public:
  explicit LDataStoreRecordStore(const List& list) : m_list(list) {}
  bool Save(LRecord& record) override { return m_list.Save(record); }

 private:
  List m_list;
};

template <class DataStore, class T>
class LDataStoreList : public LFileStoreListBase {
  static_assert(std::is_same_v<DataStore, LFileStoreDataStore>, "records are kept in files only");
  static_assert(std::is_base_of_v<LRecord, T>, "list of records");

 public:
  LDataStoreList(const DataStore& store, std::string_view listName) : LFileStoreListBase(store, listName) {}
  using Record = T;
};
