// What makes a file usable as one of the metronome's sounds, and how a
// chosen file is brought into the user's "Sound" folder, where the options
// record and the schemes name it by its file name alone.
#pragma once

#include <string>

// A click sound must end well inside the shortest slot the pattern gives it.
inline constexpr int kMaxSoundFileMs = 250;

// The file's length in whole milliseconds (frames * 1000 / rate, remainder
// dropped), or -1 when it does not open as a WAV source without error.
long long LSoundFileLengthMs(const char* path);
// Opens without error and lasts at most kMaxSoundFileMs.
bool LTestValidSoundFile(const char* path);

// The part of path after its last "/" or "\".
std::string LSoundFileBaseName(const std::string& path);

// Copies the file at path into the "Sound" folder of sharedFolder under its
// own file name, replacing a file of that name there. The copy is written
// beside the target and renamed over it, so a failed copy never leaves half
// a sound in place, and a file chosen from the "Sound" folder itself is left
// as it is. name receives the file name. 0, EINVAL when the name is not one
// a user sound may have, or the errno value that stopped the copy.
int LCopyUserSoundFile(const std::string& sharedFolder, const std::string& path, std::string& name);
