// Text encoding of record files and record file names: one run of
// name=value items joined by "&", every byte outside a small safe set written
// as %XX. Decoding never rejects anything: malformed text decodes to
// something, so a hand-edited or damaged file still opens.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Longest field name kept; longer names are cut.
inline constexpr size_t kRecordNameMax = 63;

// Escapes every byte but a-z, A-Z, 0-9 and "-_.!~" as "%" and two upper-case
// hexadecimal digits. Also used for keys, so no key can hold a "/".
std::string RecordEncode(std::string_view text);

// Decodes "+" to space and %XX escapes over the whole text (for keys taken
// from file names).
std::string RecordDecode(std::string_view text);

struct RecordItem {
  std::string name;
  std::string value;
};

// Splits and decodes a record file's text in one pass. Items whose name
// decodes to nothing are dropped; names are cut to kRecordNameMax.
std::vector<RecordItem> RecordParse(std::string_view text);

// Appends "name=value" (both encoded) to out, with "&" before it unless out
// is empty.
void RecordAppendItem(std::string& out, std::string_view name, std::string_view value);
