// Cutting text to a byte limit without splitting a UTF-8 character, so that a
// long name never ends in half a character (shown as a replacement mark).
#pragma once

#include <cstddef>
#include <string_view>

// Length of the longest prefix of text of at most maxBytes bytes that ends on
// a character boundary.
inline size_t LUtf8CutLength(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  size_t cut = maxBytes;
  // Step back over continuation bytes (10xxxxxx) to the start of the
  // character that straddles the cut.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}
