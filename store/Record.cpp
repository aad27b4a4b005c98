#include "store/Record.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "store/RecordCodec.h"
#include "store/Utf8.h"

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Leading blanks, one sign, then digits up to the first non-digit. Saturates
// instead of overflowing: a hand-edited "99999999999" must not be undefined.
int ParseLeadingInt(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long long v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    v = v * 10 + (s[i] - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) return static_cast<int>(std::max(-v, static_cast<long long>(INT_MIN)));
  return static_cast<int>(std::min(v, static_cast<long long>(INT_MAX)));
}

}  // namespace

LRecord::~LRecord() {
  if (m_store && m_modified) m_store->Save(*this);
}

LRecordField* LRecord::Find(std::string_view name) {
  for (auto& f : m_fields)
    if (f.name == name) return &f;
  return nullptr;
}

const LRecordField* LRecord::Find(std::string_view name) const { return const_cast<LRecord*>(this)->Find(name); }

void LRecord::SetString(std::string_view name, std::string_view value) {
  name = name.substr(0, kRecordNameMax);
  if (LRecordField* f = Find(name)) {
    if (f->value == value) return;
    f->value.assign(value);
    f->changed = true;
  } else {
    m_fields.push_back(LRecordField{std::string(name), std::string(value), true});
  }
  m_modified = true;
}

void LRecord::SetInt(std::string_view name, int value) { SetString(name, std::to_string(value)); }

void LRecord::GetString(std::string_view name, const char* def, char* out) const {
  const std::string text = GetString(name, def ? def : "");  // already cut to 259
  std::memcpy(out, text.data(), text.size());
  out[text.size()] = '\0';
}

std::string LRecord::GetString(std::string_view name, std::string_view def) const {
  const LRecordField* f = Find(name.substr(0, kRecordNameMax));
  return std::string(LRecordCutText(f ? std::string_view(f->value) : def));
}

int LRecord::GetInt(std::string_view name, int def) const {
  const LRecordField* f = Find(name.substr(0, kRecordNameMax));
  return f ? ParseLeadingInt(f->value) : def;
}

bool LRecord::Flush() {
  if (!m_store || !m_modified) return true;
  const bool ok = m_store->Save(*this);
  m_modified = false;
  return ok;
}

void LRecord::Invalidate() {
  if (m_store) {
    if (m_modified) m_store->Save(*this);
    m_store.reset();
  }
  m_key.clear();
  m_storedKey.clear();
  m_fields.clear();
  m_modified = false;
}

std::string_view LRecordCutText(std::string_view text) { return text.substr(0, LUtf8CutLength(text, kRecordTextMax)); }

void LRecord::Discard() {
  m_modified = false;
  Invalidate();
}

void LRecord::SetKey(std::string_view key) { m_key.assign(LRecordCutText(key)); }

void LRecord::SetStoredKey(std::string_view key) { m_storedKey.assign(LRecordCutText(key)); }

void LRecord::Attach(std::unique_ptr<LRecordStore> store) { m_store = std::move(store); }
