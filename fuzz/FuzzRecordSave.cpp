// Saves a record over a record file holding arbitrary bytes: the merge must
// keep what it set, and every field of the file it did not set, never write
// outside the list folder, and keep a file it could not rewrite faithfully.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "store/FileStore.h"
#include "store/RecordCodec.h"

namespace {
class FuzzRecord : public LRecord {};
using FuzzList = LDataStoreList<LFileStoreDataStore, FuzzRecord>;

const std::string& Folder() {
  static const std::string folder = [] {
    char templ[] = "/tmp/morvane-fuzz-XXXXXX";
    const char* made = mkdtemp(templ);
    return std::string(made ? made : "/tmp");
  }();
  return folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static LFileStoreDataStore store(Folder());
  static FuzzList list(store, "List");
  const std::string text(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(list.PathOf("key"), std::ios::binary | std::ios::trunc);
    out << text;
  }
  {
    FuzzRecord record;
    list.OpenAlways(record, "key");
    record.SetString("Tempo", "120");
    if (!list.Save(record)) return 0;
  }
  // A file the store would not have written so is kept whole before the
  // rewrite; one it would have written needs no copy.
  std::ifstream keptFile(list.PathOf("key") + ".kept", std::ios::binary);
  std::string kept((std::istreambuf_iterator<char>(keptFile)), std::istreambuf_iterator<char>());
  std::remove((list.PathOf("key") + ".kept").c_str());
  std::string rebuilt;
  for (const RecordItem& item : RecordParse(text)) RecordAppendItem(rebuilt, item.name, item.value);
  if (keptFile.is_open() ? kept != text : rebuilt != text) std::abort();
  FuzzRecord back;
  if (!list.Open(back, "key")) std::abort();
  if (back.GetString("Tempo") != "120") std::abort();
  // Fields of the file that the save did not touch survive the merge.
  // (Looked up by name: any value, a would-be sentinel too, may be in the file.)
  for (const RecordItem& item : RecordParse(text)) {
    const auto& fields = back.Fields();
    if (std::none_of(fields.begin(), fields.end(), [&](const LRecordField& f) { return f.name == item.name; }))
      std::abort();
  }
  return 0;
}
