// The program's help pages: short HTML files in the "help" folder of the
// program's data, shown in a window of their own beside the window that
// asked for them.
#pragma once

#include <QString>

class QWidget;

// The page's file, empty when the program's data has none of that name.
QString LHelpPagePath(const QString& topic);
// Shows the page (or a note that it is missing) in a window owned by
// parent, which stays usable while parent is modal; the window deletes
// itself when closed.
QWidget* LShowHelp(QWidget* parent, const QString& topic);
