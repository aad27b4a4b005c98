// A temporary folder removed with its contents at the end of a test, and an
// environment that keeps tests away from the real user's files.
#pragma once

#include <string>

namespace test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

// Sets an environment variable for the lifetime of the object and restores
// it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* m_name;
  std::string m_saved;
  bool m_had;
};

// Points HOME, XDG_CONFIG_HOME and XDG_DATA_HOME into a fresh temporary
// folder for the lifetime of the object and restores them afterwards.
class IsolatedHome {
 public:
  IsolatedHome();
  ~IsolatedHome();
  const TempDir& Dir() const { return m_dir; }

 private:
  TempDir m_dir;
  std::string m_saved[3];
  bool m_had[3] = {};
};

}  // namespace test
