// Decodes arbitrary bytes as a record file and as a record file name, and
// checks that what was decoded survives being written and read back.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "store/RecordCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto items = RecordParse(text);
  std::string written;
  for (const auto& item : items) {
    if (item.name.empty() || item.name.size() > kRecordNameMax) std::abort();
    RecordAppendItem(written, item.name, item.value);
  }
  const auto back = RecordParse(written);
  if (back.size() != items.size()) std::abort();
  for (size_t i = 0; i < items.size(); ++i)
    if (back[i].name != items[i].name || back[i].value != items[i].value) std::abort();
  const std::string key = RecordDecode(text);
  if (RecordDecode(RecordEncode(key)) != key) std::abort();
  return 0;
}
