#include "ui/SoundPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/Rhythm.h"
#include "soundfile/DB.h"
#include "store/DataFolders.h"
#include "store/Presets.h"
#include "store/Profile.h"
#include "store/Settings.h"
#include "ui/DBEdit.h"
#include "ui/DialogLayout.h"
#include "ui/HelpWindow.h"
#include "ui/Prompts.h"
#include "ui/SoundPreview.h"
#include "ui/SoundSchemeListWindow.h"
#include "ui/SoundSchemeSaveDialog.h"

namespace {

constexpr const char* kSection = "Sound";
// One row per sound: its button, the file in use, its level, its preview.
struct SoundRow {
  int button, level, preview;
  const char* buttonText;
  const char* title;
  const char* levelName;
  const char* previewName;
  const char* levelKey;
  const char* optionsField;
  const char* defaultFile;
};
const SoundRow kRows[3] = {
    {LSoundPage::kIdSetAccent, LSoundPage::kIdAccentLevel, LSoundPage::kIdPreviewAccent,
     QT_TRANSLATE_NOOP("LSoundPage", "Set &Accent Sound..."), QT_TRANSLATE_NOOP("LSoundPage", "Select accent sound"),
     QT_TRANSLATE_NOOP("LSoundPage", "Accent level"), QT_TRANSLATE_NOOP("LSoundPage", "Play the accent sound"),
     "AccentVolume", options_field::kAccent, "accent.wav"},
    {LSoundPage::kIdSetBeat, LSoundPage::kIdBeatLevel, LSoundPage::kIdPreviewBeat,
     QT_TRANSLATE_NOOP("LSoundPage", "Set &Beat Sound..."), QT_TRANSLATE_NOOP("LSoundPage", "Select beat sound"),
     QT_TRANSLATE_NOOP("LSoundPage", "Beat level"), QT_TRANSLATE_NOOP("LSoundPage", "Play the beat sound"),
     "BeatVolume", options_field::kBeat, "beat.wav"},
    {LSoundPage::kIdSetClick, LSoundPage::kIdClickLevel, LSoundPage::kIdPreviewClick,
     QT_TRANSLATE_NOOP("LSoundPage", "Set C&lick Sound..."), QT_TRANSLATE_NOOP("LSoundPage", "Select click sound"),
     QT_TRANSLATE_NOOP("LSoundPage", "Click level"), QT_TRANSLATE_NOOP("LSoundPage", "Play the click sound"),
     "ClickVolume", options_field::kClick, "click.wav"},
};

// The options record, created when missing; saved when it goes out of scope.
void OpenOptions(LOptionsList& list, LOptions& options) {
  if (!list.Open(options, options_field::kKey)) list.OpenAlways(options, options_field::kKey);
}

QPushButton* NewButton(const QString& text, int id) {
  auto* button = LNamed(new QPushButton(text), id);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

LSoundPage::LSoundPage() {
  auto* grid = new QGridLayout;
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  for (int i = 0; i < 3; ++i) {
    const SoundRow& row = kRows[i];
    auto* button = NewButton(tr(row.buttonText), row.button);
    const int id = row.button;
    connect(button, &QPushButton::clicked, this, [this, id] { Command(id, 0); });
    m_fileLabels[i] = new QLabel;
    LDBEdit* level = LDBEditInit(this, this, row.level);
    level->SetRange(LdBLevel(kMinLevel), LdBLevel(kMaxLevel));
    level->setAccessibleName(tr(row.levelName));
    // A tool button: as narrow as its sign, where a push button takes a
    // style's minimum width.
    auto* preview = LNamed(new QToolButton, row.preview);
    preview->setText(QStringLiteral("\u25B6"));
    preview->setFocusPolicy(Qt::StrongFocus);
    preview->setToolTip(tr(row.previewName));
    preview->setAccessibleName(tr(row.previewName));
    connect(preview, &QToolButton::clicked, this, [this, i] { Preview(i); });
    grid->addWidget(button, i, 0);
    grid->addWidget(m_fileLabels[i], i, 1);
    grid->addWidget(level, i, 2);
    grid->addWidget(preview, i, 3);
  }
  LDBEdit* downbeat = LDBEditInit(this, this, kIdDownbeatLevel);
  downbeat->SetRange(LdBLevel(-kMaxLevel), LdBLevel(kMaxLevel));
  downbeat->setToolTip(tr("The bar's first beat plays the accent sound this much louder"));
  downbeat->setAccessibleName(tr("Downbeat level"));
  grid->addWidget(LLabel(tr("&Downbeat, above the accent:"), kIdDownbeatLabel, downbeat), 3, 0, 1, 2);
  grid->addWidget(downbeat, 3, 2);

  auto* schemes = new QHBoxLayout;
  auto* load = NewButton(tr("L&oad Scheme..."), kIdLoadScheme);
  auto* save = NewButton(tr("Sa&ve Scheme..."), kIdSaveScheme);
  auto* useDefault = NewButton(tr("&Use Default Sounds"), kIdDefaultSound);
  for (QPushButton* b : {load, save, useDefault}) {
    const int id = b->objectName().toInt();
    connect(b, &QPushButton::clicked, this, [this, id] { Command(id, 0); });
  }
  schemes->addWidget(load, 1);
  schemes->addWidget(save, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(schemes);
  layout->addWidget(useDefault);
  // The editor's note, link and button appear only when an editor exists.
  m_editor = LFindSoundEditor();
  if (m_editor.IsAvailable()) {
    auto* note = LLabel(tr("You can use %1 to edit your sound files. For more information click the following link.")
                            .arg(m_editor.name),
                        kIdEditorNote);
    note->setWordWrap(true);
    auto* link = LNamed(new QLabel, kIdEditorLink);
    link->setOpenExternalLinks(true);
    auto* launch = NewButton(tr("Launch %1...").arg(m_editor.name), kIdLaunchEditor);
    connect(launch, &QPushButton::clicked, this, [this] { Command(kIdLaunchEditor, 0); });
    layout->addWidget(note);
    layout->addWidget(link);
    layout->addWidget(launch);
  }
  layout->addStretch(1);
}

LSoundPage::~LSoundPage() = default;

QPushButton* LSoundPage::Button(int id) const { return findChild<QPushButton*>(QString::number(id)); }

void LSoundPage::InitDialog() {
  {
    LProfile profile;
    LOptionsList list(profile);
    LOptions options;
    OpenOptions(list, options);
    for (int i = 0; i < 3; ++i) m_files[i] = options.GetString(kRows[i].optionsField);
  }
  ShowFiles();
  if (auto* link = findChild<QLabel*>(QString::number(kIdEditorLink)))
    link->setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(m_editor.homePage, tr("%1 Home Page").arg(m_editor.name)));
  for (const SoundRow& row : kRows) {
    // Taken as a signed byte first, as the level type stores it, then
    // limited to the field's range.
    const int stored = LUserSettingGet<int>(kSection, row.levelKey, 0);
    LSetDBEdit(this, row.level, LdBLevel(static_cast<signed char>(stored)));
  }
  LSetDBEdit(this, kIdDownbeatLevel, LdBLevel(LLoadDownbeatLevel()));
}

// The files in use, by name; an empty choice is the shipped sound.
void LSoundPage::ShowFiles() {
  bool allDefault = true;
  for (int i = 0; i < 3; ++i) {
    const bool isDefault = m_files[i].empty();
    allDefault = allDefault && isDefault;
    m_fileLabels[i]->setText(isDefault ? tr("%1 (default)").arg(QString::fromUtf8(kRows[i].defaultFile))
                                       : QString::fromStdString(m_files[i]));
    m_fileLabels[i]->setAccessibleName(tr("Sound in use: %1").arg(m_fileLabels[i]->text()));
  }
  Button(kIdDefaultSound)->setEnabled(!allDefault);
}

std::string LSoundPage::SoundPath(int index) const {
  const std::string shared = GetSharedDataFolderApp();
  return m_files[index].empty() ? DefaultSoundFilePath(shared, kRows[index].defaultFile)
                                : UserSoundFilePath(shared, m_files[index]);
}

void LSoundPage::Preview(int index) {
  if (!m_preview) m_preview = std::make_unique<LSoundPreview>();
  if (!m_preview->Play(SoundPath(index), LGetDBEdit(this, kRows[index].level).Get()))
    LShowFieldMessage(findChild<QToolButton*>(QString::number(kRows[index].preview)),
                      tr("\"%1\" cannot be played: the file cannot be read, or the audio output cannot be opened.")
                          .arg(m_fileLabels[index]->text()));
}

bool LSoundPage::Command(int id, int) {
  for (int i = 0; i < 3; ++i)
    if (id == kRows[i].button) {
      SetSound(i);
      return true;
    }
  switch (id) {
    case kIdLoadScheme: CmSoundSchemeLoad(); return true;
    case kIdSaveScheme: CmSoundSchemeSave(); return true;
    case kIdDefaultSound: CmSetDefaultSound(); return true;
    case kIdLaunchEditor: m_editor.Launch(); return true;
    default: return false;  // the level fields' drags among them
  }
}

void LSoundPage::SetSound(int index) {
  char name[kRecordBufferSize];
  if (!LSoundSchemeSaveDialog::GetValidSoundFile(this, name, tr(kRows[index].title))) return;
  m_files[index] = name;
  m_filesChanged = true;
  ShowFiles();
}

void LSoundPage::CmSetDefaultSound() {
  for (std::string& file : m_files) file.clear();
  m_filesChanged = true;
  ShowFiles();
}

// The scheme's files are shown at once and kept by OK, as a chosen file is.
void LSoundPage::CmSoundSchemeLoad() {
  const std::string key = ChooseScheme();
  if (key.empty()) return;
  LProfile profile;
  LSoundSchemeRecordList schemes(profile);
  LSoundSchemeRecord scheme;
  if (!schemes.Open(scheme, key)) return;
  const char* fields[3] = {scheme_field::kAccentFile, scheme_field::kBeatFile, scheme_field::kClickFile};
  for (int i = 0; i < 3; ++i) m_files[i] = scheme.GetString(fields[i]);
  m_filesChanged = true;
  ShowFiles();
}

std::string LSoundPage::ChooseScheme() {
  LProfile profile;
  LSoundSchemeListWindow window(profile);
  window.Open(this);
  return window.ChosenKey();
}

void LSoundPage::CmSoundSchemeSave() { SaveScheme(); }

// A new scheme starts from the sounds shown here.
void LSoundPage::SaveScheme() {
  LProfile profile;
  LSoundSchemeSaveDialog dialog(profile, nullptr, this);
  dialog.SetFiles(m_files[0], m_files[1], m_files[2]);
  dialog.Open(this);
}

bool LSoundPage::CmOk() {
  for (const SoundRow& row : kRows) LUserSettingSet<int>(kSection, row.levelKey, LGetDBEdit(this, row.level).Get());
  LSaveDownbeatLevel(LGetDBEdit(this, kIdDownbeatLevel).Get());
  if (!m_filesChanged) return true;
  LProfile profile;
  LOptionsList list(profile);
  LOptions options;
  OpenOptions(list, options);
  for (int i = 0; i < 3; ++i) options.SetString(kRows[i].optionsField, m_files[i]);
  if (!LSaveRecordOrTell(this, options, tr("Your choice of sounds"), list.Folder())) return false;
  m_filesChanged = false;
  return true;
}

void LSoundPage::CmHelp() { LShowHelp(this, QStringLiteral("sound")); }
