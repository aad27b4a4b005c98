// A whole file put in place at once: the bytes go to a new, uniquely named
// temporary file in the target's folder, reach the disk, and only then take
// the target's name; the folder entry is synced too. Whatever stops the
// process, the name holds the old file or the new one, never a part of
// either, and a write that fails leaves no file behind.
//
// Every call answers 0 or an errno value (ENOSPC, EROFS, EACCES, EDQUOT...),
// so the caller can say why.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "soundfile/UniqueFile.h"  // LFolderOf

class LAtomicFile {
 public:
  LAtomicFile() = default;
  ~LAtomicFile() { Abandon(); }
  LAtomicFile(const LAtomicFile&) = delete;
  LAtomicFile& operator=(const LAtomicFile&) = delete;

  // Creates the temporary file in folder (see LCreateUniqueFile): hidden,
  // so listings skip it.
  int Create(const std::string& folder);
  // The open temporary file, for writers that stream into it.
  int Fd() const { return m_fd; }
  const std::string& TempPath() const { return m_temp; }
  // Appends bytes, all of them or an error.
  int Write(std::string_view bytes);
  // Gives the file these permission bits (a replaced file keeps its own).
  int SetMode(mode_t mode);
  // Syncs the file, then gives it target's name in the same folder:
  // replacing whatever regular file or symbolic link has that name (a link
  // is replaced, never written through), or, with replace false, only when
  // the name is free (EEXIST otherwise; the temporary file stays, so the
  // caller may try another name). Syncs the folder afterwards.
  int Commit(const std::string& target, bool replace);
  // Removes the temporary file unless it was committed.
  void Abandon();

 private:
  int Sync();
  int m_fd = -1;
  bool m_synced = false;
  std::string m_folder, m_temp;
};

// Appends the contents of the regular file at path: 0 or an errno value
// (EINVAL when path is a FIFO, device or folder, which is refused before
// it can block).
int LCopyFileContents(const std::string& path, LAtomicFile& to);
// A copy of the file at from named to, put in place as Commit does, with
// permission bits 0666 less the umask whatever from's are.
int LAtomicCopyFile(const std::string& from, const std::string& to);

// Writes bytes as a new file named target: replacing (see Commit) or only
// when the name is free. keepMode < 0 takes the umask's bits.
int LAtomicWriteFile(const std::string& target, std::string_view bytes, bool replace, int keepMode = -1);

// Renames only when to does not exist, atomically (two renames onto one name
// at once cannot overwrite each other): 0, EEXIST or another errno value.
int LRenameNoReplace(const std::string& from, const std::string& to);
