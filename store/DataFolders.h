// The folders the application keeps its files in: the per-user data folder
// under the XDG data home, the shared data folder holding the record lists
// and sounds, and the program's own data (the shipped default sounds).
#pragma once

#include <string>
#include <vector>

// The three default sounds, in the "metronome" folder of both the program's
// data folder and the shared data folder.
inline constexpr const char* kDefaultSoundFiles[3] = {"accent.wav", "beat.wav", "click.wav"};
inline constexpr const char* kDefaultSoundFolder = "metronome";
inline constexpr const char* kUserSoundFolder = "Sound";

// The path of a user sound named by a scheme or the options record: a plain
// file name in the shared data folder's "Sound". Empty for anything else
// ("", ".", "..", names with "/"), so a hand-edited record cannot make the
// program read a file outside that folder.
std::string UserSoundFilePath(const std::string& sharedFolder, const std::string& fileName);
// The path of a default sound in the shared data folder's "metronome".
std::string DefaultSoundFilePath(const std::string& sharedFolder, const char* fileName);

// $HOME when it is an absolute path, else the home the password database
// gives the user; empty when neither names one.
std::string LUserHomeFolder();
// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::string GetUserAppSupportFolder();
// "Morvane" in the user's data home, created when missing.
std::string GetUserDataFolderApp();
// "Shared" in the user data folder, created when missing.
std::string GetSharedDataFolderApp();

// Where the program's data may be, in order of preference.
struct LProgramDataCandidates {
  std::string overrideDir;               // MORVANE_DATA_DIR: taken as it is
  std::string exeDir;                    // <exeDir>/../share/morvane (or an older share/Morvane)
  std::vector<std::string> builtInDirs;  // folders known at build time, when they exist
  std::string xdgDataDirs;               // first "<dir>/morvane" or "<dir>/Morvane" that exists
};
std::string PickProgramDataFolder(const LProgramDataCandidates& candidates);
// The program's data folder for this process; empty when none is found.
std::string GetProgramDataFolder();

// Once per user: when the shared data folder does not exist yet, fills it
// with a copy of the program's data folder, then leaves the marker
// ".SharedFolderMigrated" in it. True when this call copied the folder.
bool LFileMigrateSharedSettings();

// Why the user's data could not be put in place.
struct LInstallProblem {
  enum Kind {
    kNone,
    kFolder,        // path cannot be created (error), or is a file (ENOTDIR)
    kShippedSound,  // the program's own copy of a default sound is missing
    kCopy,          // path could not be written (error)
  };
  Kind kind = kNone;
  std::string path;
  int error = 0;
};

// Every start: copies each default sound missing from the shared data
// folder's "metronome" from the program's data folder and creates "Sound".
// A copy the program made and the user left alone is refreshed when the
// shipped sound changes; a file the user replaced is kept. The digests of
// the copies made are kept in "metronome/.shipped". True when afterwards all
// three default sounds and "Sound" are in place; otherwise problem, when
// given, says what is missing first and why.
bool LFileInstallSharedData(LInstallProblem* problem = nullptr);
inline constexpr const char* kShippedDigestsFile = ".shipped";
