#include <gtest/gtest.h>

#include <climits>

#include "store/Record.h"

namespace {

// Counts saves so the record's own save decisions are visible.
struct CountingStore : LRecordStore {
  CountingStore(int* saves, bool result) : saves(saves), result(result) {}
  bool Save(LRecord&) override { return ++*saves, result; }
  int* saves;
  bool result;
};

TEST(Record, SavesOnlyWhenAttachedAndModified) {
  int saves = 0;
  {
    LRecord r;
    r.Attach(std::make_unique<CountingStore>(&saves, true));
    r.SetString("A", "1");
    EXPECT_TRUE(r.Flush());
    EXPECT_TRUE(r.Flush());  // clean now
    EXPECT_EQ(saves, 1);
    r.SetString("A", "2");
  }  // destructor saves
  EXPECT_EQ(saves, 2);
  LRecord r;
  r.Attach(std::make_unique<CountingStore>(&saves, false));
  r.SetString("A", "1");
  EXPECT_FALSE(r.Flush());
  r.Invalidate();
  EXPECT_FALSE(r.IsAttached());
  EXPECT_TRUE(r.Fields().empty());
  EXPECT_EQ(saves, 3);
}

TEST(Record, GetIntParsesLeadingDecimal) {
  struct Case {
    const char* value;
    int expect;
  } cases[] = {
      {"12abc", 12},
      {"abc", 0},
      {"", 0},
      {"  -7", -7},
      {"--5", 0},
      {"0x10", 0},
      {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},
  };
  for (const auto& c : cases) {
    LRecord r;
    r.SetString("N", c.value);
    EXPECT_EQ(r.GetInt("N", 77), c.expect) << c.value;
  }
  EXPECT_EQ(LRecord().GetInt("Missing", 77), 77);
}

TEST(Record, LongTextsAreCutAndFirstOfANameWins) {
  LRecord r;
  r.SetString(std::string(80, 'n'), "v");
  EXPECT_EQ(r.GetString(std::string(63, 'n')), "v");
  r.SetString("V", std::string(300, 'x'));
  char buf[kRecordBufferSize];
  r.GetString("V", "", buf);
  EXPECT_EQ(std::string(buf), std::string(259, 'x'));
  // Never inside a character: a two-byte one straddling the limit goes whole.
  r.SetString("V", std::string(258, 'x') + "\xC3\xA9");
  EXPECT_EQ(r.GetString("V"), std::string(258, 'x'));
  r.MutableFields().push_back({"D", "first", false});
  r.MutableFields().push_back({"D", "second", false});
  EXPECT_EQ(r.GetString("D"), "first");
  r.SetString("D", "new");
  EXPECT_EQ(r.Fields()[2].value, "new");
  EXPECT_EQ(r.Fields()[3].value, "second");
}

}  // namespace
