#include "engine/PracticePlan.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kTempoMin = 10, kTempoMax = 280;

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == ':')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

// Digits only: no sign, no blanks, no fraction; at most 9 of them.
bool ParseCount(const std::string& text, long& value) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  value = std::strtol(text.c_str(), nullptr, 10);
  return true;
}

bool InRange(long v, long lo, long hi) { return v >= lo && v <= hi; }

std::string Range(const char* what, long lo, long hi) {
  return std::string(what) + " must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
}

// splitmix64's finaliser: a well-mixed 64-bit value of the seed and the beat,
// the same on every platform.
uint64_t Mix(uint64_t x) {
  x += 0x9e3779b97f4a7c15ull;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
  return x ^ (x >> 31);
}

}  // namespace

bool LPracticePlan::AnyOn() const {
  return countInBars > 0 || ramp.On() || gap.On() || randomMutePercent > 0 || timerSeconds > 0;
}

int LPracticePlan::RampStages() const {
  if (!ramp.On() || ramp.step <= 0) return 1;
  const int span = ramp.end > ramp.start ? ramp.end - ramp.start : ramp.start - ramp.end;
  return (span + ramp.step - 1) / ramp.step + 1;
}

int LPracticePlan::TempoOfBar(long long bar, int baseTempo) const {
  if (!ramp.On()) return baseTempo;
  if (bar < countInBars) return ramp.start;
  const long long stage = (bar - countInBars) / ramp.bars;
  const long long span = ramp.end > ramp.start ? ramp.end - ramp.start : ramp.start - ramp.end;
  const long long moved = stage * ramp.step < span ? stage * ramp.step : span;
  // A step that does not divide the span ends on the end tempo exactly.
  return static_cast<int>(ramp.end > ramp.start ? ramp.start + moved : ramp.start - moved);
}

bool LPracticePlan::BarMuted(long long bar) const {
  if (!gap.On() || bar < countInBars) return false;
  return (bar - countInBars) % (gap.play + gap.mute) >= gap.play;
}

bool LPracticePlan::BeatMuted(long long beat) const {
  if (randomMutePercent <= 0 || beat < 0) return false;
  const uint64_t x = Mix((static_cast<uint64_t>(randomSeed) << 32) ^ Mix(static_cast<uint64_t>(beat)));
  return static_cast<int>(x % 100) < randomMutePercent;
}

long long LPracticePlan::TotalBars() const {
  if (!ramp.On() || !ramp.stopAtEnd) return -1;
  return countInBars + static_cast<long long>(RampStages()) * ramp.bars;
}

bool LPracticePlan::NextChange(long long bar, int& barsLeft, int& nextTempo) const {
  if (!ramp.On()) return false;
  const long long p = bar < countInBars ? 0 : bar - countInBars;
  const long long stage = p / ramp.bars;
  if (stage + 1 >= RampStages()) return false;
  barsLeft = static_cast<int>((stage + 1) * ramp.bars - p + (bar < countInBars ? countInBars - bar : 0));
  nextTempo = TempoOfBar(countInBars + (stage + 1) * ramp.bars, 0);
  return true;
}

std::string LPracticePlan::Check() const {
  if (!InRange(countInBars, 0, kMaxCountIn)) return Range("count-in bars", 0, kMaxCountIn);
  if (ramp.On()) {
    if (!InRange(ramp.start, kTempoMin, kTempoMax)) return "speed trainer: " + Range("start tempo", 10, 280);
    if (!InRange(ramp.end, kTempoMin, kTempoMax)) return "speed trainer: " + Range("end tempo", 10, 280);
    if (!InRange(ramp.step, 1, kTempoMax - kTempoMin)) return "speed trainer: " + Range("step", 1, 270);
    if (!InRange(ramp.bars, 1, kMaxRampBars)) return "speed trainer: " + Range("bars", 1, kMaxRampBars);
  } else if (ramp.bars < 0) {
    return "speed trainer: " + Range("bars", 1, kMaxRampBars);
  }
  if (gap.play != 0 || gap.mute != 0) {
    if (!InRange(gap.play, 1, kMaxGapBars)) return "gap trainer: " + Range("bars played", 1, kMaxGapBars);
    if (!InRange(gap.mute, 1, kMaxGapBars)) return "gap trainer: " + Range("bars muted", 1, kMaxGapBars);
  }
  if (!InRange(randomMutePercent, 0, kMaxRandomMute)) return "random mute: " + Range("percent", 0, kMaxRandomMute);
  if (!InRange(timerSeconds, 0, kMaxTimerSeconds)) return "timer: must be at most 24 hours";
  return {};
}

bool LPracticePlan::ParseCountIn(const std::string& text, int& out, std::string& error) {
  long n = 0;
  if (!ParseCount(text, n) || !InRange(n, 0, kMaxCountIn))
    return error = "'" + text + "': " + Range("bars", 0, kMaxCountIn), false;
  out = static_cast<int>(n);
  return true;
}

bool LPracticePlan::ParseRamp(const std::string& text, LPracticeRamp& out, std::string& error) {
  const std::vector<std::string> p = Split(text);
  const std::string quoted = "'" + text + "': ";
  if (p.size() != 4) return error = quoted + "needs START:END:STEP:BARS", false;
  const char* names[4] = {"start tempo", "end tempo", "step", "bars"};
  const long lo[4] = {kTempoMin, kTempoMin, 1, 1};
  const long hi[4] = {kTempoMax, kTempoMax, kTempoMax - kTempoMin, kMaxRampBars};
  long v[4] = {};
  for (int i = 0; i < 4; ++i)
    if (!ParseCount(p[i], v[i]) || !InRange(v[i], lo[i], hi[i]))
      return error = quoted + Range(names[i], lo[i], hi[i]), false;
  out.start = static_cast<int>(v[0]);
  out.end = static_cast<int>(v[1]);
  out.step = static_cast<int>(v[2]);
  out.bars = static_cast<int>(v[3]);
  return true;
}

bool LPracticePlan::ParseGap(const std::string& text, LPracticeGap& out, std::string& error) {
  const std::vector<std::string> p = Split(text);
  const std::string quoted = "'" + text + "': ";
  if (p.size() != 2) return error = quoted + "needs PLAY:MUTE", false;
  long play = 0, mute = 0;
  if (!ParseCount(p[0], play) || !InRange(play, 1, kMaxGapBars))
    return error = quoted + Range("bars played", 1, kMaxGapBars), false;
  if (!ParseCount(p[1], mute) || !InRange(mute, 1, kMaxGapBars))
    return error = quoted + Range("bars muted", 1, kMaxGapBars), false;
  out.play = static_cast<int>(play);
  out.mute = static_cast<int>(mute);
  return true;
}

bool LPracticePlan::ParseRandomMute(const std::string& text, int& percent, uint32_t& seed, std::string& error) {
  const std::vector<std::string> p = Split(text);
  const std::string quoted = "'" + text + "': ";
  if (p.size() > 2) return error = quoted + "needs PERCENT or PERCENT:SEED", false;
  long pc = 0;
  if (!ParseCount(p[0], pc) || !InRange(pc, 0, kMaxRandomMute))
    return error = quoted + Range("percent", 0, kMaxRandomMute), false;
  unsigned long long s = 1;
  if (p.size() == 2) {
    errno = 0;
    char* end = nullptr;
    const bool digits = !p[1].empty() && p[1].find_first_not_of("0123456789") == std::string::npos;
    s = digits ? std::strtoull(p[1].c_str(), &end, 10) : 0;
    if (!digits || errno != 0 || s > 0xffffffffull) return error = quoted + Range("seed", 0, 4294967295L), false;
  }
  percent = static_cast<int>(pc);
  seed = static_cast<uint32_t>(s);
  return true;
}

bool LPracticePlan::ParseTimer(const std::string& text, int& seconds, std::string& error) {
  const std::vector<std::string> p = Split(text);
  const std::string bad = "'" + text + "': a practice time is mm:ss or h:mm:ss, from 0:01 to 24:00:00";
  if (p.size() < 2 || p.size() > 3) return error = bad, false;
  long v[3] = {0, 0, 0};
  const size_t first = 3 - p.size();  // h, m, s aligned to the right
  for (size_t i = 0; i < p.size(); ++i)
    if (!ParseCount(p[i], v[first + i])) return error = bad, false;
  // Minutes run past 59 only when no hours are given ("90:00").
  if (v[2] > 59 || (p.size() == 3 && v[1] > 59)) return error = bad, false;
  const long total = v[0] * 3600 + v[1] * 60 + v[2];
  if (!InRange(total, 1, kMaxTimerSeconds)) return error = bad, false;
  seconds = static_cast<int>(total);
  return true;
}

std::string LPracticePlan::FormatTime(long long seconds) {
  if (seconds < 0) seconds = 0;
  char text[32];
  const long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  if (h > 0)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", h, m, s);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", m, s);
  return text;
}
