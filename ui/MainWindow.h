// The frame every main window of the program sits on: controls found by
// integer id, one Command() dispatch point for menus, toolbar, keys and
// controls, the key table consulted before the focused control, menu bar,
// toolbar with its saved state, status bar, information strip, window
// placement kept between runs, and the start and exit sequence.
#pragma once

#include <map>
#include <memory>

#include <QCoreApplication>
#include <QMainWindow>
#include <QString>

#include "ui/CommandTarget.h"
#include "ui/Key.h"

class QAction;
class LInfoStrip;
class LToolBar;

// Menu list entry: id -1 with text opens a menu, -1 without text closes the
// innermost one, 0 is a separator, id > 0 sends id and id < -1 sends -id.
// Texts of menu and toolbar tables are marked
// QT_TRANSLATE_NOOP("LMainWindow", ...) and translated when shown.
struct LMenuItem {
  int id;
  const char* text;
};

struct LToolBarItem {
  int command;
  int image;  // an LIcon id
  const char* label;
  const char* tooltip;
};

class LMainWindow : public QMainWindow, public LKeyHandler, public LCommandTarget {
  Q_DECLARE_TR_FUNCTIONS(LMainWindow)

 public:
  static constexpr int kStatusBarId = 800;
  static constexpr int kInfoStripId = 9599;
  // The frame's own commands.
  static constexpr int kCmdPreferences = 2001;
  static constexpr int kCmdHelp = 9001;
  static constexpr int kCmdAbout = 9002;
  static constexpr int kCmdQuit = 9003;

  // settingsName: the section the window's placement is kept under.
  explicit LMainWindow(const char* settingsName);
  ~LMainWindow() override;

  // Builds, places and shows the window, with timers held back until it
  // stands.
  void Start();
  // Start(), then the event loop until the window closes; the loop's result.
  int Run();
  // Closes the window unless a modal window or a no-quit hold stops it.
  bool CmExit();
  // Closes the window whatever holds it open: the session is ending.
  void ForceClose();
  bool IsClosed() const { return m_closed; }
  // A hold that makes CmExit refuse, for work that must not be cut short.
  void HoldQuit(bool on) { m_noQuit += on ? 1 : -1; }

  bool Command(int id, int arg) override;
  // Runs the command at the next turn of the event loop.
  void PostCommand(int id);
  // What menus, toolbar and controls call: the command, then EnableControls().
  void DispatchCommand(int id);

  QWidget* GetControl(int id) const;
  // The command's menu action (nullptr when the menus have none).
  QAction* GetMenuAction(int id) const;
  QAction* GetToolBarAction(int id) const;
  void EnableCommand(int id, bool on);
  LToolBar* GetToolBar() const { return m_toolBar.get(); }

  // The strip at the bottom of the window, for the program's own messages.
  // Adds a message to the information strip (shown once however often).
  void ShowInfo(const QString& text);
  // Drops one message that no longer holds; HideInfo drops them all.
  void TakeBackInfo(const QString& text);
  void HideInfo();
  bool IsInfoShown() const;
  QString InfoText() const;

  // The central area: the window's own controls (Body) above the strip.
  QWidget* Client() const { return m_client; }
  QWidget* Body() const { return m_body; }

 protected:
  virtual void InitDialog() {}
  virtual void DestroyDialog() {}
  virtual void EnableControls() {}
  // Once, right after the window's first paint has reached the screen:
  // work that must not delay the window (it may block for a while).
  virtual void AfterFirstPaint() {}
  virtual bool CmCancel() { return true; }
  virtual bool CmSettings() { return false; }
  virtual void CmHelp();
  virtual void CmAbout();

  // Framework keys not in the window's own table: the manual (F1, Ctrl+/)
  // and Quit (Ctrl+Q).
  bool EvKeyDown(const LKey& key) override;

  // Names a control by id, so commands and tests find it; its layout
  // places it.
  void NameControl(int id, QWidget* control);
  void SetMenuBar(const LMenuItem* items, int count, const LKeyToCommandMap* keys, int keyCount);
  void SetToolBar(const char* name, const LToolBarItem* items, int count, const LKeyToCommandMap* keys, int keyCount);
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RestorePlacement();
  void StorePlacement();
  void InstallKeyDispatch(bool on);
  void AddFrameMenus();

  const char* m_settingsName;
  QWidget* m_client;
  QWidget* m_body;
  LInfoStrip* m_infoStrip = nullptr;
  std::unique_ptr<LToolBar> m_toolBar;
  std::map<int, QWidget*> m_controls;
  std::map<int, QAction*> m_menuActions;
  bool m_started = false;
  bool m_closed = false;
  bool m_keyDispatch = false;
  bool m_painted = false;
  int m_noQuit = 0;
};
