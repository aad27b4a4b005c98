// Walks the records of a list in the order the file system lists the folder.
#pragma once

#include <dirent.h>

#include <memory>
#include <string>

#include "store/FileStore.h"

class LDataStoreListIteratorBase {
 public:
  virtual ~LDataStoreListIteratorBase() = default;
  // Saves the current record if modified, then loads the next one into it;
  // at the end the record is left detached.
  virtual void Next(LRecord& record) = 0;
};

class LFileStoreIteratorBase : public LDataStoreListIteratorBase {
 public:
  // Opens the list folder (a missing folder has no entries), attaches the
  // record and moves to the first record.
  LFileStoreIteratorBase(const LFileStoreListBase& list, LRecord& record);
  void Next(LRecord& record) override;

  // The key of a folder entry, or false for entries that are not records:
  // not "*.dat" (any case), hidden, or archive debris ("__MACOSX...").
  static bool KeyOfEntry(const char* name, std::string& key);

 private:
  struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
  };
  LFileStoreListBase m_list;
  std::unique_ptr<DIR, DirCloser> m_dir;
};

// Typical use:
//   for (LDataStoreListIterator<LFileStoreDataStore, LUserPreset> it(list); it.IsValid(); it.Next())
//     it->GetString(...);
template <class DataStore, class T>
class LDataStoreListIterator {
 public:
  explicit LDataStoreListIterator(const LDataStoreList<DataStore, T>& list)
      : m_base(list.CreateIteratorBase(m_record)) {}
  // The base goes first, then the record, which saves itself if modified.
  ~LDataStoreListIterator() { m_base.reset(); }
  LDataStoreListIterator(const LDataStoreListIterator&) = delete;
  LDataStoreListIterator& operator=(const LDataStoreListIterator&) = delete;

  bool IsValid() const { return m_record.IsAttached(); }
  void Next() { m_base->Next(m_record); }
  T& Record() { return m_record; }
  T* operator->() { return &m_record; }

 private:
  T m_record;  // declared first: made before the base needs it
  std::unique_ptr<LDataStoreListIteratorBase> m_base;
};
