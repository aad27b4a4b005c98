#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>

namespace test {

TempDir::TempDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "morvane-test-XXXXXX").string();
  if (char* p = ::mkdtemp(templ.data())) m_path = p;
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name) {
  const char* old = std::getenv(name);
  m_had = old != nullptr;
  if (old) m_saved = old;
  ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() { m_had ? ::setenv(m_name, m_saved.c_str(), 1) : ::unsetenv(m_name); }

namespace {
const char* const kVars[3] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"};
}

IsolatedHome::IsolatedHome() {
  for (int i = 0; i < 3; ++i) {
    if (const char* v = std::getenv(kVars[i])) {
      m_saved[i] = v;
      m_had[i] = true;
    }
  }
  std::filesystem::create_directories(m_dir.File("config"));
  std::filesystem::create_directories(m_dir.File("data"));
  ::setenv("HOME", m_dir.Path().c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", m_dir.File("config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", m_dir.File("data").c_str(), 1);
}

IsolatedHome::~IsolatedHome() {
  for (int i = 0; i < 3; ++i) {
    if (m_had[i])
      ::setenv(kVars[i], m_saved[i].c_str(), 1);
    else
      ::unsetenv(kVars[i]);
  }
}

}  // namespace test
