#include "ui/HelpWindow.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "store/DataFolders.h"
#include "ui/DialogLayout.h"
#include "ui/Placement.h"

QString LHelpPagePath(const QString& topic) {
  // Topics are fixed names from the program; anything else finds nothing.
  for (QChar c : topic)
    if (!c.isLetterOrNumber()) return QString();
  const QString folder = QString::fromStdString(GetProgramDataFolder());
  if (folder.isEmpty() || topic.isEmpty()) return QString();
  const QString path = folder + QStringLiteral("/help/") + topic + QStringLiteral(".html");
  return QFileInfo::exists(path) ? path : QString();
}

QWidget* LShowHelp(QWidget* parent, const QString& topic) {
  // A child window of a modal dialog is not blocked by it, so the page can
  // be read and scrolled while the dialog waits.
  auto* window = new QDialog(parent, Qt::Window);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(QCoreApplication::translate("LHelpWindow", "Morvane Help"));
  auto* browser = new QTextBrowser(window);
  browser->setObjectName(QStringLiteral("HelpText"));
  browser->setOpenExternalLinks(true);
  const QString path = LHelpPagePath(topic);
  if (path.isEmpty())
    browser->setHtml(QStringLiteral("<p>%1</p>")
                         .arg(QCoreApplication::translate("LHelpWindow", "The help page \"%1\" is not installed.")
                                  .arg(topic)
                                  .toHtmlEscaped()));
  else
    browser->setSource(QUrl::fromLocalFile(path));
  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser);
  window->resize(520, 440);
  LAddCloseKey(window);
  LPlaceOver(window, parent ? parent->window() : nullptr);
  window->show();
  return window;
}
