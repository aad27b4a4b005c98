#include <gtest/gtest.h>

#include "store/RecordCodec.h"

namespace {

std::string Joined(const std::vector<RecordItem>& items) {
  std::string s;
  for (const auto& i : items) s += "[" + i.name + "|" + i.value + "]";
  return s;
}

TEST(RecordCodec, EncodesAllButTheSafeBytes) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"Slow Waltz", "Slow%20Waltz"},
      {"aZ09-_.!~", "aZ09-_.!~"},
      {"a=b&c%d+e/f", "a%3Db%26c%25d%2Be%2Ff"},
      {std::string("\x01\x7f\x80\xff", 4), "%01%7F%80%FF"},
      {std::string("\0", 1), "%00"},
  };
  for (const auto& c : cases) EXPECT_EQ(RecordEncode(c.in), c.out) << c.in;
}

TEST(RecordCodec, ParsesMalformedTextByTheRules) {
  struct Case {
    const char* in;
    const char* items;
  } cases[] = {
      {"Name=Slow%20Waltz&Tempo=60", "[Name|Slow Waltz][Tempo|60]"},
      {"A=1&&=2&B", "[A|1][B|]"},
      {"A=%4", "[A|]"},
      {"A=%41%00B", "[A|AB]"},
      {"A=%", "[A|]"},
      {"A=a+b", "[A|a b]"},
      {"A=%4&B=1", "[A|@B=1]"},  // the escape swallows "&"; it counts as digit 0
      {"A=%zz", "[A|]"},         // two non-digits: byte 0, dropped
      {"A=%4a%4A", "[A|JJ]"},
      {"A=b=c", "[A|b=c]"},
      {"=1&=2", ""},
      {"A&A=2", "[A|][A|2]"},
      {"%41%3D=v", "[A=|v]"},
  };
  for (const auto& c : cases) EXPECT_EQ(Joined(RecordParse(c.in)), c.items) << c.in;
  EXPECT_EQ(Joined(RecordParse(std::string("N\0a=v\0w", 7))), "[Na|vw]");
}

}  // namespace
