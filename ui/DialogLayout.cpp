#include "ui/DialogLayout.h"

#include <QDialog>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>

QLabel* LLabel(const QString& text, int id, QWidget* buddy) {
  auto* label = LNamed(new QLabel(text), id);
  if (buddy) label->setBuddy(buddy);
  return label;
}

QWidget* LSeparator() {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

void LAddCloseKey(QWidget* window) {
  auto* close = new QShortcut(QKeySequence::Close, window);
  close->setContext(Qt::WindowShortcut);
  QObject::connect(close, &QShortcut::activated, window, [window] {
    if (auto* dialog = qobject_cast<QDialog*>(window))
      dialog->reject();
    else
      window->close();
  });
}

QWidget* LFindControl(const QWidget* parent, int id) { return parent->findChild<QWidget*>(QString::number(id)); }
