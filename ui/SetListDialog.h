// Adds a set list or changes one: its name and its presets in playing order
// (added from the preset list, removed, moved up and down).
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <string>

#include "model/SetList.h"

class LProfile;
class QLineEdit;
class QListWidget;

class LSetListDialog : public QDialog {
  Q_DECLARE_TR_FUNCTIONS(LSetListDialog)

 public:
  static constexpr const char* kNameMissing = QT_TRANSLATE_NOOP("LSetListDialog", "Please enter the set list name.");

  // key empty: a new set list.
  LSetListDialog(LProfile& profile, const std::string& key, QWidget* parent = nullptr);

  bool Open(QWidget* parent);
  // OK: checks the name, writes the set list and closes; false (dialog
  // left open, a message at the field) without a name.
  bool CmOk();
  void AddPreset(const std::string& key);
  // Moves the current row by delta (-1 up, +1 down); Remove drops it.
  void MoveCurrent(int delta);
  void RemoveCurrent();
  // The set list as the fields hold it.
  LSetList Value() const;
  // The record key, a new set list's once it is saved.
  const std::string& Key() const { return m_key; }

  QLineEdit* NameField() const { return m_name; }
  QListWidget* Presets() const { return m_presets; }

 protected:
  // The preset list window; a test answers with a key itself.
  virtual bool ChoosePreset(std::string& key);

 private:
  LProfile& m_profile;
  std::string m_key;
  QLineEdit* m_name = nullptr;
  QListWidget* m_presets = nullptr;
};
