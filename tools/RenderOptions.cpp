#include "tools/RenderOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

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

int SoundIndex(const std::string& name) {
  if (name == "accent") return kAccent;
  if (name == "beat") return kBeat;
  if (name == "click") return kClick;
  return -1;
}

}  // namespace

int SubdivisionFromName(const std::string& name) {
  if (name == "None" || name == "none" || name == "1") return 1;
  if (name.size() == 1 && name[0] >= '2' && name[0] <= '8') return name[0] - '0';
  return -1;
}

const char* RenderUsage() {
  return "Usage: morvane-render [options] -o OUT.wav\n"
         "Writes a metronome click track to a WAV file.\n"
         "\n"
         "  --tempo BPM        beats per minute, 10 to 280 (default 120; others are clamped)\n"
         "  --measure NAME     None, 2, 3, 4, 5, 5(3+2), 5(2+3), 6, 7, 7(4+3), 7(3+4), 8 (default None)\n"
         "  --subdiv NAME      clicks per beat: None or 2 to 8 (default None)\n"
         "  --seconds S        length in seconds (default 30)\n"
         "  --bars N           length in whole bars instead (a bar of None is one beat)\n"
         "  --accent FILE      WAV file for the first beat of each group (default: shipped sound)\n"
         "  --beat FILE        WAV file for the other beats\n"
         "  --click FILE       WAV file for the subdivisions\n"
         "  --accent-db D      level of each sound in whole decibels, -127 (silent) to 127\n"
         "  --beat-db D\n"
         "  --click-db D\n"
         "  --format F         s16, s24, s32 or f32 (default s16)\n"
         "  -o, --output FILE  the WAV file to write\n"
         "  --play             play the track for --seconds through the audio output instead\n"
         "  --device NAME      output device to play through (default: the system's default)\n"
         "  --volume DB        output volume in whole decibels, -127 to 127 (default 0)\n"
         "  --list-devices     list the audio output devices, the default first\n"
         "  -h, --help         this text\n"
         "\n"
         "The track runs at the beat sound's sample rate; each sound is cut to half its slot and the\n"
         "result passes a peak limiter, so it never clips. MORVANE_AUDIO_CAPTURE=FILE.wav makes --play\n"
         "write what the audio output would play to FILE.wav (for machines without a sound card).\n";
}

bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& o, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      o.help = true;
      return true;
    }
    if (a == "--list-devices" || a == "--play") {
      (a == "--play" ? o.play : o.listDevices) = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = a.rfind('-', 0) == 0 ? "option " + a + " needs a value" : "unexpected argument '" + a + "'";
      return false;
    }
    const std::string& v = args[++i];
    long n = 0;
    double d = 0;
    if (a == "--tempo") {
      if (!ParseDouble(v, d)) return error = "tempo '" + v + "' is not a number", false;
      o.tempo = static_cast<int>(std::lround(d < 10 ? 10 : d > 280 ? 280 : d));
    } else if (a == "--measure") {
      o.measure = LMetronomeAdvanced::MeasureIndex(v);
      if (o.measure < 0) return error = "unknown measure '" + v + "' (see --help)", false;
    } else if (a == "--subdiv") {
      o.subdivisions = SubdivisionFromName(v);
      if (o.subdivisions < 0) return error = "unknown subdivision '" + v + "' (None or 2 to 8)", false;
    } else if (a == "--seconds") {
      if (!ParseDouble(v, d) || d <= 0 || d > 86400)
        return error = "seconds '" + v + "' must be a number above 0 and at most 86400", false;
      o.seconds = d;
    } else if (a == "--bars") {
      if (!ParseInt(v, n) || n < 1 || n > 100000) return error = "bars '" + v + "' must be 1 to 100000", false;
      o.bars = static_cast<int>(n);
    } else if (a == "--accent" || a == "--beat" || a == "--click") {
      if (v.empty()) return error = "option " + a + " needs a file name", false;
      o.sound[SoundIndex(a.substr(2))] = v;
    } else if (a == "--accent-db" || a == "--beat-db" || a == "--click-db") {
      if (!ParseInt(v, n) || n < -127 || n > 127)
        return error = "level '" + v + "' for " + a + " must be a whole number from -127 to 127", false;
      o.level[SoundIndex(a.substr(2, a.size() - 5))] = static_cast<int>(n);
    } else if (a == "--format") {
      if (!LWaveWriterFormatFromName(v, o.format))
        return error = "unknown format '" + v + "' (s16, s24, s32, f32)", false;
      o.formatGiven = true;
    } else if (a == "--device") {
      o.device = v;
    } else if (a == "--volume") {
      if (!ParseInt(v, n) || n < -127 || n > 127)
        return error = "volume '" + v + "' must be a whole number of decibels from -127 to 127", false;
      o.volume = static_cast<int>(n);
    } else if (a == "-o" || a == "--output") {
      if (v.empty()) return error = "output file name is empty", false;
      o.output = v;
    } else {
      error = "unknown option '" + a + "' (see --help)";
      return false;
    }
  }
  if (o.output.empty() && !o.play && !o.listDevices) {
    error = "no output file given (-o OUT.wav)";
    return false;
  }
  return true;
}
