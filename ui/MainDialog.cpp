#include "ui/MainDialog.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>

#include "model/MVModel.h"
#include "store/Presets.h"
#include "ui/HelpWindow.h"
#include "ui/Icons.h"
#include "ui/MVDisplay.h"
#include "ui/MVLedLightBox.h"
#include "ui/OptionsDialog.h"
#include "ui/PresetDialog.h"
#include "ui/PresetListWindow.h"

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
    {-1, "File"},
    {MainDialog::kCmdPresetSave, "Save"},
    {MainDialog::kCmdPresetLoad, "Load"},
    {0, nullptr},
    {-1, nullptr},
    {-1, "Tools"},
    {MainDialog::kCmdPlay, "Play"},
    {MainDialog::kCmdStop, "Stop"},
    {MainDialog::kCmdSelectSounds, "Select sounds..."},
    {-1, nullptr},
};

const LToolBarItem kToolBar[] = {
    {MainDialog::kCmdPresetSave, kIconSave, "Save", "Save current setting"},
    {MainDialog::kCmdPresetLoad, kIconLoad, "Load", "Load preset setting"},
    {MainDialog::kCmdSelectSounds, kIconSounds, "Sounds", "Select accent, beat and click sound"},
    {LMainWindow::kCmdPreferences, kIconPreferences, "Preferences", "Adjust settings and options"},
};

// Guide text only: the marking the model reports uses its own ranges.
struct GuideRow {
  const char* type;
  const char* bpm;
  const char* value;
};
const GuideRow kGuide[] = {
    {"Largo", "40-60", "50"},     {"Larghetto", "60-66", "63"},      {"Adagio", "66-76", "71"},
    {"Andante", "76-108", "92"},  {"Moderato", "108-120", "114"},    {"Allegro", "120-168", "144"},
    {"Presto", "168-200", "184"}, {"Prestissimo", "200-208", "204"},
};

// Nominal widths in the list view's units of 1.4 pixels.
int ColumnPixels(int nominal) { return static_cast<int>(nominal * 1.4 * 8 + 0.5); }

// The leading decimal digits of text; none gives 0.
int LeadingNumber(const QString& text) {
  long long v = 0;
  for (QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
    v = v * 10 + (c.unicode() - '0');
    if (v > 1000000) break;  // far past any tempo; the field clamps it
  }
  return static_cast<int>(v);
}

QLabel* Label(const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text));
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

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
  WatchFiles();
  InitModel();
  LayoutControls();
}

void MainDialog::CreateControls() {
  m_display = new LMVDisplay;
  m_lights = new LMVLedLightBox;
  AddControl(kIdDisplay, m_display);
  AddControl(kIdLights, m_lights);

  auto* guide = new QTreeWidget;
  guide->setColumnCount(3);
  guide->setHeaderLabels({QStringLiteral("Type"), QStringLiteral("BPM"), QStringLiteral("Value")});
  guide->setColumnWidth(0, ColumnPixels(8));
  guide->setColumnWidth(1, ColumnPixels(7));
  guide->setColumnHidden(2, true);
  guide->setRootIsDecorated(false);
  guide->setUniformRowHeights(true);
  guide->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const GuideRow& row : kGuide)
    guide->addTopLevelItem(
        new QTreeWidgetItem({QString::fromUtf8(row.type), QString::fromUtf8(row.bpm), QString::fromUtf8(row.value)}));
  connect(guide, &QTreeWidget::itemSelectionChanged, this, [this] { DispatchCommand(kCmdGuide); });
  // Choosing the row already selected applies it again.
  connect(guide, &QTreeWidget::itemClicked, this, [this] { DispatchCommand(kCmdGuide); });
  AddControl(kIdGuide, guide);

  AddControl(kIdMeasureLabel, Label("Measure:"));
  AddControl(kIdSubDivLabel, Label("SubDivs:"));
  AddControl(kIdTempoLabel, Label("Tempo:"));

  auto* tempo = new QSpinBox;
  tempo->setRange(LMVModel::GetTempoMin(), LMVModel::GetTempoMax());
  tempo->setSingleStep(1);
  tempo->setKeyboardTracking(true);  // every typed change reaches the model
  tempo->setAlignment(Qt::AlignRight);
  connect(tempo, &QSpinBox::valueChanged, this, [this] { DispatchCommand(kIdTempo); });
  AddControl(kIdTempo, tempo);
  NameControl(kIdTempoText, tempo->findChild<QLineEdit*>());

  auto* button = new QToolButton;
  button->setIconSize(QSize(22, 22));
  button->setToolTip(QStringLiteral("Play or stop (%1)").arg(kKeys[0].Key().GetDescription()));
  connect(button, &QToolButton::clicked, this, [this] { DispatchCommand(kCmdToggle); });
  AddControl(kIdPlayStop, button);

  auto* subdiv = new QComboBox;
  auto* measure = new QComboBox;
  for (const char* const* n = LMVModel::GetSubDivNames(); *n; ++n) subdiv->addItem(QString::fromUtf8(*n));
  for (const char* const* n = LMVModel::GetMeasureNames(); *n; ++n) measure->addItem(QString::fromUtf8(*n));
  // activated: the user's choices only, never the program's own selecting.
  connect(subdiv, &QComboBox::activated, this, [this] { DispatchCommand(kCmdSubDiv); });
  connect(measure, &QComboBox::activated, this, [this] { DispatchCommand(kCmdMeasure); });
  AddControl(kIdSubDiv, subdiv);
  AddControl(kIdMeasure, measure);

  auto* pane = new QWidget;
  AddControl(kIdVolume, pane);
  m_volume.Init(*this, pane, kIdVolume);

  m_status = new QLabel;
  statusBar()->addWidget(m_status, 1);
}

void MainDialog::InitModel() {
  if (!m_model->Init()) {
    ShowError(QString::fromUtf8(kEssentialFileMissing));
    PostCommand(kCmdQuit);
  }
  CheckSounds();
  m_model->SetNotify(this);
  // The field sends its command with the model's own tempo, which the
  // model takes as no change.
  SetTempoField(m_model->GetTempo());
  m_model->SetNotify(m_lights);
  m_model->SetNotify(m_display);
}

void MainDialog::DestroyDialog() {
  UnwatchFiles();
  m_model->Destroy();
}

void MainDialog::ShowError(const QString& text) { QMessageBox::critical(this, QStringLiteral("Morvane"), text); }

void MainDialog::SetTempoField(int bpm) { static_cast<QSpinBox*>(GetControl(kIdTempo))->setValue(bpm); }

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
    case kIdTempo: return m_model->SetTempoDelayed(static_cast<QSpinBox*>(GetControl(kIdTempo))->value());
    case kIdVolume: return m_model->SetVolume(m_volume.GetLevel());
    case kCmdGuide: CmSetGuideValue(); return true;
    case kCmdSubDiv: return m_model->SetSubDiv(static_cast<QComboBox*>(GetControl(kIdSubDiv))->currentIndex());
    case kCmdMeasure: return m_model->SetMeasure(static_cast<QComboBox*>(GetControl(kIdMeasure))->currentIndex());
    default: return LMainWindow::Command(id, arg);
  }
}

bool MainDialog::CmSettings() {
  if (HasDialogs()) OpenOptions(0);
  return true;
}

void MainDialog::CmPresetSave() {
  if (!HasDialogs()) return;
  OpenPresetDialog(static_cast<QSpinBox*>(GetControl(kIdTempo))->value(),
                   static_cast<QComboBox*>(GetControl(kIdMeasure))->currentIndex(),
                   static_cast<QComboBox*>(GetControl(kIdSubDiv))->currentIndex());
}

void MainDialog::CmPresetLoad() {
  if (!HasDialogs()) return;
  int tempo = 100, measure = 0, subdiv = 0;
  if (ChoosePreset(tempo, measure, subdiv)) ApplyPreset(tempo, measure, subdiv);
}

void MainDialog::OpenPresetDialog(int tempo, int measure, int subdiv) {
  LPresetDialog dialog(m_profile, nullptr, tempo, measure, subdiv, this);
  dialog.Open(this);
}

bool MainDialog::ChoosePreset(int& tempo, int& measure, int& subdiv) {
  LPresetListWindow window(m_profile);
  if (!window.Open(this)) return false;
  LUserPresetList list(m_profile);
  LUserPreset rec;
  if (!list.Open(rec, window.ChosenKey())) return false;
  const LPresetValues values = ReadPresetValues(rec);
  tempo = values.tempo;
  measure = values.measureIndex;
  subdiv = values.subdiv;
  return true;
}

void MainDialog::OpenOptions(int page) {
  SetDlg(this, static_cast<unsigned long>(page), *m_model);
  CheckSounds();
}

void MainDialog::CmHelp() { LShowHelp(this, QStringLiteral("manual")); }

void MainDialog::ApplyPreset(int tempo, int measure, int subdiv) {
  SetTempoField(tempo);
  auto* measures = static_cast<QComboBox*>(GetControl(kIdMeasure));
  auto* subdivs = static_cast<QComboBox*>(GetControl(kIdSubDiv));
  if (measure >= 0 && measure < measures->count()) measures->setCurrentIndex(measure);
  m_model->SetMeasure(measure);
  if (subdiv >= 0 && subdiv < subdivs->count()) subdivs->setCurrentIndex(subdiv);
  m_model->SetSubDiv(subdiv);
}

void MainDialog::CmSetGuideValue() {
  auto* guide = static_cast<QTreeWidget*>(GetControl(kIdGuide));
  const QList<QTreeWidgetItem*> selected = guide->selectedItems();
  if (selected.isEmpty()) return;
  SetTempoField(LeadingNumber(selected.first()->text(2)));
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
    static_cast<QToolButton*>(GetControl(kIdPlayStop))->setIcon(LGetIcon(image));
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

void MainDialog::EvMeasureChanged(int index, const char*) {
  static_cast<QComboBox*>(GetControl(kIdMeasure))->setCurrentIndex(index);
}

void MainDialog::EvSubDivChanged(int index, const char*) {
  static_cast<QComboBox*>(GetControl(kIdSubDiv))->setCurrentIndex(index);
}

void MainDialog::EvVolumeChanged(const LdBLevel& level) { m_volume.SetLevel(level); }

void MainDialog::EvTempoChanged(int bpm, const char* marking) {
  m_lastTempo = bpm;
  m_status->setText(QStringLiteral("%1 bpm, %2").arg(bpm).arg(QString::fromUtf8(marking ? marking : "")));
}

// Playing may also stop without a command (the device went away); the
// button and menus follow either way.
void MainDialog::EvPlayingStarted() {
  TakeBackInfo(m_outputInfo);  // playing answers an output failure, not the other messages
  if (GetControl(kIdPlayStop)) EnableControls();
}

void MainDialog::EvPlayingStopped() {
  if (GetControl(kIdPlayStop)) EnableControls();
  CheckOutput();  // stopped because the device failed?
}

QString MainDialog::StatusText() const { return m_status ? m_status->text() : QString(); }

void MainDialog::LayoutControls() {
  const int w = Client()->width();
  const int top = FreeTop();
  const int bottom = FreeBottom();
  const int half = (w - 54) / 2;

  const int displayHeight = Place(kIdDisplay, 18, top + 9, half - 18, 63);
  const int y1 = top + 9 + displayHeight + 9;
  Place(kIdTempoLabel, 18, y1, half - 100, 22);
  const int fieldHeight = Place(kIdTempo, half - 72, y1, 72, -1);
  const int y2 = y1 + fieldHeight + 9;
  Place(kIdMeasureLabel, 18, y2, half - 100, 22);
  const int measureHeight = Place(kIdMeasure, half - 72, y2, 72, -1);
  const int y3 = y2 + measureHeight + 18;
  Place(kIdSubDivLabel, 18, y3, half - 100, 22);
  const int subdivHeight = Place(kIdSubDiv, half - 72, y3, 72, -1);
  const int y4 = y3 + subdivHeight + 18;
  Place(kIdLights, 18, y4, half - 18, bottom - y4 - 9);

  const int right = GetControl(kIdDisplay)->width() + 36;
  const int listHeight = Place(kIdGuide, right, top + 9, half + 18, 198);
  const int y5 = top + 9 + listHeight + 6;
  const int buttonHeight = Place(kIdPlayStop, right, y5, half + 18, 28);
  const int y6 = y5 + buttonHeight + 5;
  Place(kIdVolume, right, y6, half + 18, bottom - y6 - 9);
}
