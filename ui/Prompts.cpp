#include "ui/Prompts.h"

#include <cerrno>
#include <cstring>

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QToolTip>
#include <QWidget>

#include "store/Record.h"

namespace {

std::function<bool(const LPrompt&)>& PromptHook() {
  static std::function<bool(const LPrompt&)> hook;
  return hook;
}

std::function<QString(const QString&)>& OpenFileHook() {
  static std::function<QString(const QString&)> hook;
  return hook;
}

QString& LastFieldMessage() {
  static QString text;
  return text;
}

}  // namespace

bool LAskYesNo(QWidget* parent, const QString& title, const QString& text, const QString& yes, const QString& no) {
  if (PromptHook()) return PromptHook()({title, text, yes, no});
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
  QPushButton* yesButton = box.addButton(yes, QMessageBox::AcceptRole);
  box.addButton(no, QMessageBox::RejectRole);
  box.setDefaultButton(yesButton);
  box.exec();
  return box.clickedButton() == yesButton;
}

void LShowMessage(QWidget* parent, const QString& title, const QString& text) {
  if (PromptHook()) {
    PromptHook()({title, text, QString(), QString()});
    return;
  }
  QMessageBox::information(parent, title, text);
}

void LShowError(QWidget* parent, const QString& title, const QString& text) {
  if (PromptHook()) {
    PromptHook()({title, text, QString(), QString()});
    return;
  }
  QMessageBox::critical(parent, title, text);
}

QString LWriteFailureText(int error) {
  static const struct {
    int error;
    const char* text;
  } kCauses[] = {
      {ENOSPC, QT_TRANSLATE_NOOP("LPrompts", "the disk is full. Make room on it, then try again.")},
      {EDQUOT, QT_TRANSLATE_NOOP("LPrompts", "your disk quota is used up. Make room in it, then try again.")},
      {EROFS, QT_TRANSLATE_NOOP("LPrompts",
                                "the disk is mounted read-only. Choose a writable place or remount it, "
                                "then try again.")},
      {EACCES, QT_TRANSLATE_NOOP("LPrompts",
                                 "permission denied. Check that you may write in that folder, then try "
                                 "again.")},
      {EPERM, QT_TRANSLATE_NOOP("LPrompts",
                                "permission denied. Check that you may write in that folder, then try "
                                "again.")},
      {ENOENT, QT_TRANSLATE_NOOP("LPrompts", "the folder does not exist. Create it, then try again.")},
      {ENOTDIR, QT_TRANSLATE_NOOP("LPrompts",
                                  "a file stands where a folder should be. Move it aside, then try "
                                  "again.")},
      {EISDIR, QT_TRANSLATE_NOOP("LPrompts",
                                 "a folder stands where the file should be. Move it aside, then try "
                                 "again.")},
      {ENAMETOOLONG, QT_TRANSLATE_NOOP("LPrompts", "the file name is too long. Rename the file, then try again.")},
      {EIO, QT_TRANSLATE_NOOP("LPrompts",
                              "the disk reported an input/output error. Check the disk, then try "
                              "again.")},
  };
  for (const auto& cause : kCauses)
    if (cause.error == error) return QCoreApplication::translate("LPrompts", cause.text);
  return QCoreApplication::translate("LPrompts", "%1. Check that the folder exists and can be written, then try again.")
      .arg(QString::fromLocal8Bit(std::strerror(error ? error : EIO)));
}

bool LSaveRecordOrTell(QWidget* parent, LRecord& record, const QString& what, const std::string& folder) {
  if (record.Flush()) return true;
  const int error = record.SaveError();
  record.Discard();
  LShowMessage(parent, QCoreApplication::translate("LPrompts", "Not saved"),
               QCoreApplication::translate("LPrompts", "%1 could not be saved in %2: %3")
                   .arg(what, QString::fromStdString(folder), LWriteFailureText(error)));
  return false;
}

QString LAskOpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& startFolder) {
  if (OpenFileHook()) return OpenFileHook()(title);
  return QFileDialog::getOpenFileName(parent, title, startFolder, filter);
}

void LShowFieldMessage(QWidget* field, const QString& text) {
  LastFieldMessage() = text;
  field->setFocus();
  QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), text, field);
}

void LSetPromptHook(std::function<bool(const LPrompt&)> hook) { PromptHook() = std::move(hook); }
void LSetOpenFileHook(std::function<QString(const QString&)> hook) { OpenFileHook() = std::move(hook); }
QString LLastFieldMessage() { return LastFieldMessage(); }
void LClearLastFieldMessage() { LastFieldMessage().clear(); }
