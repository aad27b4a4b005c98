// The "Preferences" sheet: the General and Sound pages.
#pragma once

class LMVModel;
class QWidget;

enum { kOptionsPageGeneral = 0, kOptionsPageSound = 1 };

// Runs the sheet modally on parent with startPage shown first. However it
// closes, the model then reloads its sounds and restarts a running track,
// so every change is heard at once. True when it closed with OK.
bool SetDlg(QWidget* parent, unsigned long startPage, LMVModel& model);
