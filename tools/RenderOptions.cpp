#include "tools/RenderOptions.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "engine/MetronomeAdvanced.h"

namespace {

bool ParseInt(const std::string& text, long& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return errno == 0 && end && *end == '\0';
}

bool ParseDouble(const std::string& text, double& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return errno == 0 && end && *end == '\0' && std::isfinite(value);
}

// A whole number in [low, high], or false.
bool ParseIntIn(const std::string& text, long low, long high, int& value) {
  long n = 0;
  if (!ParseInt(text, n) || n < low || n > high) return false;
  value = static_cast<int>(n);
  return true;
}

// What one option sees: its own spelling, its value (empty for flags), the
// options being filled and the place for the one-line reason.
struct OptionCall {
  const std::string& option;
  const std::string& value;
  RenderOptions& o;
  std::string& error;
  bool Refuse(const std::string& reason) const {
    error = reason;
    return false;
  }
};

using ApplyOption = bool (*)(const OptionCall&);

// One row per option. The rows also print the usage text, in this order:
// names (comma-separated spellings) and the value's placeholder (empty for a
// flag) fill the first 19 columns, help the rest (empty continues the row above).
struct OptionRow {
  std::string_view names;
  std::string_view value;
  std::string_view help;
  ApplyOption apply;
  bool endsParsing = false;  // the rest of the line is ignored (help)
};

bool SetSound(const OptionCall& c, int which) {
  if (c.value.empty()) return c.Refuse("option " + c.option + " needs a file name");
  c.o.sound[which] = c.value;
  return true;
}

bool SetLevel(const OptionCall& c, int which) {
  if (!ParseIntIn(c.value, -127, 127, c.o.level[which]))
    return c.Refuse("level '" + c.value + "' for " + c.option + " must be a whole number from -127 to 127");
  return true;
}

// The practice options share their text forms with the window.
template <typename T>
bool PracticeValue(const OptionCall& c, bool (*parse)(const std::string&, T&, std::string&), T& out) {
  std::string why;
  return parse(c.value, out, why) || c.Refuse(c.option + " " + why);
}

constexpr OptionRow kOptions[] = {
    {"--tempo", "BPM", "beats per minute, 10 to 280 (default 120; others are clamped)",
     [](const OptionCall& c) {
       double d = 0;
       if (!ParseDouble(c.value, d)) return c.Refuse("tempo '" + c.value + "' is not a number");
       c.o.tempo = static_cast<int>(std::lround(d < 10 ? 10 : d > 280 ? 280 : d));
       return true;
     }},
    {"--measure", "NAME", "None, or 1 to 16 beats with their groups: 4, 7(3+4), 9(2+2+2+3) (default None)",
     [](const OptionCall& c) {
       if (!ParseMeasureOption(c.value, c.o.rhythm, c.error)) return false;
       c.o.measure = std::max(c.o.rhythm.measure.LegacyIndex(), 0);
       return true;
     }},
    {"--pattern", "STR", "one letter a beat: D downbeat, A accent, b beat, . mute (sets the beats a bar)",
     [](const OptionCall& c) { return ParsePatternOption(c.value, c.o.rhythm, c.error); }},
    {"--subdiv", "NAME", "clicks per beat: None or 2 to 8 (default None)",
     [](const OptionCall& c) {
       c.o.subdivisions = SubdivisionFromName(c.value);
       return c.o.subdivisions >= 0 || c.Refuse("unknown subdivision '" + c.value + "' (None or 2 to 8)");
     }},
    {"--swing", "PERCENT", "off-beat of 2 or 4 clicks a beat at 50 (straight) to 75 % of the beat",
     [](const OptionCall& c) { return ParseSwingOption(c.value, c.o.rhythm, c.error); }},
    {"--seconds", "S", "length in seconds (default 30)",
     [](const OptionCall& c) {
       double d = 0;
       if (!ParseDouble(c.value, d) || d <= 0 || d > 86400)
         return c.Refuse("seconds '" + c.value + "' must be a number above 0 and at most 86400");
       c.o.seconds = d;
       c.o.secondsGiven = true;
       return true;
     }},
    {"--rate", "HZ", "sample rate of the track, 8000 to 384000 (default: the beat sound's)",
     [](const OptionCall& c) {
       return ParseIntIn(c.value, 8000, 384000, c.o.rate) ||
              c.Refuse("rate '" + c.value + "' must be a whole number from 8000 to 384000");
     }},
    {"--bars", "N", "length in whole bars instead (a bar of None is one beat)",
     [](const OptionCall& c) {
       return ParseIntIn(c.value, 1, 100000, c.o.bars) || c.Refuse("bars '" + c.value + "' must be 1 to 100000");
     }},
    {"--count-in", "BARS", "0 to 4 bars of beats, first beat accented, before the track; --bars counts",
     [](const OptionCall& c) { return PracticeValue(c, &LPracticePlan::ParseCountIn, c.o.practice.countInBars); }},
    {"", "", "the bars after them, --seconds the whole file", nullptr},
    {"--ramp", "START:END:STEP:BARS", "",
     [](const OptionCall& c) { return PracticeValue(c, &LPracticePlan::ParseRamp, c.o.practice.ramp); }},
    {"", "", "speed trainer: BARS bars at START bpm, then STEP bpm nearer END every BARS bars;", nullptr},
    {"", "", "END holds to the end of the file, or without --bars and --seconds for BARS bars", nullptr},
    {"--gap", "PLAY:MUTE", "gap trainer: PLAY bars heard, then MUTE bars silent (1 to 16 each)",
     [](const OptionCall& c) { return PracticeValue(c, &LPracticePlan::ParseGap, c.o.practice.gap); }},
    {"--random-mute", "PERCENT[:SEED]", "",
     [](const OptionCall& c) {
       std::string why;
       return LPracticePlan::ParseRandomMute(c.value, c.o.practice.randomMutePercent, c.o.practice.randomSeed, why) ||
              c.Refuse(c.option + " " + why);
     }},
    {"", "", "mute each beat after the count-in by chance, 0 to 50 %; the same SEED (default 1)", nullptr},
    {"", "", "mutes the same beats", nullptr},
    {"--accent", "FILE", "WAV file for the first beat of each group (default: shipped sound)",
     [](const OptionCall& c) { return SetSound(c, kAccent); }},
    {"--beat", "FILE", "WAV file for the other beats", [](const OptionCall& c) { return SetSound(c, kBeat); }},
    {"--click", "FILE", "WAV file for the subdivisions", [](const OptionCall& c) { return SetSound(c, kClick); }},
    {"--accent-db", "D", "level of each sound in whole decibels, -127 (silent) to 127",
     [](const OptionCall& c) { return SetLevel(c, kAccent); }},
    {"--beat-db", "D", "", [](const OptionCall& c) { return SetLevel(c, kBeat); }},
    {"--click-db", "D", "", [](const OptionCall& c) { return SetLevel(c, kClick); }},
    {"--downbeat-db", "D", "the downbeat's level above the accent level, -127 to 127 (default 4)",
     [](const OptionCall& c) { return ParseDownbeatOption(c.value, c.o.rhythm, c.error); }},
    {"--format", "F", "s16, s24, s32 or f32 (default s16)",
     [](const OptionCall& c) {
       if (!LWaveWriterFormatFromName(c.value, c.o.format))
         return c.Refuse("unknown format '" + c.value + "' (s16, s24, s32, f32)");
       c.o.formatGiven = true;
       return true;
     }},
    {"-o, --output", "FILE", "the WAV file to write (a new name or a regular file); - for standard output",
     [](const OptionCall& c) {
       if (c.value.empty()) return c.Refuse("output file name is empty");
       c.o.output = c.value;
       return true;
     }},
    {"--play", "", "play the track for --seconds through the audio output instead",
     [](const OptionCall& c) { return c.o.play = true; }},
    {"--device", "NAME", "output device to play through (default: the system's default)",
     [](const OptionCall& c) {
       c.o.device = c.value;
       return true;
     }},
    {"--volume", "DB", "output volume in whole decibels, -127 to 127 (default 0)",
     [](const OptionCall& c) {
       return ParseIntIn(c.value, -127, 127, c.o.volume) ||
              c.Refuse("volume '" + c.value + "' must be a whole number of decibels from -127 to 127");
     }},
    {"--list-devices", "", "list the audio output devices, the default first",
     [](const OptionCall& c) { return c.o.listDevices = true; }},
    {"-h, --help", "", "this text", [](const OptionCall& c) { return c.o.help = true; }, true},
    {"--version", "", "the program's version", [](const OptionCall& c) { return c.o.version = true; }, true},
};

// Whether arg is one of the row's comma-separated spellings.
bool Spells(const OptionRow& row, std::string_view arg) {
  std::string_view names = row.names;
  while (!names.empty()) {
    const size_t comma = names.find(',');
    if (names.substr(0, comma) == arg) return true;
    if (comma == std::string_view::npos) break;
    names.remove_prefix(comma + 1);
    while (!names.empty() && names.front() == ' ') names.remove_prefix(1);
  }
  return false;
}

const OptionRow* FindOption(std::string_view arg) {
  for (const OptionRow& row : kOptions)
    if (Spells(row, arg)) return &row;
  return nullptr;
}

std::string BuildUsage() {
  std::string text =
      "Usage: morvane-render [options] -o OUT.wav\n"
      "Writes a metronome click track to a WAV file.\n"
      "\n";
  for (const OptionRow& row : kOptions) {
    std::string left = "  " + std::string(row.names);
    if (!row.value.empty()) left += " " + std::string(row.value);
    if (!row.help.empty()) left.resize(std::max<size_t>(left.size() + 2, 21), ' ');
    text += left + std::string(row.help) + "\n";
  }
  text +=
      "\n"
      "The track runs at the beat sound's sample rate; each sound is cut to half its slot and the\n"
      "result passes a peak limiter, so it never clips. MORVANE_AUDIO_CAPTURE=FILE.wav makes --play\n"
      "write what the audio output would play to FILE.wav (for machines without a sound card).\n"
      "A WAV file holds at most 4 GiB of samples (about 13.5 hours of s16 mono at 44.1 kHz); longer tracks\n"
      "are refused before rendering.\n";
  return text;
}

}  // namespace

int SubdivisionFromName(const std::string& name) {
  if (name == "None" || name == "none" || name == "1") return 1;
  if (name.size() == 1 && name[0] >= '2' && name[0] <= '8') return name[0] - '0';
  return -1;
}

const char* RenderUsage() {
  static const std::string usage = BuildUsage();
  return usage.c_str();
}

bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& o, std::string& error) {
  static const std::string kNoValue;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const OptionRow* row = FindOption(a);
    if (row && row->value.empty()) {
      row->apply({a, kNoValue, o, error});
      if (row->endsParsing) return true;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = a.rfind('-', 0) == 0 ? "option " + a + " needs a value" : "unexpected argument '" + a + "'";
      return false;
    }
    const std::string& v = args[++i];
    if (!row) {
      error = "unknown option '" + a + "' (see --help)";
      return false;
    }
    if (!row->apply({a, v, o, error})) return false;
  }
  if (o.output.empty() && !o.play && !o.listDevices) {
    error = "no output file given (-o OUT.wav)";
    return false;
  }
  return true;
}
