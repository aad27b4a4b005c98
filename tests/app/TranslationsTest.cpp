#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

#include "app/AppMain.h"
#include "app/Translations.h"

namespace {

QString Usage() { return QCoreApplication::translate("MorvaneMain", kUsage); }

// Each case in a fresh application, so no translator is left from the last.
TEST(Translations, CatalogueFollowsTheLocale) {
  const struct {
    const char* locale;
    bool program;  // the program's catalogue is loaded
    bool toolkit;  // Qt's own is
    const char* usageStarts;
  } cases[] = {{"de_DE", true, true, "Aufruf:"},
               {"de_AT", true, true, "Aufruf:"},  // falls back to the language
               {"en_GB", false, false, "usage:"},
               {"C", false, false, "usage:"},
               {"fr_FR", false, true, "usage:"}};  // no catalogue of ours yet
  for (const auto& c : cases) {
    int argc = 1;
    char name[] = "translations_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const LTranslationsLoaded loaded = MorvaneInstallTranslations(app, QLocale(QLatin1String(c.locale)),
                                                                  {QStringLiteral("/nonexistent"), MORVANE_QM_DIR});
    EXPECT_EQ(!loaded.program.isEmpty(), c.program) << c.locale;
    EXPECT_EQ(!loaded.toolkit.isEmpty(), c.toolkit) << c.locale << " (qt6-translations-l10n installed?)";
    EXPECT_TRUE(Usage().startsWith(QLatin1String(c.usageStarts))) << c.locale;
  }
}

// Every text of the German catalogue is translated: a text left out shows
// up in English in the middle of German ones.
TEST(Translations, GermanCatalogueIsComplete) {
  QTranslator translator;
  ASSERT_TRUE(translator.load(QStringLiteral(MORVANE_QM_DIR "/morvane_de.qm")));
  EXPECT_FALSE(translator.isEmpty());
  const QString ts = QStringLiteral(MORVANE_TS_DIR "/morvane_de.ts");
  QFile file(ts);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  EXPECT_FALSE(text.contains(QLatin1String("type=\"unfinished\""))) << "untranslated texts in " << ts.toStdString();
}

}  // namespace
