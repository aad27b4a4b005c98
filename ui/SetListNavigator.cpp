#include "ui/SetListNavigator.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>

#include "store/DataFolders.h"
#include "store/Presets.h"
#include "store/Settings.h"
#include "ui/MainDialog.h"
#include "ui/SetListDialog.h"
#include "ui/SetListWindow.h"

namespace {

constexpr const char* kSection = "SetList";

bool IsTextField(const QWidget* w) {
  const auto* combo = qobject_cast<const QComboBox*>(w);
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
         qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) || (combo && combo->isEditable());
}

// Controls that move their own value, selection or cursor with Left/Right
// (the pattern strip says so by a property).
bool UsesArrows(const QWidget* w) {
  return IsTextField(w) || qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
         qobject_cast<const QAbstractSlider*>(w) || (w && w->property("usesArrowKeys").toBool());
}

QToolButton* StepButton(Qt::ArrowType arrow, const QString& name, const QString& tip) {
  auto* b = new QToolButton;
  b->setArrowType(arrow);
  b->setAccessibleName(name);
  b->setToolTip(tip);
  b->setFocusPolicy(Qt::StrongFocus);
  b->hide();
  return b;
}

}  // namespace

LSetListNavigator* LSetListNavigator::Install(MainDialog& window) { return new LSetListNavigator(window); }

LSetListNavigator::LSetListNavigator(MainDialog& window)
    : QObject(&window), m_window(window), m_profile(GetSharedDataFolderApp()) {
  connect(window.AddMenuItem("File", tr("&New Set List…")), &QAction::triggered, this, [this] { NewSetList(); });
  connect(window.AddMenuItem("File", tr("Set Lis&ts…")), &QAction::triggered, this, [this] { ChooseSetList(); });
  m_close = window.AddMenuItem("File", tr("&Close Set List"));
  connect(m_close, &QAction::triggered, this, [this] { Close(); });
  m_previous = StepButton(Qt::LeftArrow, tr("Previous preset"), tr("Previous preset of the set list (Left or [)"));
  m_next = StepButton(Qt::RightArrow, tr("Next preset"), tr("Next preset of the set list (Right or ])"));
  connect(m_previous, &QToolButton::clicked, this, [this] { Step(-1); });
  connect(m_next, &QToolButton::clicked, this, [this] { Step(1); });
  window.AddButton(m_previous);
  window.AddButton(m_next);
  // Ahead of the window's own key table, as the practice keys are.
  window.winId();
  window.windowHandle()->installEventFilter(this);
  Restore();
}

int LSetListNavigator::KeyAction(const QKeyEvent& event, const QWidget* focused) {
  const Qt::KeyboardModifiers mods =
      event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier | Qt::GroupSwitchModifier);
  if (mods != Qt::NoModifier) return 0;  // Ctrl, Alt and Meta belong to menus
  switch (event.key()) {
    case Qt::Key_Right: return UsesArrows(focused) ? 0 : 1;
    case Qt::Key_Left: return UsesArrows(focused) ? 0 : -1;
    case Qt::Key_BracketRight: return IsTextField(focused) ? 0 : 1;
    case Qt::Key_BracketLeft: return IsTextField(focused) ? 0 : -1;
    default: return 0;
  }
}

bool LSetListNavigator::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !IsActive()) return QObject::eventFilter(watched, event);
  const int step = KeyAction(*static_cast<QKeyEvent*>(event), QApplication::focusWidget());
  if (step == 0) return QObject::eventFilter(watched, event);
  Step(step);
  return true;
}

// The set list as stored now: it may have been edited since it was chosen.
// False when it is gone.
bool LSetListNavigator::Reload() {
  LSetListList list(m_profile);
  LSetListRecord rec;
  if (m_key.empty() || !list.Open(rec, m_key)) return false;
  m_list = ReadSetList(rec);
  rec.Discard();
  return true;
}

bool LSetListNavigator::Activate(const std::string& key) {
  const std::string oldKey = m_key;
  const LSetList oldList = m_list;
  m_key = key;
  if (Reload() && LoadAt(LSetListStep(m_list, -1, 1, [](const std::string&) { return true; }))) return true;
  m_key = oldKey;
  m_list = oldList;
  return false;
}

bool LSetListNavigator::LoadAt(int position) {
  // Presets deleted since the set list was made are passed over.
  for (; position >= 0 && position < static_cast<int>(m_list.presets.size()); ++position) {
    std::string name;
    if (!m_window.LoadPreset(m_list.presets[static_cast<size_t>(position)], &name)) continue;
    m_position = position;
    LUserSettingSetString(kSection, "Key", m_key.c_str());
    LUserSettingSet<int>(kSection, "Position", m_position);
    Show(name);
    return true;
  }
  return false;
}

bool LSetListNavigator::Step(int direction) {
  if (!IsActive()) return false;
  if (!Reload()) {
    Close();
    return false;
  }
  LUserPresetList presets(m_profile);
  const int to = LSetListStep(m_list, m_position, direction, [&presets](const std::string& key) {
    LUserPreset rec;
    const bool there = presets.Open(rec, key);
    rec.Discard();
    return there;
  });
  return to >= 0 && LoadAt(to);
}

void LSetListNavigator::Close() {
  m_key.clear();
  m_list = {};
  m_position = -1;
  LUserSettingDeleteItem(kSection, "Key");
  LUserSettingDeleteItem(kSection, "Position");
  Show({});
}

void LSetListNavigator::Show(const std::string& presetName) {
  const int count = static_cast<int>(m_list.presets.size());
  if (IsActive())
    m_window.ShowTitle(tr("%1 %2/%3").arg(QString::fromStdString(presetName)).arg(m_position + 1).arg(count));
  else
    m_window.ShowTitle({});
  m_previous->setVisible(IsActive());
  m_next->setVisible(IsActive());
  m_previous->setEnabled(m_position > 0);
  m_next->setEnabled(m_position + 1 < count);
  m_close->setEnabled(IsActive());
}

// The set list and place of the last run, shown without loading the preset
// again: the window's own settings already hold what it set.
void LSetListNavigator::Restore() {
  char key[kRecordBufferSize];
  _LUserSettingGetString(kSection, "Key", "", key);
  m_key = key;
  if (!Reload()) {
    m_key.clear();
    m_list = {};
    return Show({});
  }
  const int count = static_cast<int>(m_list.presets.size());
  m_position = LUserSettingGetInt(kSection, "Position", 0, 0, std::max(0, count - 1));
  LUserPresetList presets(m_profile);
  LUserPreset rec;
  const bool there = count > 0 && presets.Open(rec, m_list.presets[static_cast<size_t>(m_position)]);
  Show(there ? rec.GetString(preset_field::kName) : std::string());
  rec.Discard();
}

void LSetListNavigator::NewSetList() {
  LSetListDialog dialog(m_profile, std::string(), &m_window);
  if (dialog.Open(&m_window)) Activate(dialog.Key());
}

void LSetListNavigator::ChooseSetList() {
  LSetListWindow window(m_profile);
  if (window.Open(&m_window)) Activate(window.ChosenKey());
}
