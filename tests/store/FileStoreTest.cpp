#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "store/FileStoreIterator.h"
#include "tests/store/StoreTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

using List = LDataStoreList<LFileStoreDataStore, LRecord>;
using Iterator = LDataStoreListIterator<LFileStoreDataStore, LRecord>;

class FileStore : public ::testing::Test {
 protected:
  test::TempDir dir;
  LFileStoreDataStore store{dir.Path()};
  List list{store, "L"};

  std::string FileOf(const std::string& name) const { return dir.Path() + "/L/" + name; }
  std::set<std::string> Keys() {
    std::set<std::string> keys;
    for (Iterator it(list); it.IsValid(); it.Next()) keys.insert(it->Key());
    return keys;
  }
  static bool SetAndSave(LRecord& r, const char* name, const char* value) {
    return r.SetString(name, value), r.Flush();
  }
  std::string SaveNew(const std::string& name) {
    LRecord r;
    list.CreateNewRecord(r);
    r.SetString("Name", name);
    EXPECT_TRUE(r.Flush());
    return r.Key();
  }
};

TEST_F(FileStore, NewRecordsTakeTheLowestFreeNumber) {
  ASSERT_TRUE(test::WriteText(FileOf("1.dat"), "Name=one"));
  ASSERT_TRUE(test::WriteText(FileOf("2.dat"), "Name=two"));
  EXPECT_EQ(SaveNew("three"), "3");
  EXPECT_EQ(test::ReadText(FileOf("3.dat")), "Name=three");
  EXPECT_TRUE(list.Delete("1"));
  EXPECT_FALSE(list.Delete("1"));
  EXPECT_EQ(SaveNew("again"), "1");
  EXPECT_EQ(SaveNew("next"), "4");
  LRecord r;
  EXPECT_FALSE(list.Open(r, "Missing"));
  EXPECT_FALSE(r.IsAttached());
}

TEST_F(FileStore, KeysRoundTripThroughFileNames) {
  const std::set<std::string> keys = {"a/b c", "Options", "x+y",  "%41",        "\xC3\xA9t\xC3\xA9",
                                      "k=v&w", "../up",   ".dot", "__MACOSXkey"};
  for (const std::string& key : keys) {
    LRecord r;
    list.OpenAlways(r, key);
    r.SetString("K", key);
  }
  EXPECT_TRUE(test::FileExists(FileOf("a%2Fb%20c.dat")));
  EXPECT_TRUE(test::FileExists(FileOf("%2E.%2Fup.dat")));  // inside the list folder, and not hidden
  EXPECT_EQ(Keys(), keys);
  for (Iterator it(list); it.IsValid(); it.Next()) EXPECT_EQ(it->GetString("K"), it->Key());
}

TEST_F(FileStore, IterationSkipsForeignAndUnreadableEntries) {
  ASSERT_TRUE(test::WriteText(FileOf("good.dat"), "A=1"));
  ASSERT_TRUE(test::WriteText(FileOf("x+y.dat"), "A=2"));    // key "x y" has no file "x%20y.dat"
  ASSERT_TRUE(test::WriteText(FileOf("NOTES.DAT"), "A=3"));  // opened as NOTES.dat: absent here
  ASSERT_TRUE(test::WriteText(FileOf(".hidden.dat"), "A=4"));
  ASSERT_TRUE(test::WriteText(FileOf("__MACOSX1.dat"), "A=5"));
  ASSERT_TRUE(test::WriteText(FileOf("readme.txt"), "A=6"));
  ASSERT_TRUE(test::WriteText(FileOf("empty.dat"), ""));
  std::filesystem::create_directory(FileOf("folder.dat"));
  ASSERT_EQ(mkfifo(FileOf("pipe.dat").c_str(), 0600), 0);  // must not block the listing
  EXPECT_EQ(Keys(), (std::set<std::string>{"good", "empty"}));
}

TEST(FileStoreKeys, EntryNamesToKeys) {
  struct Case {
    const char* name;
    bool taken;
    const char* key;
  } cases[] = {
      {"a%2Fb.DaT", true, "a/b"}, {"x.y.dat", true, "x.y"},  {".dat", false, ""},
      {"a.datx", false, ""},      {"%41%00.dat", true, "A"},
  };
  for (const auto& c : cases) {
    std::string key;
    EXPECT_EQ(LFileStoreIteratorBase::KeyOfEntry(c.name, key), c.taken) << c.name;
    if (c.taken) {
      EXPECT_EQ(key, c.key) << c.name;
    }
  }
}

TEST_F(FileStore, TwoRecordsOnOneKeyMerge) {
  ASSERT_TRUE(test::WriteText(FileOf("k.dat"), "C=old"));
  LRecord first, second;
  ASSERT_TRUE(list.Open(first, "k"));
  ASSERT_TRUE(list.Open(second, "k"));
  first.SetString("A", "first");
  ASSERT_TRUE(SetAndSave(first, "C", "first"));
  ASSERT_TRUE(SetAndSave(second, "B", "second"));
  // second took C from the file because it had not changed C itself
  EXPECT_EQ(second.GetString("C"), "first");
  EXPECT_EQ(test::ReadText(FileOf("k.dat")), "C=first&B=second&A=first");
  ASSERT_TRUE(SetAndSave(first, "B", "mine"));
  EXPECT_EQ(test::ReadText(FileOf("k.dat")), "C=first&A=first&B=mine");
  ASSERT_TRUE(test::WriteText(FileOf("k.dat"), "Z=9"));  // edited elsewhere: never dropped
  ASSERT_TRUE(SetAndSave(first, "A", "2"));
  EXPECT_EQ(test::ReadText(FileOf("k.dat")), "C=first&A=2&B=mine&Z=9");
}

// A hand-edited file naming a field twice: saving again (the second save
// merges the file it wrote itself) keeps the value the record set.
TEST_F(FileStore, DuplicateNamesInTheFileNeverOverwriteASavedValue) {
  ASSERT_TRUE(test::WriteText(FileOf("k.dat"), "X=1&Tempo=&Tempo=&Y=2"));
  LRecord r;
  list.OpenAlways(r, "k");
  ASSERT_TRUE(SetAndSave(r, "Tempo", "120"));
  ASSERT_TRUE(list.Save(r));
  LRecord back;
  ASSERT_TRUE(list.Open(back, "k"));
  EXPECT_EQ(back.GetString("Tempo"), "120");
  EXPECT_EQ(back.GetString("X"), "1");
  EXPECT_EQ(back.GetString("Y"), "2");
}

TEST_F(FileStore, RenameMovesFileUnlessTargetExists) {
  LRecord r;
  list.OpenAlways(r, "old");
  ASSERT_TRUE(SetAndSave(r, "A", "1"));
  ASSERT_TRUE(test::WriteText(FileOf("taken.dat"), "T=1"));
  r.SetKey("taken");
  ASSERT_TRUE(SetAndSave(r, "A", "2"));
  EXPECT_EQ(r.StoredKey(), "old");
  EXPECT_EQ(test::ReadText(FileOf("old.dat")), "A=2");
  EXPECT_EQ(test::ReadText(FileOf("taken.dat")), "T=1");
  ASSERT_TRUE(list.Delete("taken"));
  ASSERT_TRUE(SetAndSave(r, "A", "3"));  // the next save tries the rename again
  EXPECT_EQ(r.StoredKey(), "taken");
  EXPECT_FALSE(test::FileExists(FileOf("old.dat")));
  EXPECT_EQ(test::ReadText(FileOf("taken.dat")), "A=3");
}

// Rewriting a file this store did not write in that form (damaged, edited by
// hand) keeps its old bytes first, once; a file too big to read is not
// overwritten at all.
TEST_F(FileStore, FilesNotInStoreFormAreKeptBeforeTheyAreRewritten) {
  std::vector<std::string> heard;
  LRecordWatchKeptFiles([&](const std::string& file, const std::string& kept) { heard.push_back(file + " " + kept); });
  const std::string damaged = "A=1&\x01junk\xff\n=lost&B";
  ASSERT_TRUE(test::WriteText(FileOf("d.dat"), damaged));
  ASSERT_TRUE(test::WriteText(FileOf("ok.dat"), "A=1&N=a%20b"));
  for (const char* key : {"d", "ok", "d"}) {
    LRecord r;
    list.OpenAlways(r, key);
    ASSERT_TRUE(SetAndSave(r, "C", key));
  }
  EXPECT_EQ(heard, std::vector<std::string>{FileOf("d.dat") + " " + FileOf("d.dat.kept")});
  EXPECT_EQ(test::ReadText(FileOf("d.dat.kept")), damaged);
  EXPECT_FALSE(test::FileExists(FileOf("ok.dat.kept")));
  EXPECT_EQ(Keys(), (std::set<std::string>{"d", "ok"}));
  LRecordWatchKeptFiles(nullptr);

  std::filesystem::resize_file(FileOf("ok.dat"), int64_t{65} << 20);
  LRecord big;
  list.OpenAlways(big, "ok");
  EXPECT_FALSE(SetAndSave(big, "C", "x"));
  EXPECT_EQ(std::filesystem::file_size(FileOf("ok.dat")), uint64_t{65} << 20);
}

}  // namespace
