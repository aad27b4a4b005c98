#include "tools/RhythmOptions.h"

#include <cerrno>
#include <cstdlib>

bool ParseMeasureOption(const std::string& value, RhythmRenderOptions& r, std::string& error) {
  if (LMeasure::Parse(value, r.measure, error)) return true;
  error = "--measure: " + error;
  return false;
}

bool ParsePatternOption(const std::string& value, RhythmRenderOptions& r, std::string& error) {
  if (!LBeatPattern::Parse(value, r.pattern, error)) {
    error = "--pattern: " + error;
    return false;
  }
  r.patternGiven = true;
  return true;
}

bool ParseSwingOption(const std::string& value, RhythmRenderOptions& r, std::string& error) {
  if (LParseSwing(value, r.swing, error)) return true;
  error = "--swing: " + error;
  return false;
}

bool ParseDownbeatOption(const std::string& value, RhythmRenderOptions& r, std::string& error) {
  errno = 0;
  char* end = nullptr;
  const long db = value.empty() ? 0 : std::strtol(value.c_str(), &end, 10);
  if (value.empty() || errno != 0 || *end != '\0' || db < -127 || db > 127) {
    error = "--downbeat-db: '" + value + "' must be a whole number of decibels from -127 to 127";
    return false;
  }
  r.downbeatDb = static_cast<int>(db);
  return true;
}
