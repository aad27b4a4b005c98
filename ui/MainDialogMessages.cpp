// The main window's messages in the information strip: what failed, what
// the program did about it, and what the user can do.
#include <QStringList>

#include "audio/PlayDevice.h"
#include "model/MVModel.h"
#include "store/DataFolders.h"
#include "store/FileStore.h"
#include "store/Settings.h"
#include "ui/MainDialog.h"

// Says in the window why nothing is heard, instead of a silent Play.
void MainDialog::CheckOutput() {
  // A chosen output that is gone: the default plays, and the user hears it
  // somewhere else.
  const std::string missing =
      m_model->IsPlaying() ? LSettingGetMissingSoundPlayDevice("Settings", "SoundOutDevice") : std::string();
  if (!missing.empty()) {
    TakeBackInfo(m_outputInfo);
    m_outputInfo = tr("The audio output \"%1\" is not connected, so Morvane plays through the default output. "
                      "Connect it and press Play again, or choose another output in Preferences.")
                       .arg(QString::fromStdString(missing));
    ShowInfo(m_outputInfo);
    return;
  }
  if (!m_model->GetOutputFailed()) return;
  const LSoundPlayDevice device = LSettingGetSoundPlayDevice("Settings", "SoundOutDevice");
  char name[260];
  LSoundPlayDevice::GetListDeviceName(device.m_index, name);
  TakeBackInfo(m_outputInfo);  // an older failure, perhaps of another device
  m_outputInfo = tr("Cannot play: the audio output \"%1\" could not be opened or stopped working. Check that it "
                    "is connected and not in use by another program, or choose another output in Preferences.")
                     .arg(QString::fromUtf8(name));
  ShowInfo(m_outputInfo);
}

// The output ran dry while playing: a gap was heard, and the user should
// know it was the computer, not the beat.
void MainDialog::EvUnderRuns(long count) {
  TakeBackInfo(m_underRunInfo);
  m_underRunInfo =
      tr("The audio output fell behind %n time(s) since Play because the computer was too busy: "
         "a click may have been lost, but the beat kept its place. Closing busy programs helps.",
         "", static_cast<int>(count));
  ShowInfo(m_underRunInfo);
}

// A chosen sound that went missing plays as the shipped one; the user hears
// the difference and deserves to know why.
void MainDialog::CheckSounds() {
  TakeBackInfo(m_soundsInfo);  // the sounds were loaded again
  m_soundsInfo.clear();
  const auto& missing = m_model->GetMissingSounds();
  if (missing.empty()) return;
  static const char* const kRoles[3] = {QT_TR_NOOP("accent sound \"%1\""), QT_TR_NOOP("beat sound \"%1\""),
                                        QT_TR_NOOP("click sound \"%1\"")};
  QStringList parts;
  for (const LMVModel::MissingSound& m : missing) parts << tr(kRoles[m.role]).arg(QString::fromStdString(m.name));
  const QString list =
      parts.size() == 1 ? parts[0] : tr("%1 and %2").arg(parts.mid(0, parts.size() - 1).join(tr(", ")), parts.back());
  const QString folder = QString::fromStdString(GetSharedDataFolderApp() + "/" + kUserSoundFolder);
  m_soundsInfo = missing.size() == 1
                     ? tr("Your %1 could not be opened, so the shipped one plays instead. Put the file back in the "
                          "folder %2 and choose it again in Preferences.")
                           .arg(list, folder)
                     : tr("Your %1 could not be opened, so the shipped ones play instead. Put the files back in the "
                          "folder %2 and choose them again in Preferences.")
                           .arg(list, folder);
  ShowInfo(m_soundsInfo);
}

// Settings: told once when saving starts failing, taken back once it works
// again. Records: told of each damaged file kept aside before a rewrite.
// Both queued, since a save may sit deep inside a model or dialog call.
void MainDialog::WatchFiles() {
  LSettingsWatchCommits([this](bool saved) {
    QMetaObject::invokeMethod(
        this, [this, saved] { ShowSettingsState(saved); }, Qt::QueuedConnection);
  });
  if (LSettingsCommitFailing()) ShowSettingsState(false);
  LRecordWatchKeptFiles([this](const std::string& file, const std::string& kept) {
    const QString text = tr("The file %1 was damaged or edited by hand, so Morvane rewrote it; nothing was lost: its "
                            "old contents were kept as %2.")
                             .arg(QString::fromStdString(file), QString::fromStdString(kept));
    QMetaObject::invokeMethod(
        this, [this, text] { ShowInfo(text); }, Qt::QueuedConnection);
  });
}

void MainDialog::UnwatchFiles() {
  LSettingsWatchCommits(nullptr);
  LRecordWatchKeptFiles(nullptr);
}

void MainDialog::ShowSettingsState(bool saved) {
  char path[4096];
  const QString text = tr("Your settings cannot be saved: %1 cannot be written. Morvane keeps using them until it "
                          "closes; nothing on disk was lost. Check that the file and its folder can be written.")
                           .arg(QString::fromUtf8(LSettingsFilePath(path, sizeof path)));
  if (saved)
    TakeBackInfo(text);
  else
    ShowInfo(text);
}
