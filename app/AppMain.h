// The program entry: prepares the process, installs the user's data on
// first run, builds the main window and runs the event loop until it
// closes.
#pragma once

#include <functional>

class MainDialog;

// Why the program cannot start without a display, and how to run it anyway.
extern const char kNoDisplayMessage[];
extern const char kUsage[];

// True when Qt has somewhere to show a window: an X or Wayland display, a
// platform chosen in QT_QPA_PLATFORM, or one given with -platform.
bool MorvaneHasDisplay(int argc, char** argv);

// The whole program. started runs once the window stands and before the
// event loop, so that a test can drive the real program in-process.
// Returns the exit status: 0, 1 when it cannot start (it says why, on
// standard error and in a box), 2 for bad arguments.
int MorvaneMain(int argc, char** argv, const std::function<void(MainDialog&)>& started = {});
