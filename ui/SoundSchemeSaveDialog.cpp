#include "ui/SoundSchemeSaveDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cerrno>
#include <cstring>

#include "store/DataFolders.h"
#include "store/Presets.h"
#include "store/Profile.h"
#include "store/SoundFileCheck.h"
#include "ui/DialogLayout.h"
#include "ui/HelpWindow.h"
#include "ui/Placement.h"
#include "ui/Prompts.h"
#include "ui/SoundEditor.h"

namespace {

struct FileRow {
  int label, field, browse;
  const char* labelText;
  const char* title;
  const char* browseName;
  const char* recordField;
};
const FileRow kRows[3] = {
    {LSoundSchemeSaveDialog::kIdAccentLabel, LSoundSchemeSaveDialog::kIdAccent, LSoundSchemeSaveDialog::kIdAccentBrowse,
     QT_TRANSLATE_NOOP("LSoundSchemeSaveDialog", "&Accent Sound:"),
     QT_TRANSLATE_NOOP("LSoundSchemeSaveDialog", "Select accent sound"),
     QT_TRANSLATE_NOOP("LSoundSchemeSaveDialog", "Browse for the accent sound"), scheme_field::kAccentFile},
    {LSoundSchemeSaveDialog::kIdBeatLabel, LSoundSchemeSaveDialog::kIdBeat, LSoundSchemeSaveDialog::kIdBeatBrowse,
     QT_TRANSLATE_NOOP("LSoundSchemeSaveDialog", "&Beat Sound:"),
     QT_TRANSLATE_NOOP("LSoundSchemeSaveDialog", "Select beat sound"),
     QT_TRANSLATE_NOOP("LSoundSchemeSaveDialog", "Browse for the beat sound"), scheme_field::kBeatFile},
    {LSoundSchemeSaveDialog::kIdClickLabel, LSoundSchemeSaveDialog::kIdClick, LSoundSchemeSaveDialog::kIdClickBrowse,
     QT_TRANSLATE_NOOP("LSoundSchemeSaveDialog", "C&lick Sound:"),
     QT_TRANSLATE_NOOP("LSoundSchemeSaveDialog", "Select click sound"),
     QT_TRANSLATE_NOOP("LSoundSchemeSaveDialog", "Browse for the click sound"), scheme_field::kClickFile},
};

}  // namespace

LSoundSchemeSaveDialog::LSoundSchemeSaveDialog(LProfile& profile, const char* oldName, QWidget* parent)
    : QDialog(parent), m_profile(profile), m_oldName(oldName ? oldName : "") {
  m_oldName.resize(LRecordCutText(m_oldName).size());
  setWindowTitle(m_oldName.empty() ? tr("Save Sound Scheme") : tr("Change Sound Scheme"));
  auto* layout = new QVBoxLayout(this);
  m_name = LNamed(new QLineEdit, kIdName);
  m_name->setMaxLength(kRecordTextMax);
  layout->addWidget(LLabel(tr("Scheme &Name:"), kIdNameLabel, m_name));
  layout->addWidget(m_name);
  for (int i = 0; i < 3; ++i) {
    const FileRow& row = kRows[i];
    m_files[i] = LNamed(new QLineEdit, row.field);
    m_files[i]->setMaxLength(kRecordTextMax);
    m_files[i]->setPlaceholderText(tr("The default sound"));
    layout->addSpacing(layout->spacing());
    layout->addWidget(LLabel(tr(row.labelText), row.label, m_files[i]));
    auto* browse = LNamed(new QPushButton(tr("Browse...")), row.browse);
    browse->setAutoDefault(false);
    browse->setAccessibleName(tr(row.browseName));
    const int id = row.browse;
    connect(browse, &QPushButton::clicked, this, [this, id] { Command(id); });
    auto* line = new QHBoxLayout;
    line->addWidget(m_files[i], 1);
    line->addWidget(browse);
    layout->addLayout(line);
  }
  layout->addStretch(1);
  LAddButtonRow(
      this, layout, tr("&Save"), [this] { CmHelp(); }, [this] { CmOk(); });
  m_files[0]->setMinimumWidth(m_files[0]->fontMetrics().averageCharWidth() * 40);
  InitDialog();
}

void LSoundSchemeSaveDialog::SetRecordKey(const std::string& key) {
  m_key = key;
  InitDialog();
}

void LSoundSchemeSaveDialog::InitDialog() {
  if (m_oldName.empty()) return;
  m_name->setText(QString::fromStdString(m_oldName));
  LSoundSchemeRecordList list(m_profile);
  LSoundSchemeRecord rec;
  const bool found = m_key.empty() ? OpenSoundScheme(list, rec, m_oldName.c_str()) : list.Open(rec, m_key);
  if (!found) return;
  for (int i = 0; i < 3; ++i) m_files[i]->setText(QString::fromStdString(rec.GetString(kRows[i].recordField)));
}

void LSoundSchemeSaveDialog::SetFiles(const std::string& accent, const std::string& beat, const std::string& click) {
  const std::string* files[3] = {&accent, &beat, &click};
  for (int i = 0; i < 3; ++i) m_files[i]->setText(QString::fromStdString(*files[i]));
}

bool LSoundSchemeSaveDialog::Open(QWidget* parent) {
  if (parent) setParent(parent, windowFlags());
  adjustSize();
  LPlaceOver(this, parent);
  return exec() == QDialog::Accepted;
}

QLineEdit* LSoundSchemeSaveDialog::Field(int id) const { return findChild<QLineEdit*>(QString::number(id)); }

void LSoundSchemeSaveDialog::Command(int id) {
  for (int i = 0; i < 3; ++i) {
    if (kRows[i].browse != id) continue;
    char name[kRecordBufferSize];
    if (GetValidSoundFile(this, name, tr(kRows[i].title))) m_files[i]->setText(QString::fromUtf8(name));
  }
}

bool LSoundSchemeSaveDialog::CmOk() {
  const QString name = m_name->text().trimmed();
  if (name.isEmpty()) {
    LShowFieldMessage(m_name, tr(kNameMissing));
    return false;
  }
  {
    LSoundSchemeRecordList list(m_profile);
    LSoundSchemeRecord rec;
    if (!m_key.empty())
      list.Open(rec, m_key);
    else if (!m_oldName.empty())
      OpenSoundScheme(list, rec, m_oldName.c_str());
    else
      list.CreateNewRecord(rec);
    // A changed scheme whose record is gone writes nothing.
    if (rec.IsAttached()) {
      rec.SetString(scheme_field::kName, name.toStdString());
      for (int i = 0; i < 3; ++i) rec.SetString(kRows[i].recordField, m_files[i]->text().toStdString());
      if (!LSaveRecordOrTell(this, rec, tr("The sound scheme"), list.Folder())) return false;
    }
  }
  accept();
  return true;
}

void LSoundSchemeSaveDialog::CmHelp() { LShowHelp(this, QStringLiteral("soundscheme")); }

bool LSoundSchemeSaveDialog::TestValidSoundFile(const char* path) { return LTestValidSoundFile(path); }

// Why a file is no sound for the metronome, naming the file.
QString LSoundSchemeSaveDialog::InvalidSoundText(const std::string& path) {
  const QString name = QString::fromStdString(LSoundFileBaseName(path));
  const long long ms = LSoundFileLengthMs(path.c_str());
  if (ms < 0) return tr("\"%1\" cannot be read as a WAV sound.").arg(name);
  return tr("\"%1\" lasts %2 ms; a sound may last at most %3 ms.").arg(name).arg(ms).arg(kMaxSoundFileMs);
}

bool LSoundSchemeSaveDialog::GetValidSoundFile(QWidget* parent, char* out, const QString& title) {
  const std::string shared = GetSharedDataFolderApp();
  const QString path = LAskOpenFile(parent, title, tr("WAV sound (*.wav)"), QDir::homePath());
  if (path.isEmpty() || !QFileInfo::exists(path)) return false;
  const std::string local = path.toStdString();
  if (!TestValidSoundFile(local.c_str())) {
    const LSoundEditor editor = LFindSoundEditor();
    const QString text = InvalidSoundText(local);
    if (!editor.IsAvailable()) {
      LShowMessage(parent, tr("File is not valid"), text);
    } else if (LAskYesNo(parent, tr("File is not valid"),
                         text + QLatin1Char(' ') + tr("Do you want to use %1 to edit this file?").arg(editor.name),
                         tr("Edit file"), tr("Cancel"))) {
      editor.Launch(path);
    }
    return false;
  }
  std::string name = LSoundFileBaseName(local);
  // A sound the "Sound" folder does not hold would be named in the records
  // and silently replaced by the default at the next load: say so instead.
  const int error = name.size() > kRecordTextMax ? ENAMETOOLONG : LCopyUserSoundFile(shared, local, name);
  if (error) {
    LShowMessage(parent, tr("File not copied"),
                 tr("The sound \"%1\" could not be copied into Morvane's sound folder %2: %3")
                     .arg(QString::fromStdString(LSoundFileBaseName(local)),
                          QString::fromStdString(shared + "/" + kUserSoundFolder), LWriteFailureText(error)));
    return false;
  }
  std::memcpy(out, name.c_str(), name.size() + 1);
  return true;
}
