// A user at first start, away from the real home: an isolated home with the
// shipped data folder of the source tree and its default sounds installed.
#pragma once

#include <string>

#include "store/DataFolders.h"
#include "store/Presets.h"
#include "store/Profile.h"
#include "tests/support/TempDir.h"

namespace test {

class InstalledHome : public IsolatedHome {
 public:
  InstalledHome() : m_data("MORVANE_DATA_DIR", MORVANE_SOURCE_DATA_DIR), m_installed(LFileInstallSharedData()) {}
  // Whether the default sounds were installed; tests assert it in SetUp.
  bool Installed() const { return m_installed; }

  // A field of the options record in the shared folder, read and written
  // directly (what the sound page stores and the model reads).
  static std::string Option(const char* field) {
    LProfile profile(GetSharedDataFolderApp());
    LOptionsList list(profile);
    LOptions options;
    list.Open(options, options_field::kKey);
    return options.GetString(field);
  }
  static void SetOption(const char* field, const char* value) {
    LProfile profile(GetSharedDataFolderApp());
    LOptionsList list(profile);
    LOptions options;
    list.OpenAlways(options, options_field::kKey);
    options.SetString(field, value);
  }

 private:
  ScopedEnv m_data;
  bool m_installed;
};

}  // namespace test
