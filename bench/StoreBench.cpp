// Cost of the store as the windows use it: saving one record, finding a
// preset by name in a list of presets (every step opens and locks a file;
// nothing is cached), and one settings change on the main thread.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

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

// One change of a setting, as every tempo, measure or volume step makes it,
// back to back: the writer coalesces them.
void BM_SettingCommit(benchmark::State& state) {
  const std::string dir = FreshFolder();
  ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  for (const char* key : {"Tempo", "Measure", "SubDiv", "Volume", "X", "Y", "Width", "Height"})
    LUserSettingSet<int>("Settings", key, 1);
  int i = 0;
  for (auto _ : state) LUserSettingSet<int>("Settings", "Volume", i++ & 15);
  // Written before the folder goes, or the writer would make it again.
  LSettingsFlush();
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SettingCommit);

// The main thread's cost of one change as the volume slider makes it while
// dragged: the model reads the stored level, then stores the new one, about
// every 5 ms (the pause is not timed). The settings writer works meanwhile,
// so changes that meet a write are among the samples; the median and the
// slowest change are what a user would feel. The argument is the number of
// keys in the file (a fresh one, and one grown by years of toolbars,
// windows and dialogs).
void BM_SettingChangeDuringDrag(benchmark::State& state) {
  const std::string dir = FreshFolder();
  ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  for (int k = 0; k < state.range(0); ++k) LUserSettingSet<int>("Settings", ("Key" + std::to_string(k)).c_str(), k);
  LSettingsFlush();
  std::vector<double> micros;
  int i = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const int now = LUserSettingGet<int>("Settings", "Volume", 0);
    LUserSettingSet<int>("Settings", "Volume", (now + 1 + (i++ & 7)) % 45);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count());
    micros.push_back(took.count() * 1e6);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  LSettingsFlush();
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
  state.counters["max_us"] = micros.back();
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SettingChangeDuringDrag)->Arg(8)->Arg(3000)->UseManualTime()->Iterations(1000);

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
