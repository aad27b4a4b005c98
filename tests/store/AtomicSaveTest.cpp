// Saves interrupted at every file-system call they make: killed there, or
// failing with a full disk, an I/O error or an exhausted quota. The record
// must always hold its old text or its new one, a save reported as done must
// have written the new one, a failed one must leave no file behind, and
// nothing stray may be listed.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "store/FileStoreIterator.h"
#include "tests/store/StoreTestUtil.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

using List = LDataStoreList<LFileStoreDataStore, LRecord>;
using Iterator = LDataStoreListIterator<LFileStoreDataStore, LRecord>;

struct Scenario {
  const char* key;      // what the helper saves ("numbered": a new record)
  const char* file;     // the record file it lands in
  const char* oldText;  // nullptr: no file before
  const char* newText;
  bool symlink;  // the record file is a link to a file outside the list
};

// The helper sets Name=new and Tempo=200 on what it loaded.
const Scenario kScenarios[] = {
    {"k", "k.dat", "Name=old&Tempo=100&X=1", "Name=new&Tempo=200&X=1", false},
    {"fresh", "fresh.dat", nullptr, "Name=new&Tempo=200", false},
    {"numbered", "1.dat", nullptr, "Name=new&Tempo=200", false},
    {"link", "link.dat", "Name=old&Tempo=100&X=1", "Name=new&Tempo=200&X=1", true},
    {"odd", "odd.dat", "Name=old&&Tempo=100", "Name=new&Tempo=200", false},  // kept as .kept first
};

struct Outcome {
  long calls = -1;
  bool ok = false;
  int error = 0;
  bool killed = false;
};

Outcome RunSave(const std::string& folder, const char* key, long at, const char* mode) {
  std::string command = "exec env ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=" MORVANE_FAULT_SHIM;
  if (at > 0) command += " MORVANE_FAULT_AT=" + std::to_string(at) + " MORVANE_FAULT_MODE=" + mode;
  command += std::string(" " MORVANE_SAVE_CHILD " ") + folder + " " + key;
  Outcome out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char word[8] = {};
  if (std::fscanf(pipe, "%ld %7s %d", &out.calls, word, &out.error) != 3) out.calls = -1;
  out.ok = std::string(word) == "ok";
  const int status = pclose(pipe);
  out.killed = WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGKILL);
  return out;
}

class AtomicSave : public ::testing::TestWithParam<Scenario> {
 protected:
  std::unique_ptr<test::TempDir> dir;
  std::string list, outside;

  void Prepare() {
    dir = std::make_unique<test::TempDir>();
    list = dir->File("L");
    outside = dir->File("outside.dat");
    fs::create_directory(list);
    const Scenario& s = GetParam();
    if (!s.oldText) return;
    ASSERT_TRUE(test::WriteText(s.symlink ? outside : list + "/" + s.file, s.oldText));
    if (s.symlink) fs::create_symlink("../outside.dat", list + "/" + s.file);
  }
  std::set<std::string> Listed() const {
    LFileStoreDataStore store(dir->Path());
    List l(store, "L");
    std::set<std::string> keys;
    for (Iterator it(l); it.IsValid(); it.Next()) keys.insert(it->Key());
    return keys;
  }
  std::set<std::string> Entries() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(list)) names.insert(e.path().filename().string());
    return names;
  }
  // Holds after any run, whatever happened to the helper.
  void ExpectOldOrNew(const Outcome& o, const std::string& where) {
    const Scenario& s = GetParam();
    const std::string path = list + "/" + s.file;
    const std::string key = fs::path(s.file).stem().string();
    const bool exists = test::FileExists(path);
    const std::string text = exists ? test::ReadText(path) : std::string();
    const bool isNew = exists && text == s.newText;
    const bool isOld = s.oldText ? exists && text == s.oldText : !exists;
    EXPECT_TRUE(isNew || isOld) << where << ": '" << text << "'";
    if (o.ok) {
      EXPECT_TRUE(isNew) << where << ": reported saved";
    } else if (!o.killed) {
      EXPECT_TRUE(isOld) << where << ": reported failed";
      EXPECT_NE(o.error, 0) << where;
    }
    EXPECT_EQ(Listed(), exists ? std::set<std::string>{key} : std::set<std::string>{}) << where;
    if (s.symlink) {
      EXPECT_EQ(test::ReadText(outside), s.oldText) << where << ": written through the link";
    }
    if (!o.killed) {  // only a killed save may leave its hidden temporary file
      std::set<std::string> expected;
      if (exists) expected.insert(s.file);
      for (const std::string& name : Entries())
        if (name.find(".kept") != std::string::npos) expected.insert(name);
      EXPECT_EQ(Entries(), expected) << where;
    }
  }
};

TEST_P(AtomicSave, EveryCallKilledOrFailedLeavesOldOrNew) {
  Prepare();
  const Outcome clean = RunSave(dir->Path(), GetParam().key, 0, "");
  ASSERT_GT(clean.calls, 2) << "the fault shim did not load";
  ASSERT_TRUE(clean.ok);
  ExpectOldOrNew(clean, "no fault");
  EXPECT_FALSE(fs::is_symlink(list + "/" + GetParam().file));
  for (long at = 1; at <= clean.calls; ++at) {
    for (const char* mode : {"kill", "enospc", "eio"}) {
      Prepare();
      const Outcome o = RunSave(dir->Path(), GetParam().key, at, mode);
      ExpectOldOrNew(o, std::string(mode) + " at call " + std::to_string(at));
      if (std::string(mode) == "kill") {
        EXPECT_TRUE(o.killed || o.ok) << "call " << at;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Records, AtomicSave, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.key); });

// A real full disk: a tiny tmpfs in a private mount namespace (root only),
// filled up, then a new record, a numbered one and a replaced one.
TEST(AtomicSaveFullDisk, RealFullDiskLeavesNothingBehind) {
  test::TempDir dir;
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("none", dir.Path().c_str(), "tmpfs", 0, "size=64k,nr_inodes=64") != 0)
      _exit(77);
    LFileStoreDataStore store(dir.Path());
    List list(store, "L");
    int bad = 0;
    LRecord kept;
    list.OpenAlways(kept, "k");
    kept.SetString("Name", "old");
    bad |= kept.Flush() ? 0 : 1;
    {
      std::ofstream fill(dir.File("fill"), std::ios::binary);
      const std::string block(4096, 'x');
      while (fill.write(block.data(), block.size())) {
      }
    }
    kept.SetString("Name", std::string(8192, 'n'));
    bad |= !kept.Flush() && kept.SaveError() == ENOSPC ? 0 : 2;
    bad |= test::ReadText(dir.File("L/k.dat")) == "Name=old" ? 0 : 4;
    LRecord fresh, numbered;
    list.OpenAlways(fresh, "fresh");
    list.CreateNewRecord(numbered);
    for (LRecord* r : {&fresh, &numbered}) {
      r->SetString("Name", std::string(8192, 'n'));
      bad |= !r->Flush() && r->SaveError() == ENOSPC ? 0 : 8;
    }
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.File("L"))) ++entries;
    bad |= entries == 1 ? 0 : 16;
    _exit(bad);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot mount a tmpfs here (not root)";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1 first save, 2 full-disk replace, 4 old text, 8 new records, 16 strays";
}

}  // namespace
