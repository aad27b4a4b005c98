// What the dialogs share: controls named by their ids, so tests and
// callers find them again; the row of Help, Cancel and OK under a line;
// the desktop's key for closing a window.
#pragma once

#include <QDialogButtonBox>
#include <QString>

class QDialog;
class QLabel;
class QVBoxLayout;
class QWidget;

// Names control by id and hands it back.
template <class T>
T* LNamed(T* control, int id) {
  control->setObjectName(QString::number(id));
  return control;
}
// A label named by id whose mnemonic, if any, moves the focus to buddy.
QLabel* LLabel(const QString& text, int id, QWidget* buddy = nullptr);
// A sunken horizontal line.
QWidget* LSeparator();
// A line, then Help, Cancel and OK at the foot of layout: OK (its text
// okText when not empty) is the default button and calls onOk, Cancel
// rejects the dialog, Help calls onHelp.
template <class OnHelp, class OnOk>
QDialogButtonBox* LAddButtonRow(QDialog* dialog, QVBoxLayout* layout, const QString& okText, OnHelp onHelp, OnOk onOk);
// Ctrl+W closes window as Escape does (a dialog is rejected).
void LAddCloseKey(QWidget* window);

// The control of that id below parent, nullptr when none.
QWidget* LFindControl(const QWidget* parent, int id);

#include "ui/DialogLayout.inl"
