#include "app/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "store/DataFolders.h"

namespace {

// Loads the catalogue "<name>_<language>.qm" nearest to the locale (de_DE,
// then de) from folder; the translator is owned by app once installed.
QString Install(QCoreApplication& app, const QLocale& locale, const QString& name, const QString& folder) {
  auto* translator = new QTranslator(&app);
  if (folder.isEmpty() || !translator->load(locale, name, QStringLiteral("_"), folder) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return QString();
  }
  return translator->filePath();
}

}  // namespace

QStringList MorvaneTranslationFolders() {
  QStringList folders;
  const QString data = QString::fromStdString(GetProgramDataFolder());
  if (!data.isEmpty()) folders << data + QStringLiteral("/translations");
  // A program run from the build tree: <build>/app/morvane, <build>/translations.
  folders << QCoreApplication::applicationDirPath() + QStringLiteral("/../translations");
  return folders;
}

LTranslationsLoaded MorvaneInstallTranslations(QCoreApplication& app, const QLocale& locale,
                                               const QStringList& folders) {
  LTranslationsLoaded loaded;
  if (locale.language() == QLocale::English || locale.language() == QLocale::C) return loaded;
  for (const QString& folder : folders) {
    loaded.program = Install(app, locale, QStringLiteral("morvane"), QDir::cleanPath(folder));
    if (!loaded.program.isEmpty()) break;
  }
  loaded.toolkit = Install(app, locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  return loaded;
}
