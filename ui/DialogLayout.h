// Helpers for dialogs whose controls sit at fixed pixel rectangles: each
// control is named by its id, so tests and callers find it again.
#pragma once

#include <QString>

class QDialog;
class QLabel;
class QWidget;

// Puts control into parent at x, y with the given size (height -1: the
// control's own height) and names it by id (0: no name).
template <class T>
T* LPlace(QWidget* parent, T* control, int id, int x, int y, int width, int height = -1);
QWidget* LPlaceWidget(QWidget* parent, QWidget* control, int id, int x, int y, int width, int height);
QLabel* LPlaceLabel(QWidget* parent, const char* text, int id, int x, int y, int width, int height);
// A sunken horizontal line.
void LPlaceSeparator(QWidget* parent, int x, int y, int width);
// The row of Help, Cancel and OK at y; OK is the default button, Cancel
// rejects the dialog, and the other two call the given slots.
template <class OnHelp, class OnOk>
void LPlaceButtonRow(QDialog* dialog, int y, const char* okText, OnHelp onHelp, OnOk onOk);

// The control of that id below parent, nullptr when none.
QWidget* LFindControl(const QWidget* parent, int id);

#include "ui/DialogLayout.inl"
