#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>
#include <algorithm>
#include <vector>

#include "platform/TimerHandler.h"
#include "store/Settings.h"
#include "ui/Icons.h"
#include "ui/InfoStrip.h"
#include "ui/ToolBar.h"

// The client area: controls are placed in it by pixel, and every resize
// lays them out again.
class LClientArea : public QWidget {
 public:
  explicit LClientArea(LMainWindow* owner) : QWidget(owner), m_owner(owner) {}

 protected:
  void resizeEvent(QResizeEvent*) override { m_owner->ClientResized(); }

 private:
  LMainWindow* m_owner;
};

namespace {

constexpr int kDefaultClientWidth = 600;
constexpr int kDefaultClientHeight = 330;
constexpr int kMinimumClientWidth = 520;
constexpr int kMinimumClientHeight = 300;

// Menu text with the key shown beside it, when the key may be shown.
QString MenuText(const char* text, int command, const LKeyToCommandMap* keys, int keyCount) {
  QString result = QString::fromUtf8(text);
  const LKeyToCommandMap* entry = LFindCommandKey(keys, keyCount, command);
  if (!entry) return result;
  const LKey key = entry->Key();
  if (key.IsEmpty() || key.IsReserved()) return result;
  return result + QLatin1Char('\t') + key.GetDescription();
}

QString FixedKeyText(QString text, const LKey& key) { return text + QLatin1Char('\t') + key.GetDescription(); }

}  // namespace

LMainWindow::LMainWindow(const char* settingsName) : m_settingsName(settingsName), m_client(new LClientArea(this)) {
  setWindowTitle(QStringLiteral("Morvane"));
  setCentralWidget(m_client);
  m_client->setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
  statusBar()->setObjectName(QString::number(kStatusBarId));
  statusBar()->setFixedHeight(kStatusBarHeight);
  m_infoStrip = new LInfoStrip(m_client);
  m_infoStrip->setObjectName(QString::number(kInfoStripId));
  m_infoStrip->onClosed = [this] { ClientResized(); };
}

LMainWindow::~LMainWindow() { InstallKeyDispatch(false); }

void LMainWindow::Start() {
  // Timers asked for while the window builds itself would fire into a
  // half-made window; they are armed once it stands.
  LTimerHandler::Enable(false);
  InitDialog();
  m_started = true;
  RestorePlacement();
  ClientResized();
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

void LMainWindow::ShowInfo(const QString& text) {
  m_infoStrip->AddMessage(text);
  ClientResized();
}

void LMainWindow::TakeBackInfo(const QString& text) {
  if (m_infoStrip->RemoveMessage(text)) ClientResized();
}

void LMainWindow::HideInfo() {
  if (m_infoStrip->isHidden()) return;
  m_infoStrip->Clear();
  ClientResized();
}

bool LMainWindow::IsInfoShown() const { return !m_infoStrip->isHidden(); }
QString LMainWindow::InfoText() const { return IsInfoShown() ? m_infoStrip->Text() : QString(); }

// The toolbar and status bar sit outside the client area, so only the
// information strip takes room from it.
int LMainWindow::FreeTop() const { return 0; }
int LMainWindow::FreeBottom() const { return m_client->height() - InfoHeight(); }

// Tall enough for the whole message, which says what to do; never more than
// half the window, so the controls stay usable.
int LMainWindow::InfoHeight() const {
  if (!IsInfoShown()) return 0;
  const int wanted = std::max(kInfoStripHeight, m_infoStrip->HeightForWidth(m_client->width()));
  return std::min(wanted, std::max(kInfoStripHeight, m_client->height() / 2));
}

void LMainWindow::CmHelp() {
  QMessageBox::information(
      this, QStringLiteral("Morvane"),
      QStringLiteral("Set the tempo in the Tempo field, with its arrows or by choosing a row of the tempo guide, "
                     "pick a measure and a subdivision, and press Play or Space.\n\n"
                     "Space starts and stops the metronome wherever the focus is. The slider under the button "
                     "sets the volume. Every setting is kept for the next start."));
}

void LMainWindow::CmAbout() {
  QMessageBox::about(this, QStringLiteral("About Morvane"),
                     QStringLiteral("Morvane %1\nA metronome for the desktop.").arg(QStringLiteral("0.1.0")));
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
  return false;
}

void LMainWindow::AddControl(int id, QWidget* control) {
  control->setParent(m_client);
  NameControl(id, control);
  control->show();
}

void LMainWindow::NameControl(int id, QWidget* control) {
  control->setObjectName(QString::number(id));
  m_controls[id] = control;
}

int LMainWindow::Place(int id, int x, int y, int width, int height) {
  QWidget* control = GetControl(id);
  if (!control) return 0;
  if (height < 0) height = control->sizeHint().height();
  control->setGeometry(x, y, width, height);
  return control->height();
}

void LMainWindow::SetMenuBar(const LMenuItem* items, int count, const LKeyToCommandMap* keys, int keyCount) {
  std::vector<QMenu*> open;
  for (int i = 0; i < count; ++i) {
    const LMenuItem& item = items[i];
    const bool hasText = item.text && *item.text;
    if (item.id == -1 && hasText) {
      QMenu* menu = open.empty() ? menuBar()->addMenu(QString::fromUtf8(item.text))
                                 : open.back()->addMenu(QString::fromUtf8(item.text));
      open.push_back(menu);
    } else if (item.id == -1) {
      if (!open.empty()) open.pop_back();
    } else if (item.id == 0) {
      if (!open.empty()) open.back()->addSeparator();
    } else if (!open.empty() && hasText) {
      const int command = item.id > 0 ? item.id : -item.id;
      QAction* action = open.back()->addAction(MenuText(item.text, command, keys, keyCount));
      connect(action, &QAction::triggered, this, [this, command] { DispatchCommand(command); });
      m_menuActions.emplace(command, action);
    }
  }
  AddFrameMenus();
}

// The desktop's conventions: Quit ends the File menu, Preferences ends the
// Tools menu, the manual and About are in Help.
void LMainWindow::AddFrameMenus() {
  QMenu* file = nullptr;
  QMenu* tools = nullptr;
  for (QAction* a : menuBar()->actions()) {
    if (a->text() == QLatin1String("File")) file = a->menu();
    if (a->text() == QLatin1String("Tools")) tools = a->menu();
  }
  if (!file) file = menuBar()->addMenu(QStringLiteral("File"));
  if (!tools) tools = menuBar()->addMenu(QStringLiteral("Tools"));
  auto add = [this](QMenu* menu, const QString& text, int command) {
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, [this, command] { DispatchCommand(command); });
    m_menuActions.emplace(command, action);
  };
  add(file, FixedKeyText(QStringLiteral("Quit"), LKey(0, LKey::kCommand, 'q')), kCmdQuit);
  tools->addSeparator();
  add(tools, FixedKeyText(QStringLiteral("Preferences..."), LKey(0, LKey::kCommand, ',')), kCmdPreferences);
  QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
  add(help, FixedKeyText(QStringLiteral("Morvane Manual"), LKey(Qt::Key_F1, 0, 0)), kCmdHelp);
  help->addSeparator();
  add(help, QStringLiteral("About Morvane"), kCmdAbout);
}

void LMainWindow::SetToolBar(const char* name, const LToolBarItem* items, int count, const LKeyToCommandMap* keys,
                             int keyCount) {
  m_toolBar = std::make_unique<LToolBar>(this, name);
  auto addItem = [this](int command, int image, const char* label, QString tooltip) {
    QAction* action = m_toolBar->AddItem(command, LGetIcon(image), QString::fromUtf8(label), tooltip);
    connect(action, &QAction::triggered, this, [this, command] { DispatchCommand(command); });
  };
  for (int i = 0; i < count; ++i) {
    const LToolBarItem& item = items[i];
    QString tooltip = QString::fromUtf8(item.tooltip ? item.tooltip : "");
    const LKeyToCommandMap* entry = LFindCommandKey(keys, keyCount, item.command);
    if (!tooltip.isEmpty() && entry) tooltip = QStringLiteral("%1 (%2)").arg(tooltip, entry->Key().GetDescription());
    addItem(item.command, item.image, item.label, tooltip);
  }
  addItem(kCmdHelp, kIconHelp, "Help",
          QStringLiteral("Display the manual (%1)").arg(LKey(Qt::Key_F1, 0, 0).GetDescription()));
  m_toolBar->RestoreState();
  // The toolbar's switch sits in a View menu before Help.
  QAction* toggle = m_toolBar->Bar()->toggleViewAction();
  toggle->setText(QStringLiteral("Show Toolbar"));
  QMenu* view = new QMenu(QStringLiteral("View"), this);
  view->addAction(toggle);
  QList<QAction*> top = menuBar()->actions();
  menuBar()->insertMenu(top.isEmpty() ? nullptr : top.last(), view);
}

void LMainWindow::ClientResized() {
  const int w = m_client->width();
  const int h = m_client->height();
  const int strip = std::max(InfoHeight(), kInfoStripHeight);
  m_infoStrip->setGeometry(0, h - strip, w, strip);
  if (m_started) LayoutControls();
}

void LMainWindow::RestorePlacement() {
  const char* s = m_settingsName;
  // The frame's parts around the client area, known once the layout has run.
  layout()->activate();
  const QSize extra = size() - m_client->size();
  const int cw = LUserSettingGetInt(s, "Width", kDefaultClientWidth, kMinimumClientWidth, 16000);
  const int ch = LUserSettingGetInt(s, "Height", kDefaultClientHeight, kMinimumClientHeight, 16000);
  QSize wanted(cw + extra.width(), ch + extra.height());
  const QScreen* screen = QApplication::primaryScreen();
  const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
  wanted = wanted.boundedTo(avail.size());
  resize(wanted);
  QPoint at(avail.left() + (avail.width() - wanted.width()) / 2, avail.top());
  char x[kSettingTextSize], y[kSettingTextSize];
  if (_LUserSettingGetString(s, "X", "", x) && _LUserSettingGetString(s, "Y", "", y)) {
    const QPoint stored(LSettingParseInt(x, 0), LSettingParseInt(y, 0));
    // Only where the title bar can still be grabbed: screens come and go.
    for (const QScreen* sc : QApplication::screens())
      if (sc->availableGeometry().intersects(QRect(stored, QSize(wanted.width(), 24)))) at = stored;
  }
  move(at);
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
