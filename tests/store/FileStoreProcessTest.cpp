// Two processes saving one record: saves merge and never tear a file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "store/FileStoreIterator.h"
#include "tests/support/TempDir.h"

namespace {

using List = LDataStoreList<LFileStoreDataStore, LRecord>;

constexpr int kRounds = 300;

// Values of varying length so that a torn or untruncated write shows.
std::string ValueFor(int round, char fill) { return std::to_string(round) + "-" + std::string(round % 97 * 41, fill); }

bool IsWellFormed(const std::string& value, char fill) {
  int round = 0;
  size_t i = 0;
  for (; i < value.size() && i < 4 && value[i] >= '0' && value[i] <= '9'; ++i) round = round * 10 + (value[i] - '0');
  return i > 0 && value == ValueFor(round, fill);
}

TEST(FileStoreProcesses, StressConcurrentSavesOfOneRecordMergeAndNeverTear) {
  test::TempDir dir;
  LFileStoreDataStore store(dir.Path());
  List list(store, "L");
  const char fills[2] = {'a', 'b'};
  std::vector<pid_t> children;
  for (int p = 0; p < 2; ++p) {
    const pid_t pid = fork();
    if (pid == 0) {  // the child leaves through _exit: no test state torn down twice
      for (int round = 0; round < kRounds; ++round) {
        LRecord r;
        list.OpenAlways(r, "shared");
        r.SetString("P" + std::to_string(p), ValueFor(round, fills[p]));
        if (!r.Flush()) _exit(1);
      }
      _exit(0);
    }
    children.push_back(pid);
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
  LRecord last;
  ASSERT_TRUE(list.Open(last, "shared"));
  ASSERT_EQ(last.Fields().size(), 2u);
  for (const auto& f : last.Fields()) EXPECT_EQ(f.value, ValueFor(kRounds - 1, f.name == "P0" ? 'a' : 'b'));
}

}  // namespace
