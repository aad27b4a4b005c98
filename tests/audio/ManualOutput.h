// A low-level output over a hand-driven unit and a one-device list, for tests
// that drive the render callback themselves.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "audio/SoundPlayerLLCA.h"
#include "tests/audio/AudioTestSupport.h"

namespace test {

struct ManualOutput {
  explicit ManualOutput(int deviceChannels = 2) {
    auto u = std::make_unique<ManualUnit>(deviceChannels);
    unit = u.get();
    llca = std::make_unique<LSoundPlayerLLCA>(workerRunning, std::move(u));
  }
  // Queues source (pre-fill) and starts the "device".
  void Play(LSoundSource source) {
    ASSERT_TRUE(llca->Init(source, 0));
    workerRunning.Set();
    llca->Start();
    ASSERT_EQ(llca->GetState(), LSoundPlayerLLCA::kRunning);
  }
  unsigned long Render(std::vector<int>& out, int frames, int channels) {
    out.assign(static_cast<size_t>(frames) * channels, -1);
    unsigned long bytes = out.size() * 4;
    llca->Render(out.data(), frames, &bytes, false);
    return bytes;
  }

  ScriptedDevices devices{{{7, "Test Out", 8}}, 7};
  LSignalObject workerRunning;
  ManualUnit* unit;
  std::unique_ptr<LSoundPlayerLLCA> llca;
};

}  // namespace test
