// File helpers for the record store tests.
#pragma once

#include <string>

namespace test {

std::string ReadText(const std::string& path);
bool WriteText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);

}  // namespace test
