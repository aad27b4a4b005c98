// morvane-render: writes a click track to a WAV file, for importing a click
// into a recording program, or plays it through an audio output device.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/ClickTrackRender.h"
#include "tools/PlayClickTrack.h"
#include "tools/RenderOptions.h"

namespace {

// The shipped sounds: MORVANE_DATA_DIR, else the installed share/Morvane
// beside the program, else the source tree's data folder.
std::string SoundFolder() {
  namespace fs = std::filesystem;
  if (const char* env = std::getenv("MORVANE_DATA_DIR"); env && *env) return std::string(env) + "/metronome";
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path installed = exe.parent_path().parent_path() / "share/Morvane/metronome";
    if (fs::is_directory(installed, ec)) return installed.string();
  }
  return std::string(MORVANE_SOURCE_DATA_DIR) + "/metronome";
}

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
  if (options.listDevices) return ListPlayDevices(stdout);
  if (options.play) return PlayClickTrack(options, SoundFolder(), stdout);
  RenderSummary summary;
  if (!RenderClickTrack(options, SoundFolder(), summary, error)) {
    std::fprintf(stderr, "morvane-render: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s: %lld frames, %d Hz, %d channel(s), click every %d frames\n", options.output.c_str(),
              summary.frames, summary.sampleRate, summary.channels, summary.clickInterval);
  return 0;
}
