#include <gtest/gtest.h>

#include <climits>

#include "store/Record.h"

namespace {

// Counts saves so the record's own save decisions are visible.
class CountingStore : public LRecordStore {
 public:
  explicit CountingStore(int* saves, bool result = true) : m_saves(saves), m_result(result) {}
  bool Save(LRecord&) override {
    ++*m_saves;
    return m_result;
  }

 private:
  int* m_saves;
  bool m_result;
};

TEST(Record, SavesOnlyWhenAttachedAndModified) {
  int saves = 0;
  {
    LRecord detached;
    detached.SetString("A", "1");
    EXPECT_TRUE(detached.Flush());
  }
  {
    LRecord r;
    r.Attach(std::make_unique<CountingStore>(&saves));
    r.SetString("A", "1");
    EXPECT_TRUE(r.Flush());
    EXPECT_TRUE(r.Flush());  // clean now
    EXPECT_EQ(saves, 1);
    r.SetString("A", "2");
  }  // destructor saves
  EXPECT_EQ(saves, 2);
  {
    LRecord r;
    r.Attach(std::make_unique<CountingStore>(&saves, false));
    r.SetString("A", "1");
    EXPECT_FALSE(r.Flush());
    r.SetKey("k");
    r.SetString("B", "1");
    r.Invalidate();
    EXPECT_FALSE(r.IsAttached());
    EXPECT_TRUE(r.Fields().empty());
    EXPECT_TRUE(r.Key().empty());
  }
  EXPECT_EQ(saves, 4);
}

TEST(Record, GetIntParsesLeadingDecimal) {
  struct Case {
    const char* value;
    int expect;
  } cases[] = {
      {"12abc", 12}, {"abc", 0}, {"", 0},          {"  -7", -7},          {"+5", 5},
      {"--5", 0},    {"0x10", 0}, {"\t\n42", 42},  {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
      {"-2147483648", INT_MIN}, {"2147483647", INT_MAX},
  };
  for (const auto& c : cases) {
    LRecord r;
    r.SetString("N", c.value);
    EXPECT_EQ(r.GetInt("N", 77), c.expect) << c.value;
  }
  LRecord r;
  EXPECT_EQ(r.GetInt("Missing", 77), 77);
}

TEST(Record, GetStringCutsTo259) {
  LRecord r;
  const std::string longValue(300, 'x');
  r.SetString("V", longValue);
  EXPECT_EQ(r.Fields()[0].value.size(), 300u);
  char buf[kRecordBufferSize];
  r.GetString("V", "", buf);
  EXPECT_EQ(std::string(buf), longValue.substr(0, 259));
  r.GetString("Missing", std::string(400, 'd').c_str(), buf);
  EXPECT_EQ(std::string(buf).size(), 259u);
  EXPECT_EQ(r.GetString("Missing", "dflt"), "dflt");
}

TEST(Record, NamesAreCutTo63AndFirstOfANameWins) {
  LRecord r;
  const std::string longName(80, 'n');
  r.SetString(longName, "v");
  EXPECT_EQ(r.Fields()[0].name.size(), 63u);
  EXPECT_EQ(r.GetString(longName.substr(0, 63)), "v");
  r.MutableFields().push_back({"D", "first", false});
  r.MutableFields().push_back({"D", "second", false});
  EXPECT_EQ(r.GetString("D"), "first");
  r.SetString("D", "new");
  EXPECT_EQ(r.Fields()[1].value, "new");
  EXPECT_EQ(r.Fields()[2].value, "second");
}

}  // namespace
