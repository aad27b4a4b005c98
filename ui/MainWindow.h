// The frame every main window of the program sits on: controls found by
// integer id, one Command() dispatch point for menus, toolbar, keys and
// controls, the key table consulted before the focused control, menu bar,
// toolbar with its saved state, status bar, information strip, window
// placement kept between runs, and the start and exit sequence.
#pragma once

#include <map>
#include <memory>

#include <QMainWindow>
#include <QString>

#include "ui/CommandTarget.h"
#include "ui/Key.h"

class QAction;
class LInfoStrip;
class LToolBar;

// Menu list entry: id -1 with text opens a menu, -1 without text closes the
// innermost one, 0 is a separator, id > 0 sends id and id < -1 sends -id.
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
 public:
  static constexpr int kStatusBarId = 800;
  static constexpr int kInfoStripId = 9599;
  static constexpr int kStatusBarHeight = 30;
  static constexpr int kInfoStripHeight = 32;  // at least; a longer message gets more lines
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

  // The area free for the window's controls: top and bottom edge (T and H).
  int FreeTop() const;
  int FreeBottom() const;
  int InfoHeight() const;
  QWidget* Client() const { return m_client; }

 protected:
  virtual void InitDialog() {}
  virtual void DestroyDialog() {}
  virtual void EnableControls() {}
  virtual void LayoutControls() {}
  virtual bool CmCancel() { return true; }
  virtual bool CmSettings() { return false; }
  virtual void CmHelp();
  virtual void CmAbout();

  // Framework keys not in the window's own table: the manual (F1, Ctrl+/)
  // and Quit (Ctrl+Q).
  bool EvKeyDown(const LKey& key) override;

  // Puts a control in the client area under id.
  void AddControl(int id, QWidget* control);
  // Gives a part of a control an id of its own (a field's text part).
  void NameControl(int id, QWidget* control);
  void SetMenuBar(const LMenuItem* items, int count, const LKeyToCommandMap* keys, int keyCount);
  void SetToolBar(const char* name, const LToolBarItem* items, int count, const LKeyToCommandMap* keys, int keyCount);
  // Places a control and reads its height back (it may keep its own).
  int Place(int id, int x, int y, int width, int height);

  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class LClientArea;
  void ClientResized();
  void RestorePlacement();
  void StorePlacement();
  void InstallKeyDispatch(bool on);
  void AddFrameMenus();

  const char* m_settingsName;
  QWidget* m_client;
  LInfoStrip* m_infoStrip = nullptr;
  std::unique_ptr<LToolBar> m_toolBar;
  std::map<int, QWidget*> m_controls;
  std::map<int, QAction*> m_menuActions;
  bool m_started = false;
  bool m_closed = false;
  bool m_keyDispatch = false;
  int m_noQuit = 0;
};
