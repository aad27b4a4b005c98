// File helpers for the record store tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace test {

inline std::string ReadText(const std::string& path) {
  std::ostringstream s;
  s << std::ifstream(path, std::ios::binary).rdbuf();
  return s.str();
}
inline bool WriteText(const std::string& path, const std::string& text) {
  return static_cast<bool>(std::ofstream(path, std::ios::binary) << text);
}
inline bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

}  // namespace test
