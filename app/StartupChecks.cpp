#include "app/StartupChecks.h"

#include <QCoreApplication>
#include <QStringList>
#include <cerrno>
#include <iterator>

#include "model/MVModel.h"
#include "model/Rhythm.h"
#include "store/StoredValues.h"
#include "ui/Prompts.h"
#include "ui/SoundPage.h"
#include "ui/VolumeSlider.h"

namespace {

// The context of the program entry's texts in the catalogues.
struct MorvaneMain {
  Q_DECLARE_TR_FUNCTIONS(MorvaneMain)
};

// The settings the main window and the Sound page show, with their
// controls' ranges, and each one's name for the user.
struct StoredValue {
  LStoredRange range;
  const char* name;
};
const StoredValue kStoredValues[] = {
    {{"Settings", "Tempo", LMVModel::GetTempoMin(), LMVModel::GetTempoMax(), 92},
     QT_TRANSLATE_NOOP("MorvaneMain", "Tempo")},
    {{"Settings", "SubDiv", 0, 7, 0}, QT_TRANSLATE_NOOP("MorvaneMain", "Subdivision")},
    {{"Settings", "Volume", LVolumeSlider::kMinimumDb, LVolumeSlider::kMaximumDb, 0},
     QT_TRANSLATE_NOOP("MorvaneMain", "Volume")},
    {{"Sound", "AccentVolume", LSoundPage::kMinLevel, LSoundPage::kMaxLevel, 0},
     QT_TRANSLATE_NOOP("MorvaneMain", "Accent level")},
    {{"Sound", "BeatVolume", LSoundPage::kMinLevel, LSoundPage::kMaxLevel, 0},
     QT_TRANSLATE_NOOP("MorvaneMain", "Beat level")},
    {{"Sound", "ClickVolume", LSoundPage::kMinLevel, LSoundPage::kMaxLevel, 0},
     QT_TRANSLATE_NOOP("MorvaneMain", "Click level")},
    {{"Sound", rhythm_field::kDownbeatLevel, -LSoundPage::kMaxLevel, LSoundPage::kMaxLevel,
      rhythm_field::kDefaultDownbeatLevel},
     QT_TRANSLATE_NOOP("MorvaneMain", "Downbeat level")},
};

}  // namespace

QString MorvaneInstallProblemText(const LInstallProblem& problem) {
  const QString path = QString::fromStdString(problem.path);
  switch (problem.kind) {
    case LInstallProblem::kNone: return {};
    case LInstallProblem::kFolder:
      if (problem.error == ENOTDIR)
        return MorvaneMain::tr(
                   "%1 is a file, not a folder. Morvane keeps its sounds, presets and sound schemes below it: move "
                   "the file aside, then start Morvane again.")
            .arg(path);
      return MorvaneMain::tr("Morvane cannot create its folder %1: %2").arg(path, LWriteFailureText(problem.error));
    case LInstallProblem::kShippedSound:
      if (path.isEmpty())
        return MorvaneMain::tr("The sounds that come with Morvane were not found. Install Morvane again.");
      return MorvaneMain::tr("The sound %1 that comes with Morvane is missing. Install Morvane again.").arg(path);
    case LInstallProblem::kCopy:
      return MorvaneMain::tr("Morvane cannot copy its sound to %1: %2").arg(path, LWriteFailureText(problem.error));
  }
  return {};
}

QString MorvaneRepairStoredValues() {
  LStoredRange ranges[std::size(kStoredValues)];
  for (size_t i = 0; i < std::size(kStoredValues); ++i) ranges[i] = kStoredValues[i].range;
  QStringList changes;
  for (const LStoredRepair& r : LRepairStoredValues(ranges, static_cast<int>(std::size(ranges)))) {
    const QString name = MorvaneMain::tr(kStoredValues[r.range - ranges].name);
    const QString was = QString::fromUtf8(r.was.c_str());
    changes << (r.unreadable ? MorvaneMain::tr("%1: \"%2\" is not a number, so it is now %3, the default")
                             : MorvaneMain::tr("%1: %2 is beyond what Morvane can set, so it is now %3"))
                   .arg(name, was)
                   .arg(r.now);
  }
  if (changes.isEmpty()) return {};
  return MorvaneMain::tr("Some stored settings could not be used as they were: %1.")
      .arg(changes.join(QStringLiteral("; ")));
}
