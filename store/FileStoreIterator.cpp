#include "store/FileStoreIterator.h"

#include <strings.h>

#include <cstring>

#include "store/RecordCodec.h"

bool LFileStoreIteratorBase::KeyOfEntry(const char* name, std::string& key) {
  const size_t len = std::strlen(name);
  if (len < 4 || strcasecmp(name + len - 4, ".dat") != 0) return false;
  if (name[0] == '.' || std::strncmp(name, "__MACOSX", 8) == 0) return false;
  const char* dot = std::strrchr(name, '.');
  key = RecordDecode(std::string_view(name, static_cast<size_t>(dot - name)));
  key.resize(LRecordCutText(key).size());
  return true;
}

LFileStoreIteratorBase::LFileStoreIteratorBase(const LFileStoreListBase& list, LRecord& record)
    : m_list(list), m_dir(opendir(list.Folder().c_str())) {
  record.Invalidate();
  record.Attach(std::make_unique<LDataStoreRecordStore<LFileStoreListBase>>(m_list));
  Next(record);
}

void LFileStoreIteratorBase::Next(LRecord& record) {
  record.Flush();
  for (;;) {
    const dirent* entry = m_dir ? readdir(m_dir.get()) : nullptr;
    if (!entry) {
      record.Invalidate();
      return;
    }
    std::string key;
    if (!KeyOfEntry(entry->d_name, key)) continue;
    record.Flush();
    record.MutableFields().clear();
    if (m_list.Load(key, record)) {
      record.SetKey(key);
      record.SetStoredKey(key);
      record.SetModified(false);
      return;
    }
  }
}
