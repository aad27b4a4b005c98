#include "ui/SoundEditor.h"

#include <QProcess>
#include <QStandardPaths>

LSoundEditor LFindSoundEditor() {
  LSoundEditor editor;
  const QString path = QStandardPaths::findExecutable(QStringLiteral("audacity"));
  if (path.isEmpty()) return editor;
  editor.name = QStringLiteral("Audacity");
  editor.program = path;
  editor.homePage = QStringLiteral("https://www.audacityteam.org/");
  return editor;
}

bool LSoundEditor::Launch(const QString& file) const {
  if (!IsAvailable()) return false;
  QStringList args;
  if (!file.isEmpty()) args << file;
  return QProcess::startDetached(program, args);
}
