// A modal, resizable list of records with a menu, a toolbar and a status
// bar: the user picks one (Select), edits one or deletes several. The
// preset list and the sound-scheme list are made from it.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <map>
#include <string>
#include <vector>

#include "ui/CommandTarget.h"
#include "ui/Key.h"
#include "ui/ListViewSorter.h"

class QAction;
class QMenu;
class QStatusBar;
class QToolBar;
class QTreeWidget;

class LPresetListWindowBase : public QDialog, public LKeyHandler, public LCommandTarget {
  Q_DECLARE_TR_FUNCTIONS(LPresetListWindowBase)

 public:
  enum {
    kIdList = 101,
    kCmdDelete = 1002,
    kCmdProperties = 1003,
    kCmdSelectDouble = 1004,
    kCmdSelect = 1005,
    kCmdRightClick = 1021,
    kCmdSelectionChanged = 1022,
  };
  struct Column {
    const char* title;  // marked for translation in this class's context
    int width;          // nominal, in characters
  };
  // What the window's records are called, in its menu, toolbar and
  // questions (marked for translation in this class's context).
  struct Words {
    const char* menu;         // "&Preset"
    const char* select;       // "&Select Preset"
    const char* selectTip;    // "Select this preset"
    const char* deleteTip;    // "Delete the selected presets"
    const char* editTip;      // "Edit the selected preset"
    const char* deleteTitle;  // "Delete Presets"
    const char* deleteOne;    // "Delete the selected preset?"
    const char* deleteMany;   // "Delete the %1 selected presets?"
    const char* notDeleted;   // "%1 of the selected presets could not be deleted. ..."
  };

  // windowName: the settings section the window's size is read from.
  LPresetListWindowBase(LProfile& profile, const char* windowName, const Words& words);

  // Builds the window once (Open does it when it has not been done).
  void Init();
  // Runs the window modally; true when a record was chosen.
  bool Open(QWidget* parent);
  // The key of the record picked with Select; empty until then.
  const std::string& ChosenKey() const { return m_chosenKey; }

  bool Command(int id, int arg) override;

  QTreeWidget* List() const { return m_list; }
  QAction* MenuAction(int command) const;
  QAction* ToolBarAction(int command) const;
  // The right-click menu as it would show now; nullptr when it would not
  // show (no current row). The caller owns it.
  QMenu* CreateRightClickMenu();
  // Selects the rows at these positions; the first becomes current.
  void SelectRows(const std::vector<int>& rows);
  virtual void FillList() = 0;

 protected:
  // Builds the frame, then the derived part: caption, columns, rows.
  virtual void InitDialog();
  virtual void EnableControls();
  virtual void EvRightClickMenu();
  bool EvKeyDown(const LKey& key) override;
  virtual void CmDelete();
  virtual void CmProperties() = 0;
  virtual void CmSelect();
  virtual void CmHelp();
  // Removes one record file.
  virtual bool DeleteRecord(const std::string& key) = 0;

  void SetColumns(const Column* columns, int count);
  // The record key of the current row, empty when none.
  std::string CurrentKey() const;
  // Empties the list, lets add() add rows, sorts them and makes the row at
  // the old current position current again.
  template <class AddRows>
  void RefillList(AddRows add);
  void AddRow(const QStringList& texts);

  LListViewSorterMoneyAndTime& Sorter() { return m_sorter; }
  LProfile& Profile() { return m_sorter.Profile(); }
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildFrame();
  void RestorePlacement();
  void LayoutColumns();
  int SelectedCount() const;
  bool IsCommandEnabled(int command) const;
  int BeginRefill();
  void EndRefill(int oldRow);

  LListViewSorterMoneyAndTime m_sorter;
  const char* m_windowName;
  const Words& m_words;
  std::string m_chosenKey;
  QTreeWidget* m_list = nullptr;
  QToolBar* m_toolBar = nullptr;
  QStatusBar* m_status = nullptr;
  std::map<int, QAction*> m_menuActions;
  std::map<int, QAction*> m_toolActions;
  std::vector<Column> m_columns;
  bool m_initialised = false;
};

template <class AddRows>
void LPresetListWindowBase::RefillList(AddRows add) {
  const int oldRow = BeginRefill();
  add();
  EndRefill(oldRow);
}
