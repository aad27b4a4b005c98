// The audio editor offered for sound files that are too long or cannot be
// read: one found on the PATH, or none. Without one the program only
// informs and offers no editing.
#pragma once

#include <QString>

struct LSoundEditor {
  QString name;     // shown to the user, "Audacity"
  QString program;  // full path of the executable
  QString homePage;

  bool IsAvailable() const { return !program.isEmpty(); }
  // Starts the editor, with a file when one is given; false when it could
  // not be started.
  bool Launch(const QString& file = QString()) const;
};

// The editor found now (looked up at each call: it may be installed while
// the program runs).
LSoundEditor LFindSoundEditor();
