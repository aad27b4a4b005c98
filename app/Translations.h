// The program's translations and Qt's own, for the user's language.
#pragma once

#include <QLocale>
#include <QStringList>

class QCoreApplication;

// What MorvaneInstallTranslations found.
struct LTranslationsLoaded {
  QString program;  // the catalogue file of the program's texts, empty when none
  QString toolkit;  // Qt's catalogue for its own dialogs and buttons, empty when none
};

// Folders with the program's catalogues (morvane_<language>.qm), in order:
// the program data folder's "translations", then the build tree's.
QStringList MorvaneTranslationFolders();

// Installs on app the first program catalogue in folders that matches one of
// locale's languages, and Qt's base catalogue for it. English, the language
// of the sources, needs none.
LTranslationsLoaded MorvaneInstallTranslations(QCoreApplication& app, const QLocale& locale,
                                               const QStringList& folders);
