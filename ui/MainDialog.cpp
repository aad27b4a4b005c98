#include "ui/MainDialog.h"

#include <QAccessible>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/MVModel.h"
#include "store/Presets.h"
#include "ui/CaretRest.h"
#include "ui/HelpWindow.h"
#include "ui/Icons.h"
#include "ui/MVDisplay.h"
#include "ui/MVLedLightBox.h"
#include "ui/ModelTexts.h"
#include "ui/OptionsDialog.h"
#include "ui/PracticePresets.h"
#include "ui/PresetDialog.h"
#include "ui/PresetListWindow.h"
#include "ui/RhythmControls.h"
#include "ui/TempoField.h"

namespace {

// Space is listed three times: the first entry makes it toggle, the other
// two only let Play and Stop show it in the menu.
const LKeyToCommandMap kKeys[] = {
    {Qt::Key_Space, 0, ' ', MainDialog::kCmdToggle},      {Qt::Key_Space, 0, ' ', MainDialog::kCmdPlay},
    {Qt::Key_Space, 0, ' ', MainDialog::kCmdStop},        {0, LKey::kCommand, 'S', MainDialog::kCmdPresetSave},
    {0, LKey::kCommand, 'L', MainDialog::kCmdPresetLoad}, {0, LKey::kCommand, ',', LMainWindow::kCmdPreferences},
};
constexpr int kKeyCount = sizeof(kKeys) / sizeof(kKeys[0]);

const LMenuItem kMenu[] = {
    {-1, QT_TRANSLATE_NOOP("LMainWindow", "&File")},
    {MainDialog::kCmdPresetSave, QT_TRANSLATE_NOOP("LMainWindow", "&Save Preset...")},
    {MainDialog::kCmdPresetLoad, QT_TRANSLATE_NOOP("LMainWindow", "&Load Preset...")},
    {-1, nullptr},
    {-1, QT_TRANSLATE_NOOP("LMainWindow", "&Tools")},
    {MainDialog::kCmdPlay, QT_TRANSLATE_NOOP("LMainWindow", "&Play")},
    {MainDialog::kCmdStop, QT_TRANSLATE_NOOP("LMainWindow", "S&top")},
    {MainDialog::kCmdSelectSounds, QT_TRANSLATE_NOOP("LMainWindow", "Select &Sounds...")},
    {-1, nullptr},
};

const LToolBarItem kToolBar[] = {
    {MainDialog::kCmdPresetSave, kIconSave, QT_TRANSLATE_NOOP("LMainWindow", "Save Preset"),
     QT_TRANSLATE_NOOP("LMainWindow", "Save the current settings as a preset")},
    {MainDialog::kCmdPresetLoad, kIconLoad, QT_TRANSLATE_NOOP("LMainWindow", "Load Preset"),
     QT_TRANSLATE_NOOP("LMainWindow", "Load a saved preset")},
    {MainDialog::kCmdSelectSounds, kIconSounds, QT_TRANSLATE_NOOP("LMainWindow", "Sounds"),
     QT_TRANSLATE_NOOP("LMainWindow", "Select accent, beat and click sound")},
    {LMainWindow::kCmdPreferences, kIconPreferences, QT_TRANSLATE_NOOP("LMainWindow", "Preferences"),
     QT_TRANSLATE_NOOP("LMainWindow", "Adjust settings and options")},
};

}  // namespace

MainDialog::MainDialog(LMVModel* model)
    : LMainWindow("MainWindow"), m_model(model ? model : &LMVModel::GetInstance()) {}

// A window destroyed without closing must still leave the model, which
// would otherwise call into it.
MainDialog::~MainDialog() {
  if (IsClosed()) return;
  UnwatchFiles();
  m_model->Destroy();
}

void MainDialog::InitDialog() {
  SetMenuBar(kMenu, sizeof(kMenu) / sizeof(kMenu[0]), kKeys, kKeyCount);
  SetToolBar("Main", kToolBar, sizeof(kToolBar) / sizeof(kToolBar[0]), kKeys, kKeyCount);
  CreateControls();
  LayOut();
  WatchFiles();
  InitModel();
}

void MainDialog::CreateControls() {
  m_display = new LMVDisplay;
  m_display->setAccessibleName(tr("Tempo display"));
  m_lights = new LMVLedLightBox;
  m_lights->setAccessibleName(tr("Beat light"));
  m_lights->setAccessibleDescription(tr("Swings from side to side once per beat while playing"));
  NameControl(kIdDisplay, m_display);
  NameControl(kIdLights, m_lights);
  CreateGuide();

  m_tempo = new LTempoField(LMVModel::GetTempoMin(), LMVModel::GetTempoMax());
  m_tempo->onChange = [this](int) { DispatchCommand(kIdTempo); };
  m_tempo->setAccessibleName(tr("Tempo"));
  m_tempo->setAccessibleDescription(
      tr("Beats per minute, %1 to %2").arg(LMVModel::GetTempoMin()).arg(LMVModel::GetTempoMax()));
  NameControl(kIdTempo, m_tempo);
  NameControl(kIdTempoText, m_tempo->findChild<QLineEdit*>());

  m_playStop = new QToolButton;
  m_playStop->setIconSize(QSize(22, 22));
  m_playStop->setToolButtonStyle(Qt::ToolButtonIconOnly);
  m_playStop->setFocusPolicy(Qt::StrongFocus);
  m_playStop->setToolTip(tr("Play or stop (%1)").arg(kKeys[0].Key().GetDescription()));
  connect(m_playStop, &QToolButton::clicked, this, [this] { DispatchCommand(kCmdToggle); });
  NameControl(kIdPlayStop, m_playStop);

  m_subdiv = new QComboBox;
  m_measure = new QComboBox;
  for (const char* const* n = LMVModel::GetSubDivNames(); *n; ++n) m_subdiv->addItem(LModelNameText(*n));
  for (const char* const* n = LMVModel::GetMeasureNames(); *n; ++n) m_measure->addItem(LModelNameText(*n));
  m_measure->setAccessibleName(tr("Measure"));
  m_measure->setAccessibleDescription(tr("Beats in a bar, with the grouping of the odd ones"));
  m_subdiv->setAccessibleName(tr("Subdivisions"));
  m_subdiv->setAccessibleDescription(tr("Clicks in each beat"));
  // activated: the user's choices only, never the program's own selecting.
  connect(m_subdiv, &QComboBox::activated, this, [this] { DispatchCommand(kCmdSubDiv); });
  connect(m_measure, &QComboBox::activated, this, [this] { DispatchCommand(kCmdMeasure); });
  NameControl(kIdSubDiv, m_subdiv);
  NameControl(kIdMeasure, m_measure);
  m_rhythm = new LRhythmControls(this, *m_model, m_measure);

  m_volumePane = new QWidget;
  NameControl(kIdVolume, m_volumePane);
  m_volume.Init(*this, m_volumePane, kIdVolume);

  m_status = new QLabel;
  m_status->setAccessibleName(tr("Tempo and marking"));
  statusBar()->addWidget(m_status, 1);
}

void MainDialog::InitModel() {
  if (!m_model->Init()) {
    m_startFailed = true;
    ShowError(tr(kEssentialFileMissing));
    PostCommand(kCmdQuit);
  }
  CheckSounds();
  m_model->SetNotify(this);
  m_rhythm->Attach();
  // The field sends its command with the model's own tempo, which the
  // model takes as no change.
  SetTempoField(m_model->GetTempo());
  m_model->SetNotify(m_lights);
  m_model->SetNotify(m_display);
  // Playing-time ticks at the light's pace: each display frame while it is
  // seen, once a second while not.
  m_lights->SetPaceListener([this](int ms) { m_model->SetPlayingTimePace(ms); });
  new LCaretRest(this);
}

// The sound back ends start once the window is on screen, not before it.
void MainDialog::AfterFirstPaint() { m_model->PrepareOutput(); }

void MainDialog::DestroyDialog() {
  UnwatchFiles();
  m_model->Destroy();
}

void MainDialog::ShowError(const QString& text) { QMessageBox::critical(this, QStringLiteral("Morvane"), text); }

void MainDialog::SetTempoField(int bpm) { m_tempo->setValue(bpm); }

bool MainDialog::Command(int id, int arg) {
  switch (id) {
    case kCmdToggle:
      if (m_model->IsPlaying())
        m_model->StopPlaying();
      else
        m_model->StartPlaying();
      CheckOutput();
      EnableControls();
      return true;
    case kCmdPlay:
      m_model->StartPlaying();
      CheckOutput();
      EnableControls();
      return true;
    case kCmdStop:
      m_model->StopPlaying();
      EnableControls();
      return true;
    case kCmdPresetSave: CmPresetSave(); return true;
    case kCmdPresetLoad: CmPresetLoad(); return true;
    case kCmdSelectSounds:
      if (HasDialogs()) OpenOptions(1);
      return true;
    case kIdTempo: return m_model->SetTempoDelayed(m_tempo->TypedValue());
    case kIdVolume: return m_model->SetVolume(m_volume.GetLevel());
    case kCmdGuide: CmSetGuideValue(); return true;
    case kCmdSubDiv: return m_model->SetSubDiv(m_subdiv->currentIndex());
    case kCmdMeasure: return m_rhythm->MeasureChosen(m_measure->currentIndex());
    default: return LMainWindow::Command(id, arg);
  }
}

bool MainDialog::CmSettings() {
  if (HasDialogs()) OpenOptions(0);
  return true;
}

void MainDialog::CmPresetSave() {
  if (!HasDialogs()) return;
  OpenPresetDialog(m_tempo->TypedValue(), m_model->GetRhythm().LegacyIndex(), m_subdiv->currentIndex());
}

void MainDialog::CmPresetLoad() {
  if (!HasDialogs()) return;
  std::string key;
  if (ChoosePreset(key)) LoadPreset(key);
}

void MainDialog::OpenPresetDialog(int tempo, int measure, int subdiv) {
  LPresetDialog dialog(m_profile, nullptr, tempo, measure, subdiv, this);
  // The bar in force, unless the caller names another measure.
  if (measure == m_model->GetRhythm().LegacyIndex()) dialog.SetRhythm(m_model->GetRhythm());
  dialog.Open(this);
}

bool MainDialog::ChoosePreset(std::string& key) {
  LPresetListWindow window(m_profile);
  if (!window.Open(this)) return false;
  key = window.ChosenKey();
  return true;
}

bool MainDialog::LoadPreset(const std::string& key, std::string* name) {
  LUserPresetList list(m_profile);
  LUserPreset rec;
  if (!list.Open(rec, key)) return false;
  const LPresetValues values = ReadPresetValues(rec);
  ApplyPreset(values.tempo, values.measureIndex, values.subdiv);
  m_model->SetRhythm(LReadRhythm(rec, values.measureIndex));
  LPracticeReadPreset(rec);
  const std::string presetName = rec.GetString(preset_field::kName);
  ShowTitle(QString::fromStdString(presetName));
  if (name) *name = presetName;
  return true;
}

void MainDialog::ShowTitle(const QString& detail) {
  setWindowTitle(detail.isEmpty() ? QStringLiteral("Morvane") : QStringLiteral("Morvane \u2014 ") + detail);
}

void MainDialog::OpenOptions(int page) {
  SetDlg(this, static_cast<unsigned long>(page), *m_model);
  CheckSounds();
}

void MainDialog::CmHelp() { LShowHelp(this, QStringLiteral("manual")); }

void MainDialog::ApplyPreset(int tempo, int measure, int subdiv) {
  SetTempoField(tempo);
  if (measure >= 0 && measure < m_measure->count()) m_measure->setCurrentIndex(measure);
  m_model->SetMeasure(measure);
  if (subdiv >= 0 && subdiv < m_subdiv->count()) m_subdiv->setCurrentIndex(subdiv);
  m_model->SetSubDiv(subdiv);
}

void MainDialog::EnableControls() {
  const bool playing = m_model->IsPlaying();
  EnableCommand(kCmdPlay, !playing);
  EnableCommand(kCmdStop, playing);
  for (int id : {int(kCmdPresetSave), int(kCmdPresetLoad), int(kCmdSelectSounds), int(kCmdPreferences)})
    EnableCommand(id, HasDialogs());
  const int image = playing ? kIconStop : kIconPlay;
  if (image != m_playStopImage) {
    m_playStopImage = image;
    m_playStop->setIcon(LGetIcon(image));
    // Said by a screen reader as the button's name, and announced on change.
    m_playStop->setAccessibleName(playing ? tr("Stop") : tr("Play"));
    m_playStop->setAccessibleDescription(playing ? tr("Playing") : tr("Stopped"));
  }
}

bool MainDialog::EvKeyDown(const LKey& key) {
  if (const int command = LMapKeyToCommand(kKeys, kKeyCount, key)) {
    PostCommand(command);
    return true;
  }
  return LMainWindow::EvKeyDown(key);
}

// A held key repeats nothing, but it must not type into the focused
// control either (a held Space would press a focused button).
bool MainDialog::EvKeyRepeat(const LKey& key) { return LMapKeyToCommand(kKeys, kKeyCount, key) != 0; }

void MainDialog::EvMeasureChanged(int index, const char* name) { m_rhythm->ShowMeasure(index, name); }

void MainDialog::EvSubDivChanged(int index, const char*) { m_subdiv->setCurrentIndex(index); }

void MainDialog::EvVolumeChanged(const LdBLevel& level) { m_volume.SetLevel(level); }

// Playing may also stop without a command (the device went away); the
// button and menus follow either way.
void MainDialog::EvPlayingStarted() {
  TakeBackInfo(m_outputInfo);  // playing answers an output failure, not the other messages
  if (m_playStop) EnableControls();
}

void MainDialog::EvPlayingStopped() {
  if (m_playStop) EnableControls();
  CheckOutput();  // stopped because the device failed?
}

QString MainDialog::StatusText() const { return m_status ? m_status->text() : QString(); }
