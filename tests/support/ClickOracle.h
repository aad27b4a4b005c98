// What a click track must sound, worked out from the musical rules alone
// (never from the engine's counters): the letters of a bar (A accent, B beat,
// c off-beat click) and the onsets of a track whose tempo, subdivision or
// measure changes at a beat.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/ExactGrid.h"

namespace test {

// A bar spelled from a measure's name: an accent opens every group of
// "7(3+4)", only the bar of "4", none for "None" (a bar of one beat).
inline std::string ExpectedBar(const std::string& name, int subdivisions) {
  int beats = 1;
  std::vector<int> accents = {0};
  if (name == "None") {
    accents.clear();
  } else {
    beats = name[0] - '0';
    if (name.size() > 1) accents.push_back(name[2] - '0');
  }
  std::string bar;
  for (int b = 0; b < beats; ++b) {
    bar += std::find(accents.begin(), accents.end(), b) != accents.end() ? 'A' : 'B';
    bar += std::string(static_cast<size_t>(subdivisions - 1), 'c');
  }
  return bar;
}

struct Meter {
  int bpm, clicksPerBeat;
  std::string measure;
};
struct Click {
  int64_t frame;
  char letter;
  bool operator==(const Click&) const = default;
};

// Clicks before `until` of a track that plays `before` from frame 0 and
// `after` from its first beat starting at or after frame `from`: that beat
// keeps its place in the bar, or is a downbeat when the new bar is shorter.
inline std::vector<Click> ExpectedChange(int rate, const Meter& before, const Meter& after, int64_t from,
                                         int64_t until) {
  std::vector<Click> out;
  const std::string bar0 = ExpectedBar(before.measure, before.clicksPerBeat);
  const int64_t beats0 = static_cast<int64_t>(bar0.size()) / before.clicksPerBeat;
  int64_t n = 0;  // the beat the change lands on
  while (ExactClick(n * before.clicksPerBeat, rate, before.bpm, before.clicksPerBeat) < from) ++n;
  for (int64_t j = 0; j < n * before.clicksPerBeat; ++j)
    out.push_back({ExactClick(j, rate, before.bpm, before.clicksPerBeat), bar0[static_cast<size_t>(j % bar0.size())]});
  const int64_t at = ExactClick(n * before.clicksPerBeat, rate, before.bpm, before.clicksPerBeat);
  const std::string bar1 = ExpectedBar(after.measure, 1);
  int64_t place = n % beats0;
  if (after.measure != before.measure && place >= static_cast<int64_t>(bar1.size())) place = 0;
  for (int64_t j = 0;; ++j) {
    const int64_t f = at + ExactClick(j, rate, after.bpm, after.clicksPerBeat);
    if (f >= until) break;
    const int64_t beat = place + j / after.clicksPerBeat;
    out.push_back({f, j % after.clicksPerBeat ? 'c' : bar1[static_cast<size_t>(beat % bar1.size())]});
  }
  while (!out.empty() && out.back().frame >= until) out.pop_back();
  return out;
}

// Onsets on channel 0 (silence then sound), each named by its letter from
// the 16-bit value of the constant sound that starts there.
inline std::vector<Click> Onsets(const std::vector<int>& samples, int channels, int accent, int beat, int click,
                                 int scale) {
  std::vector<Click> out;
  int previous = 0;
  for (size_t i = 0; i < samples.size(); i += static_cast<size_t>(channels)) {
    const int v = samples[i];
    if (previous == 0 && v != 0)
      out.push_back({static_cast<int64_t>(i / static_cast<size_t>(channels)), v == accent * scale  ? 'A'
                                                                              : v == beat * scale  ? 'B'
                                                                              : v == click * scale ? 'c'
                                                                                                   : '?'});
    previous = v;
  }
  return out;
}

}  // namespace test
