// The questions the dialogs put to the user: yes/no alerts, messages, the
// file-open dialog, messages shown at a field. Each goes through a hook a
// test can install, so that no modal box waits for a click in a test run.
#pragma once

#include <functional>
#include <string>

#include <QString>

class LRecord;

class QWidget;

struct LPrompt {
  QString title;
  QString text;
  QString yes;  // empty for a message with OK only
  QString no;
};

// True when the user chose the "yes" button.
bool LAskYesNo(QWidget* parent, const QString& title, const QString& text, const QString& yes, const QString& no);
void LShowMessage(QWidget* parent, const QString& title, const QString& text);
// As LShowMessage, in an error box.
void LShowError(QWidget* parent, const QString& title, const QString& text);
// The chosen existing file's path; empty on Cancel.
QString LAskOpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& startFolder);
// Why a file could not be written (an errno value), and what to do about
// it: the end of a sentence that begins with what and where.
QString LWriteFailureText(int error);
// Writes the record now, so that a failure is told while the user still sees
// what was not kept: on failure the record is dropped unsaved (the caller
// still holds the values) and the user hears that what (for example "The
// preset") could not be saved in folder, why, and how to put it right.
bool LSaveRecordOrTell(QWidget* parent, LRecord& record, const QString& what, const std::string& folder);
// A short message pointing at a field, which also takes the focus.
void LShowFieldMessage(QWidget* field, const QString& text);

// Tests: answers in place of the boxes (nullptr restores them). The field
// messages are recorded whether or not a hook is installed.
void LSetPromptHook(std::function<bool(const LPrompt&)> hook);
void LSetOpenFileHook(std::function<QString(const QString& title)> hook);
QString LLastFieldMessage();
void LClearLastFieldMessage();
