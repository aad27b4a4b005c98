// One record save, run by AtomicSaveTest under the fault shim: arms the shim
// around the save only and prints "<calls> <ok|fail> <errno>".
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "store/FileStore.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  LFileStoreDataStore store(argv[1]);
  LDataStoreList<LFileStoreDataStore, LRecord> list(store, "L");
  LRecord record;
  const bool numbered = std::strcmp(argv[2], "numbered") == 0;
  if (numbered)
    list.CreateNewRecord(record);
  else
    list.OpenAlways(record, argv[2]);
  record.SetString("Name", "new");
  record.SetString("Tempo", "200");
  auto arm = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "morvane_fault_arm"));
  auto disarm = reinterpret_cast<long (*)()>(dlsym(RTLD_DEFAULT, "morvane_fault_disarm"));
  if (arm) arm();
  const bool ok = record.Flush();
  const long calls = disarm ? disarm() : 0;
  std::printf("%ld %s %d\n", calls, ok ? "ok" : "fail", record.SaveError());
  return 0;
}
