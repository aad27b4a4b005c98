// A record: named text fields kept in memory and saved, through the store it
// is attached to, when it is flushed, invalidated or destroyed.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Fixed text limit of keys, names and values handed out in buffers: 259
// characters plus the terminating zero.
inline constexpr size_t kRecordTextMax = 259;
inline constexpr size_t kRecordBufferSize = kRecordTextMax + 1;

// text cut to kRecordTextMax bytes on a UTF-8 character boundary: how keys
// and handed-out values are limited.
std::string_view LRecordCutText(std::string_view text);

class LRecord;

struct LRecordField {
  std::string name;      // at most kRecordNameMax bytes
  std::string value;     // no limit
  bool changed = false;  // assigned by this record since it was loaded or saved
};

// Where an attached record saves itself.
class LRecordStore {
 public:
  virtual ~LRecordStore() = default;
  virtual bool Save(LRecord& record) = 0;
};

class LRecord {
 public:
  LRecord() = default;
  // Saves when attached and modified.
  virtual ~LRecord();
  LRecord(const LRecord&) = delete;
  LRecord& operator=(const LRecord&) = delete;

  // Sets the first field of that name (appending one when there is none);
  // a value equal byte for byte to the current one changes nothing.
  void SetString(std::string_view name, std::string_view value);
  void SetInt(std::string_view name, int value);

  // Copies the first field's value, or the default, cut to 259 characters,
  // into a buffer of kRecordBufferSize bytes.
  void GetString(std::string_view name, const char* def, char* out) const;
  std::string GetString(std::string_view name, std::string_view def = {}) const;
  // The default when the field is missing; otherwise its leading decimal
  // integer (0 when it has no digits), saturated to the range of int.
  int GetInt(std::string_view name, int def) const;

  // Saves when attached and modified; false only when that save failed.
  bool Flush();
  // Why the last save failed, as an errno value (0 after a good one).
  int SaveError() const { return m_saveError; }
  void SetSaveError(int error) { m_saveError = error; }
  // Saves when attached and modified, detaches, and empties the record.
  void Invalidate();
  // Detaches and empties without saving: for a caller that reported a failed
  // Flush and still holds the values, so that no later save surprises it.
  void Discard();

  bool IsAttached() const { return m_store != nullptr; }
  bool IsModified() const { return m_modified; }
  const std::string& Key() const { return m_key; }
  // A new key for an attached record renames its file at the next save.
  void SetKey(std::string_view key);
  const std::string& StoredKey() const { return m_storedKey; }
  const std::vector<LRecordField>& Fields() const { return m_fields; }

  // For the store that loads and saves this record.
  void Attach(std::unique_ptr<LRecordStore> store);
  void SetStoredKey(std::string_view key);
  std::vector<LRecordField>& MutableFields() { return m_fields; }
  void SetModified(bool modified) { m_modified = modified; }

 private:
  LRecordField* Find(std::string_view name);
  const LRecordField* Find(std::string_view name) const;

  std::unique_ptr<LRecordStore> m_store;
  std::string m_key;
  std::string m_storedKey;
  std::vector<LRecordField> m_fields;
  bool m_modified = false;
  int m_saveError = 0;
};
