// Saves a record over a record file holding arbitrary bytes: the merge must
// keep what it set, and every field of the file it did not set, and never
// write outside the list folder.
#include <cstdint>
#include <cstdlib>
#include <fstream>
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
  FuzzRecord back;
  if (!list.Open(back, "key")) std::abort();
  if (back.GetString("Tempo") != "120") std::abort();
  // Fields of the file that the save did not touch survive the merge.
  for (const RecordItem& item : RecordParse(text)) {
    if (item.name == "Tempo") continue;
    if (back.GetString(item.name, "\x01missing") == "\x01missing") std::abort();
  }
  return 0;
}
