// Where windows open: whole on a screen, whatever the screens, the scale
// or the placement kept from another run.
#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

class QWidget;

enum LFitMode {
  kFitKeepPlace,  // stay where asked, moved only as far as needed
  kFitCentreTop,  // centred at the top of the first screen
};

// Every screen's available area, the primary screen first.
QList<QRect> LAvailableScreens();

// The place for a window asked for at wanted (its frame's top-left corner
// and its size inside the frame) among screens: on the screen it overlaps
// most (the first when none), shrunk to fit and moved inside with room for
// the window manager's frame around it. A place on no screen at all is
// centred on the first one.
QRect LFitOnScreens(QRect wanted, const QList<QRect>& screens, LFitMode mode, QMargins frame);

// The frame around window: the real one once it is shown, else room for a
// title bar as the style knows it.
QMargins LFrameMargins(const QWidget* window);
// After showing: moves and shrinks window, if needed, until its frame lies
// whole on the screen it is on most.
void LKeepOnScreen(QWidget* window);

// Moves window (not yet shown) centred over parent, whole on parent's
// screen; with no parent, centred on the primary screen.
void LPlaceOver(QWidget* window, const QWidget* parent);
