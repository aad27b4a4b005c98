#include "ui/SoundSchemeSaveDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <cstring>

#include "store/DataFolders.h"
#include "store/Presets.h"
#include "store/Profile.h"
#include "store/SoundFileCheck.h"
#include "ui/DialogLayout.h"
#include "ui/HelpWindow.h"
#include "ui/Prompts.h"
#include "ui/SoundEditor.h"

namespace {

struct FileRow {
  int label, field, browse, y;
  const char* labelText;
  const char* title;
  const char* recordField;
};
const FileRow kRows[3] = {
    {LSoundSchemeSaveDialog::kIdAccentLabel, LSoundSchemeSaveDialog::kIdAccent, LSoundSchemeSaveDialog::kIdAccentBrowse,
     72, "Accent Sound:", "Select accent sound", scheme_field::kAccentFile},
    {LSoundSchemeSaveDialog::kIdBeatLabel, LSoundSchemeSaveDialog::kIdBeat, LSoundSchemeSaveDialog::kIdBeatBrowse, 130,
     "Beat Sound:", "Select beat sound", scheme_field::kBeatFile},
    {LSoundSchemeSaveDialog::kIdClickLabel, LSoundSchemeSaveDialog::kIdClick, LSoundSchemeSaveDialog::kIdClickBrowse,
     188, "Click Sound:", "Select click sound", scheme_field::kClickFile},
};

}  // namespace

LSoundSchemeSaveDialog::LSoundSchemeSaveDialog(LProfile& profile, const char* oldName, QWidget* parent)
    : QDialog(parent), m_profile(profile), m_oldName(oldName ? oldName : "") {
  m_oldName.resize(LRecordCutText(m_oldName).size());
  setWindowTitle(QStringLiteral("Save/Change sound scheme"));
  setFixedSize(540, 292);
  LPlaceLabel(this, "Scheme Name:", kIdNameLabel, 18, 14, 504, 18);
  m_name = LPlace(this, new QLineEdit, kIdName, 18, 40, 504);
  m_name->setMaxLength(kRecordTextMax);
  for (int i = 0; i < 3; ++i) {
    const FileRow& row = kRows[i];
    LPlaceLabel(this, row.labelText, row.label, 18, row.y, 504, 18);
    m_files[i] = LPlace(this, new QLineEdit, row.field, 18, row.y + 26, 363);
    m_files[i]->setMaxLength(kRecordTextMax);
    auto* browse = LPlace(this, new QPushButton(QStringLiteral("Browse...")), row.browse, 387, row.y + 26, 135,
                          m_files[i]->height());
    browse->setAutoDefault(false);
    const int id = row.browse;
    connect(browse, &QPushButton::clicked, this, [this, id] { Command(id); });
  }
  LPlaceSeparator(this, 18, 246, 504);
  LPlaceButtonRow(
      this, 256, "Save", [this] { CmHelp(); }, [this] { CmOk(); });
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

bool LSoundSchemeSaveDialog::Open(QWidget* parent) {
  if (parent) setParent(parent, windowFlags());
  return exec() == QDialog::Accepted;
}

QLineEdit* LSoundSchemeSaveDialog::Field(int id) const { return findChild<QLineEdit*>(QString::number(id)); }

void LSoundSchemeSaveDialog::Command(int id) {
  for (int i = 0; i < 3; ++i) {
    if (kRows[i].browse != id) continue;
    char name[kRecordBufferSize];
    if (GetValidSoundFile(this, name, kRows[i].title)) m_files[i]->setText(QString::fromUtf8(name));
  }
}

bool LSoundSchemeSaveDialog::CmOk() {
  const QString name = m_name->text().trimmed();
  if (name.isEmpty()) {
    LShowFieldMessage(m_name, QString::fromUtf8(kNameMissing));
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
      if (!LSaveRecordOrTell(this, rec, QStringLiteral("The sound scheme"), list.Folder())) return false;
    }
  }
  accept();
  return true;
}

void LSoundSchemeSaveDialog::CmHelp() { LShowHelp(this, QStringLiteral("soundscheme")); }

bool LSoundSchemeSaveDialog::TestValidSoundFile(const char* path) { return LTestValidSoundFile(path); }

bool LSoundSchemeSaveDialog::GetValidSoundFile(QWidget* parent, char* out, const char* title) {
  const std::string shared = GetSharedDataFolderApp();
  const QString path =
      LAskOpenFile(parent, QString::fromUtf8(title), QStringLiteral("Sound File (*.wav)"), QDir::homePath());
  if (path.isEmpty() || !QFileInfo::exists(path)) return false;
  const std::string local = path.toStdString();
  if (!TestValidSoundFile(local.c_str())) {
    const LSoundEditor editor = LFindSoundEditor();
    const QString text = QStringLiteral("A valid sound is a wav file with length should be less than 250 ms.");
    if (!editor.IsAvailable()) {
      LShowMessage(parent, QStringLiteral("File is not valid"), text);
    } else if (LAskYesNo(parent, QStringLiteral("File is not valid"),
                         text + QStringLiteral(" Do you want to use %1 to edit this file?").arg(editor.name),
                         QStringLiteral("Edit file"), QStringLiteral("Cancel"))) {
      editor.Launch(path);
    }
    return false;
  }
  std::string name;
  // A sound the "Sound" folder does not hold would be named in the records
  // and silently replaced by the default at the next load: say so instead.
  if (!LCopyUserSoundFile(shared, local, name) || name.size() > kRecordTextMax) {
    LShowMessage(parent, QStringLiteral("File not copied"),
                 QStringLiteral("The sound \"%1\" could not be copied into Morvane's sound folder.")
                     .arg(QString::fromStdString(LSoundFileBaseName(local))));
    return false;
  }
  std::memcpy(out, name.c_str(), name.size() + 1);
  return true;
}
