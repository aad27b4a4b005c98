#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <vector>

#include "platform/TimerHandler.h"
#include "store/Settings.h"
#include "ui/Icons.h"
#include "ui/InfoStrip.h"
#include "ui/Placement.h"
#include "ui/ToolBar.h"

namespace {

constexpr int kDefaultClientWidth = 600;
constexpr int kDefaultClientHeight = 330;

// Menu text with the key shown beside it, when the key may be shown.
QString MenuText(const QString& text, int command, const LKeyToCommandMap* keys, int keyCount) {
  QString result = text;
  const LKeyToCommandMap* entry = LFindCommandKey(keys, keyCount, command);
  if (!entry) return result;
  const LKey key = entry->Key();
  if (key.IsEmpty() || key.IsReserved()) return result;
  return result + QLatin1Char('\t') + key.GetDescription();
}

QString FixedKeyText(const QString& text, const LKey& key) { return text + QLatin1Char('\t') + key.GetDescription(); }

}  // namespace

LMainWindow::LMainWindow(const char* settingsName)
    : m_settingsName(settingsName), m_client(new QWidget(this)), m_body(new QWidget(m_client)) {
  setWindowTitle(QStringLiteral("Morvane"));
  setCentralWidget(m_client);
  statusBar()->setObjectName(QString::number(kStatusBarId));
  m_infoStrip = new LInfoStrip(m_client);
  m_infoStrip->setObjectName(QString::number(kInfoStripId));
  auto* layout = new QVBoxLayout(m_client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_body, 1);
  layout->addWidget(m_infoStrip);
}

LMainWindow::~LMainWindow() { InstallKeyDispatch(false); }

void LMainWindow::Start() {
  // Timers asked for while the window builds itself would fire into a
  // half-made window; they are armed once it stands.
  LTimerHandler::Enable(false);
  InitDialog();
  m_started = true;
  RestorePlacement();
  EnableControls();
  InstallKeyDispatch(true);
  // A window that starts hidden could never be reached again on a desktop
  // without a tray, so "not shown at start-up" starts it minimised.
  const bool maximized = LUserSettingGet<bool>(m_settingsName, "Maximized", false);
  if (!LUserSettingGet<bool>("Settings", "MainWindowShownAtStartup", true))
    showMinimized();
  else if (maximized)
    showMaximized();
  else
    show();
  LKeepOnScreen(this);  // the frame is known now
  activateWindow();
  LTimerHandler::Enable(true);
}

int LMainWindow::Run() {
  Start();
  return QApplication::exec();
}

bool LMainWindow::CmExit() {
  if (m_closed || m_noQuit > 0 || QApplication::activeModalWidget()) return false;
  if (!CmCancel()) return false;
  ForceClose();
  return true;
}

void LMainWindow::ForceClose() {
  if (m_closed) return;
  if (m_toolBar) m_toolBar->StoreState();
  StorePlacement();
  m_closed = true;
  hide();
  InstallKeyDispatch(false);
  DestroyDialog();
  QCoreApplication::quit();
}

bool LMainWindow::Command(int id, int) {
  switch (id) {
    case kCmdPreferences: return CmSettings();
    case kCmdHelp: CmHelp(); return true;
    case kCmdAbout: CmAbout(); return true;
    case kCmdQuit: return CmExit();
    default: return false;
  }
}

void LMainWindow::PostCommand(int id) {
  QMetaObject::invokeMethod(
      this, [this, id] { DispatchCommand(id); }, Qt::QueuedConnection);
}

// A command posted before the window closed finds it closed: it is dropped,
// so a late Space cannot start playing behind a window that is gone.
void LMainWindow::DispatchCommand(int id) {
  if (m_closed) return;
  Command(id, 0);
  if (!m_closed) EnableControls();
}

QWidget* LMainWindow::GetControl(int id) const {
  auto it = m_controls.find(id);
  return it == m_controls.end() ? nullptr : it->second;
}

QAction* LMainWindow::GetMenuAction(int id) const {
  auto it = m_menuActions.find(id);
  return it == m_menuActions.end() ? nullptr : it->second;
}

QAction* LMainWindow::GetToolBarAction(int id) const { return m_toolBar ? m_toolBar->Action(id) : nullptr; }

void LMainWindow::EnableCommand(int id, bool on) {
  if (QAction* a = GetMenuAction(id)) a->setEnabled(on);
  if (QAction* a = GetToolBarAction(id)) a->setEnabled(on);
}

void LMainWindow::ShowInfo(const QString& text) { m_infoStrip->AddMessage(text); }

void LMainWindow::TakeBackInfo(const QString& text) { m_infoStrip->RemoveMessage(text); }

void LMainWindow::HideInfo() { m_infoStrip->Clear(); }

bool LMainWindow::IsInfoShown() const { return !m_infoStrip->isHidden(); }
QString LMainWindow::InfoText() const { return IsInfoShown() ? m_infoStrip->Text() : QString(); }

void LMainWindow::CmHelp() {
  QMessageBox::information(
      this, QStringLiteral("Morvane"),
      tr("Set the tempo in the Tempo field, with its arrows or by choosing a row of the tempo guide, "
         "pick a measure and a subdivision, and press Play or Space.\n\n"
         "Space starts and stops the metronome wherever the focus is. The slider under the button "
         "sets the volume. Every setting is kept for the next start."));
}

void LMainWindow::CmAbout() {
  QMessageBox::about(this, tr("About Morvane"),
                     tr("Morvane %1\nA metronome for the desktop.").arg(QStringLiteral("0.1.0")));
}

bool LMainWindow::EvKeyDown(const LKey& key) {
  if (key == LKey(Qt::Key_F1, 0, 0) || key == LKey(0, LKey::kCommand, '/')) {
    PostCommand(kCmdHelp);
    return true;
  }
  if (key == LKey(0, LKey::kCommand, 'q')) {
    PostCommand(kCmdQuit);
    return true;
  }
  // The desktop's key for the menu bar; Alt alone and Alt+letter the
  // menu bar handles itself.
  if (key == LKey(Qt::Key_F10, 0, 0) && menuBar()->isVisible() && !menuBar()->actions().isEmpty()) {
    menuBar()->setFocus(Qt::MenuBarFocusReason);
    menuBar()->setActiveAction(menuBar()->actions().first());
    return true;
  }
  return false;
}

void LMainWindow::NameControl(int id, QWidget* control) {
  control->setObjectName(QString::number(id));
  m_controls[id] = control;
}

void LMainWindow::SetMenuBar(const LMenuItem* items, int count, const LKeyToCommandMap* keys, int keyCount) {
  std::vector<QMenu*> open;
  for (int i = 0; i < count; ++i) {
    const LMenuItem& item = items[i];
    const bool hasText = item.text && *item.text;
    if (item.id == -1 && hasText) {
      // Named by the untranslated text, so the frame finds its menus in any language.
      const QString text = tr(item.text);
      QMenu* menu = open.empty() ? menuBar()->addMenu(text) : open.back()->addMenu(text);
      menu->setObjectName(QString::fromUtf8(item.text).remove(QLatin1Char('&')));
      open.push_back(menu);
    } else if (item.id == -1) {
      if (!open.empty()) open.pop_back();
    } else if (item.id == 0) {
      if (!open.empty()) open.back()->addSeparator();
    } else if (!open.empty() && hasText) {
      const int command = item.id > 0 ? item.id : -item.id;
      QAction* action = open.back()->addAction(MenuText(tr(item.text), command, keys, keyCount));
      connect(action, &QAction::triggered, this, [this, command] { DispatchCommand(command); });
      m_menuActions.emplace(command, action);
    }
  }
  AddFrameMenus();
}

// The desktop's conventions: Quit ends the File menu, Preferences ends the
// Tools menu, the manual and About are in Help.
void LMainWindow::AddFrameMenus() {
  QMenu* file = menuBar()->findChild<QMenu*>(QStringLiteral("File"), Qt::FindDirectChildrenOnly);
  QMenu* tools = menuBar()->findChild<QMenu*>(QStringLiteral("Tools"), Qt::FindDirectChildrenOnly);
  if (!file) file = menuBar()->addMenu(tr("&File"));
  if (!tools) tools = menuBar()->addMenu(tr("&Tools"));
  auto add = [this](QMenu* menu, const QString& text, int command) {
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, [this, command] { DispatchCommand(command); });
    m_menuActions.emplace(command, action);
  };
  file->addSeparator();
  add(file, FixedKeyText(tr("&Quit"), LKey(0, LKey::kCommand, 'q')), kCmdQuit);
  tools->addSeparator();
  add(tools, FixedKeyText(tr("P&references..."), LKey(0, LKey::kCommand, ',')), kCmdPreferences);
  QMenu* help = menuBar()->addMenu(tr("&Help"));
  add(help, FixedKeyText(tr("Morvane &Manual"), LKey(Qt::Key_F1, 0, 0)), kCmdHelp);
  help->addSeparator();
  add(help, tr("&About Morvane"), kCmdAbout);
}

void LMainWindow::SetToolBar(const char* name, const LToolBarItem* items, int count, const LKeyToCommandMap* keys,
                             int keyCount) {
  m_toolBar = std::make_unique<LToolBar>(this, name);
  auto addItem = [this](int command, int image, const QString& label, const QString& tooltip) {
    QAction* action = m_toolBar->AddItem(command, LGetIcon(image), label, tooltip);
    connect(action, &QAction::triggered, this, [this, command] { DispatchCommand(command); });
  };
  for (int i = 0; i < count; ++i) {
    const LToolBarItem& item = items[i];
    QString tooltip = item.tooltip ? tr(item.tooltip) : QString();
    const LKeyToCommandMap* entry = LFindCommandKey(keys, keyCount, item.command);
    if (!tooltip.isEmpty() && entry) tooltip = QStringLiteral("%1 (%2)").arg(tooltip, entry->Key().GetDescription());
    addItem(item.command, item.image, tr(item.label), tooltip);
  }
  addItem(kCmdHelp, kIconHelp, tr("Help"), tr("Display the manual (%1)").arg(LKey(Qt::Key_F1, 0, 0).GetDescription()));
  m_toolBar->RestoreState();
  // The toolbar's switch sits in a View menu before Help.
  QAction* toggle = m_toolBar->Bar()->toggleViewAction();
  toggle->setText(tr("Show &Toolbar"));
  QMenu* view = new QMenu(tr("&View"), this);
  view->addAction(toggle);
  QList<QAction*> top = menuBar()->actions();
  menuBar()->insertMenu(top.isEmpty() ? nullptr : top.last(), view);
}

// The stored size and place, fitted to the screens there are now: a
// placement kept at another scale or on a screen since removed must still
// open whole on a screen.
void LMainWindow::RestorePlacement() {
  const char* s = m_settingsName;
  // The frame's parts around the client area, known once the layout has run.
  layout()->activate();
  const QSize extra = size() - m_client->size();
  const int cw = LUserSettingGetInt(s, "Width", kDefaultClientWidth, 1, 16000);
  const int ch = LUserSettingGetInt(s, "Height", kDefaultClientHeight, 1, 16000);
  QRect wanted(QPoint(), QSize(cw + extra.width(), ch + extra.height()).expandedTo(minimumSizeHint()));
  char x[kSettingTextSize], y[kSettingTextSize];
  const bool stored = _LUserSettingGetString(s, "X", "", x) && _LUserSettingGetString(s, "Y", "", y);
  if (stored) wanted.moveTopLeft(QPoint(LSettingParseInt(x, 0), LSettingParseInt(y, 0)));
  const QRect placed =
      LFitOnScreens(wanted, LAvailableScreens(), stored ? kFitKeepPlace : kFitCentreTop, LFrameMargins(this));
  resize(placed.size());
  move(placed.topLeft());
}

void LMainWindow::StorePlacement() {
  const char* s = m_settingsName;
  const bool maximized = isMaximized();
  LUserSettingSet<bool>(s, "Maximized", maximized);
  if (maximized || isMinimized()) return;
  LUserSettingSet<int>(s, "X", pos().x());
  LUserSettingSet<int>(s, "Y", pos().y());
  LUserSettingSet<int>(s, "Width", m_client->width());
  LUserSettingSet<int>(s, "Height", m_client->height());
}

void LMainWindow::InstallKeyDispatch(bool on) {
  if (on == m_keyDispatch) return;
  // On the window, not the widgets: the table sees each key once, before
  // the focused control, and never a key meant for another window.
  if (on) winId();  // makes the platform window the filter sits on
  QWindow* window = windowHandle();
  if (!window) return;
  if (on)
    window->installEventFilter(this);
  else
    window->removeEventFilter(this);
  m_keyDispatch = on;
}

bool LMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
    return DispatchKeyEvent(*static_cast<QKeyEvent*>(event));
  // The window paints and flushes as it handles its first exposure; a call
  // queued now runs after that.
  if (watched == windowHandle() && event->type() == QEvent::Expose && !m_painted && windowHandle()->isExposed()) {
    m_painted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (!m_closed) AfterFirstPaint();
        },
        Qt::QueuedConnection);
  }
  return QMainWindow::eventFilter(watched, event);
}

void LMainWindow::closeEvent(QCloseEvent* event) {
  if (m_closed || CmExit())
    event->accept();
  else
    event->ignore();
}

void LMainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_started && !m_closed) EnableControls();
  QMainWindow::changeEvent(event);
}
