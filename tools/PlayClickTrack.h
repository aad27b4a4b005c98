// morvane-render's device mode: list the audio outputs, or play the click
// track through the player on a Qt Core event loop, printing each time and
// level notification as a line, and the under-runs counted as the last.
#pragma once

#include <cstdio>
#include <string>

#include "tools/RenderOptions.h"

// Exit codes: 0 done, 1 nothing could be played.
int ListPlayDevices(std::FILE* out);
int PlayClickTrack(const RenderOptions& options, const std::string& soundFolder, std::FILE* out);
