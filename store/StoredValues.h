// Integer settings as a hand edit or an older version may have left them,
// brought within what the program can use before anything reads them.
#pragma once

#include <string>
#include <vector>

struct LStoredRange {
  const char* section;
  const char* key;
  int minimum, maximum, def;
};

struct LStoredRepair {
  const LStoredRange* range;
  std::string was;  // the stored text
  int now;          // the value stored in its place
  bool unreadable;  // not a number: now is the default; else it was clamped
};

// For each setting present: a text that is not one whole decimal number
// (surrounding blanks allowed) is replaced by the default, a number outside
// minimum..maximum by the nearest end. Absent and empty settings are left
// as they are (they read as the default). The repairs made, in table order.
std::vector<LStoredRepair> LRepairStoredValues(const LStoredRange* ranges, int count);
