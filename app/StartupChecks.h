// What the program checks before the window reads anything, and what it
// tells the user about it.
#pragma once

#include <QString>

#include "store/DataFolders.h"

// What the user is told when the data folder cannot be set up.
QString MorvaneInstallProblemText(const LInstallProblem& problem);

// Brings each stored value the window shows within its control's range (a
// hand edit, another version); a text that is no number becomes the
// default. The message for the information strip naming each change, or an
// empty text when nothing was changed.
QString MorvaneRepairStoredValues();
