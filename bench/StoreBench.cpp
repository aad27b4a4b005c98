// Cost of the record store's file round trips as the windows use them:
// saving one record, and finding a preset by name in a list of presets
// (every step opens and locks a file; nothing is cached).
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "store/Presets.h"
#include "store/Profile.h"
#include "store/Settings.h"

namespace {

std::string FreshFolder() {
  char templ[] = "/tmp/morvane-bench-store-XXXXXX";
  const char* dir = mkdtemp(templ);
  if (!dir) std::abort();
  return dir;
}

void BM_SaveOptionsRecord(benchmark::State& state) {
  const std::string dir = FreshFolder();
  LProfile profile(dir);
  LOptionsList list(profile);
  int i = 0;
  for (auto _ : state) {
    LOptions rec;
    list.OpenAlways(rec, options_field::kKey);
    rec.SetString(options_field::kAccent, "sound" + std::to_string(i++ & 1) + ".wav");
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveOptionsRecord);

// One change of a setting, as every tempo, measure or volume step makes it:
// the file is read, changed and committed whole.
void BM_SettingCommit(benchmark::State& state) {
  const std::string dir = FreshFolder();
  ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  for (const char* key : {"Tempo", "Measure", "SubDiv", "Volume", "X", "Y", "Width", "Height"})
    LUserSettingSet<int>("Settings", key, 1);
  int i = 0;
  for (auto _ : state) LUserSettingSet<int>("Settings", "Volume", i++ & 15);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SettingCommit);

void BM_OpenPresetByName(benchmark::State& state) {
  const std::string dir = FreshFolder();
  LProfile profile(dir);
  LUserPresetList list(profile);
  const int count = static_cast<int>(state.range(0));
  for (int i = 0; i < count; ++i) {
    LUserPreset rec;
    list.CreateNewRecord(rec);
    WritePreset(rec, "Preset " + std::to_string(i), {60 + i % 200, i % 12, i % 8});
  }
  const std::string wanted = "PRESET " + std::to_string(count - 1);
  for (auto _ : state) {
    LUserPreset rec;
    if (!OpenPreset(list, rec, wanted.c_str())) std::abort();
  }
  state.SetItemsProcessed(state.iterations() * count);  // records read
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_OpenPresetByName)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace
