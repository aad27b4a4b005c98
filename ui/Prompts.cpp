#include "ui/Prompts.h"

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

bool LSaveRecordOrTell(QWidget* parent, LRecord& record, const QString& what, const std::string& folder) {
  if (record.Flush()) return true;
  record.Discard();
  LShowMessage(parent, QStringLiteral("Not saved"),
               QStringLiteral("%1 could not be saved in %2. Check that the folder exists and can be written, then "
                              "try again.")
                   .arg(what, QString::fromStdString(folder)));
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
