// morvane-render: writes a click track to a WAV file, for importing a click
// into a recording program, or plays it through an audio output device.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/DataFolders.h"
#include "tools/ClickTrackRender.h"
#include "tools/PlayClickTrack.h"
#include "tools/RenderOptions.h"

namespace {

// The shipped sounds, in the program's data folder (installed or source tree).
std::string SoundFolder() { return GetProgramDataFolder() + "/" + kDefaultSoundFolder; }

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  RenderOptions options;
  std::string error;
  if (!ParseRenderOptions(args, options, error)) {
    std::fprintf(stderr, "morvane-render: %s\nTry 'morvane-render --help'.\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(RenderUsage(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts("morvane-render " MORVANE_VERSION);
    return 0;
  }
  if (options.listDevices) return ListPlayDevices(stdout);
  if (options.play) return PlayClickTrack(options, SoundFolder(), stdout);
  RenderSummary summary;
  if (!RenderClickTrack(options, SoundFolder(), summary, error)) {
    std::fprintf(stderr, "morvane-render: %s\n", error.c_str());
    return 1;
  }
  // With -o - the track itself is on standard output.
  std::FILE* report = options.output == "-" ? stderr : stdout;
  std::fprintf(report, "%s: %lld frames, %d Hz, %d channel(s), click every %d frames\n", options.output.c_str(),
               summary.frames, summary.sampleRate, summary.channels, summary.clickInterval);
  return 0;
}
