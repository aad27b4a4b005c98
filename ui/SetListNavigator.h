// The window's set list: File menu items to make, choose and close one,
// Previous and Next buttons beside Play/Stop, and the keys Left/Right (where
// the focused control does not use the arrows itself) and [ / ] (where no
// text field has the focus) to step through its presets. The loaded
// preset's name and place show in the window title ("Morvane — Warm-up
// 2/7"); the set list and the place are kept for the next start.
#pragma once

#include <QCoreApplication>
#include <QObject>
#include <string>

#include "model/SetList.h"
#include "store/Profile.h"

class MainDialog;
class QAction;
class QKeyEvent;
class QToolButton;
class QWidget;

class LSetListNavigator : public QObject {
  Q_DECLARE_TR_FUNCTIONS(LSetListNavigator)

 public:
  static LSetListNavigator* Install(MainDialog& window);
  explicit LSetListNavigator(MainDialog& window);

  // Makes the set list of this key the window's and loads its first preset
  // that can be loaded; false (nothing changed) when there is none.
  bool Activate(const std::string& key);
  void Close();
  // Loads the next (+1) or previous (-1) preset; false at the end.
  bool Step(int direction);
  bool IsActive() const { return !m_key.empty(); }
  int Position() const { return m_position; }
  const LSetList& List() const { return m_list; }
  QToolButton* PreviousButton() const { return m_previous; }
  QToolButton* NextButton() const { return m_next; }

  // The step a key asks for with focus on focused (null for none): -1, +1,
  // or 0 when the key is not the set list's there.
  static int KeyAction(const QKeyEvent& event, const QWidget* focused);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The dialogs; tests replace them.
  virtual void NewSetList();
  virtual void ChooseSetList();

 private:
  bool Reload();
  bool LoadAt(int position);
  void Show(const std::string& presetName);
  void Restore();

  MainDialog& m_window;
  LProfile m_profile;
  std::string m_key;  // the set list's record key; empty: none
  LSetList m_list;
  int m_position = -1;
  QToolButton* m_previous = nullptr;
  QToolButton* m_next = nullptr;
  QAction* m_close = nullptr;
};
