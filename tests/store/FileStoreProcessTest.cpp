// Several processes on one list folder: saves merge and never tear a file,
// and new records never share a number.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "store/FileStoreIterator.h"
#include "tests/support/TempDir.h"

namespace {

using List = LDataStoreList<LFileStoreDataStore, LRecord>;

constexpr int kRounds = 300;

// Values of varying length so that a torn or untruncated write shows.
std::string ValueFor(int round, char fill) {
  return std::to_string(round) + "-" + std::string(round % 97 * 41, fill);
}

bool IsWellFormed(const std::string& value, char fill) {
  int round = 0;
  size_t i = 0;
  for (; i < value.size() && i < 4 && value[i] >= '0' && value[i] <= '9'; ++i) round = round * 10 + (value[i] - '0');
  return i > 0 && value == ValueFor(round, fill);
}

std::string FieldValue(const LRecord& r, const std::string& name) {
  for (const auto& f : r.Fields())
    if (f.name == name) return f.value;
  return "(missing)";
}

// Runs body in a child process; the child leaves through _exit so no test
// state (temp folders) is torn down twice.
pid_t Spawn(const std::function<bool()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body() ? 0 : 1);
  return pid;
}

bool ChildSucceeded(pid_t pid) {
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(FileStoreProcesses, ConcurrentSavesOfOneRecordMergeAndNeverTear) {
  test::TempDir dir;
  LFileStoreDataStore store(dir.Path());
  List list(store, "L");
  const char fills[2] = {'a', 'b'};
  std::vector<pid_t> children;
  for (int p = 0; p < 2; ++p) {
    children.push_back(Spawn([&list, p, fill = fills[p]] {
      for (int round = 0; round < kRounds; ++round) {
        LRecord r;
        list.OpenAlways(r, "shared");
        r.SetString("P" + std::to_string(p), ValueFor(round, fill));
        if (!r.Flush()) return false;
      }
      return true;
    }));
  }
  // Meanwhile read under the shared lock, as long as a child runs, and check
  // every field seen is whole.
  int reads = 0, bad = 0, failedChildren = 0;
  for (size_t running = children.size(); running > 0;) {
    for (pid_t& pid : children) {
      int status = 0;
      if (pid <= 0 || waitpid(pid, &status, WNOHANG) != pid) continue;
      failedChildren += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
      pid = 0;
      --running;
    }
    LRecord r;
    if (!list.Load("shared", r)) continue;
    ++reads;
    std::set<std::string> names;
    for (const auto& f : r.Fields()) {
      const bool known = f.name == "P0" || f.name == "P1";
      if (!known || !names.insert(f.name).second || !IsWellFormed(f.value, f.name == "P0" ? 'a' : 'b')) ++bad;
    }
  }
  EXPECT_EQ(failedChildren, 0);
  EXPECT_EQ(bad, 0) << "of " << reads << " reads";
  RecordProperty("reads", reads);
  LRecord last;
  ASSERT_TRUE(list.Open(last, "shared"));
  ASSERT_EQ(last.Fields().size(), 2u);
  EXPECT_EQ(FieldValue(last, "P0"), ValueFor(kRounds - 1, 'a'));
  EXPECT_EQ(FieldValue(last, "P1"), ValueFor(kRounds - 1, 'b'));
}

TEST(FileStoreProcesses, ConcurrentNewRecordsGetDistinctNumbers) {
  test::TempDir dir;
  LFileStoreDataStore store(dir.Path());
  List list(store, "L");
  constexpr int kEach = 60;
  std::vector<pid_t> children;
  for (int p = 0; p < 2; ++p) {
    children.push_back(Spawn([&list, p] {
      for (int i = 0; i < kEach; ++i) {
        LRecord r;
        list.CreateNewRecord(r);
        r.SetString("Name", std::to_string(p) + ":" + std::to_string(i));
        if (!r.Flush()) return false;
      }
      return true;
    }));
  }
  for (pid_t pid : children) EXPECT_TRUE(ChildSucceeded(pid));
  std::set<std::string> keys, names;
  for (LDataStoreListIterator<LFileStoreDataStore, LRecord> it(list); it.IsValid(); it.Next()) {
    keys.insert(it->Key());
    names.insert(it->GetString("Name"));
  }
  EXPECT_EQ(names.size(), 2u * kEach);
  EXPECT_EQ(keys.size(), 2u * kEach);
  for (int n = 1; n <= 2 * kEach; ++n) EXPECT_TRUE(keys.count(std::to_string(n))) << n;
}

}  // namespace
