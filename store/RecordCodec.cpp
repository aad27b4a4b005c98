#include "store/RecordCodec.h"

namespace {

bool IsPlain(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.' || c == '!' || c == '~';
}

// Any character that is not a hexadecimal digit counts as 0, so "%G1" is 0x01.
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

// Decodes from pos up to the first character of stops (or the end) and
// returns the position of that character. An escape swallows its two digits
// even when they are stop characters; an escape cut short by the end of the
// text ends the text.
size_t DecodeUntil(std::string_view text, size_t pos, std::string_view stops, std::string& out) {
  while (pos < text.size()) {
    const char c = text[pos];
    if (stops.find(c) != std::string_view::npos) return pos;
    if (c == '%') {
      if (text.size() - pos < 3) return text.size();
      const char byte = static_cast<char>(HexValue(text[pos + 1]) * 16 + HexValue(text[pos + 2]));
      if (byte != 0) out += byte;
      pos += 3;
      continue;
    }
    // A raw zero byte is dropped like an escaped one: no name or value holds
    // one, so what is read is what a save writes back.
    if (c != '\0') out += (c == '+') ? ' ' : c;
    ++pos;
  }
  return pos;
}

}  // namespace

std::string RecordEncode(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsPlain(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string RecordDecode(std::string_view text) {
  std::string out;
  DecodeUntil(text, 0, {}, out);
  return out;
}

std::vector<RecordItem> RecordParse(std::string_view text) {
  std::vector<RecordItem> items;
  size_t pos = 0;
  while (pos < text.size()) {
    RecordItem item;
    pos = DecodeUntil(text, pos, "=&", item.name);
    if (pos < text.size() && text[pos] == '=') ++pos;
    pos = DecodeUntil(text, pos, "&", item.value);
    if (pos < text.size()) ++pos;  // the "&"
    if (item.name.empty()) continue;
    if (item.name.size() > kRecordNameMax) item.name.resize(kRecordNameMax);
    items.push_back(std::move(item));
  }
  return items;
}

void RecordAppendItem(std::string& out, std::string_view name, std::string_view value) {
  if (!out.empty()) out += '&';
  out += RecordEncode(name);
  out += '=';
  out += RecordEncode(value);
}
