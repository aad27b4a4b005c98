#include "ui/SoundPage.h"

#include <QLabel>
#include <QPushButton>

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
#include "ui/SoundSchemeListWindow.h"
#include "ui/SoundSchemeSaveDialog.h"

namespace {

constexpr const char* kSection = "Sound";
struct Level {
  int id;
  const char* key;
};
const Level kLevels[3] = {{LSoundPage::kIdAccentLevel, "AccentVolume"},
                          {LSoundPage::kIdBeatLevel, "BeatVolume"},
                          {LSoundPage::kIdClickLevel, "ClickVolume"}};

// The options record, created when missing; saved when it goes out of scope.
void OpenOptions(LOptionsList& list, LOptions& options) {
  if (!list.Open(options, options_field::kKey)) list.OpenAlways(options, options_field::kKey);
}

bool SaveOptions(QWidget* parent, const LOptionsList& list, LOptions& options) {
  return LSaveRecordOrTell(parent, options, QStringLiteral("Your choice of sounds"), list.Folder());
}

}  // namespace

LSoundPage::LSoundPage() : LPropertyPage(504, 314) {
  struct ButtonSpec {
    int id;
    const char* text;
    int x, y, w;
  };
  const ButtonSpec buttons[] = {
      {kIdSetAccent, "Set Accent Sound...", 18, 14, 231}, {kIdSetBeat, "Set Beat Sound...", 18, 46, 231},
      {kIdSetClick, "Set Click Sound...", 18, 78, 231},   {kIdLoadScheme, "Load...", 18, 142, 231},
      {kIdSaveScheme, "Save...", 255, 142, 231},          {kIdDefaultSound, "Use Default Sound", 18, 174, 468},
  };
  for (const ButtonSpec& b : buttons) {
    auto* button = LPlace(this, new QPushButton(QString::fromUtf8(b.text)), b.id, b.x, b.y, b.w);
    button->setAutoDefault(false);
    const int id = b.id;
    connect(button, &QPushButton::clicked, this, [this, id] { Command(id, 0); });
  }
  LPlaceLabel(this, "Downbeat, above the accent:", kIdDownbeatLabel, 18, 113, 231, 18);
  // The editor's note, link and button appear only when an editor exists.
  m_editor = LFindSoundEditor();
  if (!m_editor.IsAvailable()) return;
  LPlaceLabel(this,
              QStringLiteral("You can use %1 to edit your sound files. For more information click the following link.")
                  .arg(m_editor.name)
                  .toUtf8()
                  .constData(),
              kIdEditorNote, 18, 206, 468, 32);
  auto* link = LPlace(this, new QLabel, kIdEditorLink, 18, 250, 468);
  link->setOpenExternalLinks(true);
  auto* launch =
      LPlace(this, new QPushButton(QStringLiteral("Launch %1...").arg(m_editor.name)), kIdLaunchEditor, 18, 282, 468);
  launch->setAutoDefault(false);
  connect(launch, &QPushButton::clicked, this, [this] { Command(kIdLaunchEditor, 0); });
}

QPushButton* LSoundPage::Button(int id) const { return findChild<QPushButton*>(QString::number(id)); }

void LSoundPage::InitDialog() {
  {
    LProfile profile;
    LOptionsList list(profile);
    LOptions options;
    OpenOptions(list, options);
    const bool allDefault = options.GetString(options_field::kAccent).empty() &&
                            options.GetString(options_field::kBeat).empty() &&
                            options.GetString(options_field::kClick).empty();
    Button(kIdDefaultSound)->setEnabled(!allDefault);
  }
  if (auto* link = findChild<QLabel*>(QString::number(kIdEditorLink)))
    link->setText(QStringLiteral("<a href=\"%1\">%2 Home Page</a>").arg(m_editor.homePage, m_editor.name));
  for (const Level& level : kLevels) {
    LDBEdit* field = LDBEditInit(this, this, level.id);
    field->SetRange(LdBLevel(kMinLevel), LdBLevel(kMaxLevel));
    field->setGeometry(255, level.id == kIdAccentLevel ? 14 : level.id == kIdBeatLevel ? 46 : 78, 231, 25);
    field->show();
    // Taken as a signed byte first, as the level type stores it, then
    // limited to the field's range.
    const int stored = LUserSettingGet<int>(kSection, level.key, 0);
    field->SetLevel(LdBLevel(static_cast<signed char>(stored)));
  }
  LDBEdit* downbeat = LDBEditInit(this, this, kIdDownbeatLevel);
  downbeat->SetRange(LdBLevel(-kMaxLevel), LdBLevel(kMaxLevel));
  downbeat->setGeometry(255, 110, 231, 25);
  downbeat->setToolTip(QStringLiteral("The bar's first beat plays the accent sound this much louder"));
  downbeat->show();
  downbeat->SetLevel(LdBLevel(LLoadDownbeatLevel()));
}

bool LSoundPage::Command(int id, int) {
  switch (id) {
    case kIdSetAccent: CmSetAccentSound(); return true;
    case kIdSetBeat: CmSetBeatSound(); return true;
    case kIdSetClick: CmSetClickSound(); return true;
    case kIdLoadScheme: CmSoundSchemeLoad(); return true;
    case kIdSaveScheme: CmSoundSchemeSave(); return true;
    case kIdDefaultSound: CmSetDefaultSound(); return true;
    case kIdLaunchEditor: m_editor.Launch(); return true;
    default: return false;  // the level fields' drags among them
  }
}

void LSoundPage::SetSound(const char* field, const char* title) {
  char name[kRecordBufferSize];
  if (!LSoundSchemeSaveDialog::GetValidSoundFile(this, name, title)) return;
  {
    LProfile profile;
    LOptionsList list(profile);
    LOptions options;
    OpenOptions(list, options);
    options.SetString(field, name);
    if (!SaveOptions(this, list, options)) return;
  }
  Button(kIdDefaultSound)->setEnabled(true);
}

void LSoundPage::CmSetAccentSound() { SetSound(options_field::kAccent, "Select accent sound"); }
void LSoundPage::CmSetBeatSound() { SetSound(options_field::kBeat, "Select beat sound"); }
void LSoundPage::CmSetClickSound() { SetSound(options_field::kClick, "Select click sound"); }

void LSoundPage::CmSetDefaultSound() {
  {
    LProfile profile;
    LOptionsList list(profile);
    LOptions options;
    OpenOptions(list, options);
    for (const char* field : {options_field::kAccent, options_field::kBeat, options_field::kClick})
      options.SetString(field, "");
    if (!SaveOptions(this, list, options)) return;
  }
  Button(kIdDefaultSound)->setEnabled(false);
}

void LSoundPage::CmSoundSchemeLoad() { m_pendingScheme = ChooseScheme(); }

std::string LSoundPage::ChooseScheme() {
  LProfile profile;
  LSoundSchemeListWindow window(profile);
  window.Open(this);
  return window.ChosenKey();
}

void LSoundPage::CmSoundSchemeSave() { SaveScheme(); }

void LSoundPage::SaveScheme() {
  LProfile profile;
  LSoundSchemeSaveDialog dialog(profile, nullptr, this);
  dialog.Open(this);
}

bool LSoundPage::CmOk() {
  for (const Level& level : kLevels) LUserSettingSet<int>(kSection, level.key, LGetDBEdit(this, level.id).Get());
  LSaveDownbeatLevel(LGetDBEdit(this, kIdDownbeatLevel).Get());
  if (m_pendingScheme.empty()) return true;
  LProfile profile;
  LSoundSchemeRecordList schemes(profile);
  LSoundSchemeRecord scheme;
  if (!schemes.Open(scheme, m_pendingScheme)) return true;
  LOptionsList list(profile);
  LOptions options;
  OpenOptions(list, options);
  ApplySchemeToOptions(scheme, options);
  return SaveOptions(this, list, options);
}

void LSoundPage::CmHelp() { LShowHelp(this, QStringLiteral("sound")); }
