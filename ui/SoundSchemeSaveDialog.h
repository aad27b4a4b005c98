// Saves a sound scheme (a name and three sound files) or changes one, and
// the chooser that lets the user pick a sound file and brings it into the
// "Sound" folder.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <string>

class LProfile;
class QLineEdit;

class LSoundSchemeSaveDialog : public QDialog {
  Q_DECLARE_TR_FUNCTIONS(LSoundSchemeSaveDialog)

 public:
  enum ControlId {
    kIdNameLabel = 101,
    kIdName = 102,
    kIdAccentLabel = 103,
    kIdAccent = 105,
    kIdAccentBrowse = 106,
    kIdBeatLabel = 107,
    kIdBeat = 109,
    kIdBeatBrowse = 110,
    kIdClickLabel = 111,
    kIdClick = 113,
    kIdClickBrowse = 114,
  };
  static constexpr const char* kNameMissing =
      QT_TRANSLATE_NOOP("LSoundSchemeSaveDialog", "Please enter the scheme name.");

  // oldName null or empty: a new scheme.
  LSoundSchemeSaveDialog(LProfile& profile, const char* oldName, QWidget* parent = nullptr);
  // Changes the record of this key rather than the first one of the name.
  void SetRecordKey(const std::string& key);
  // A new scheme starts from these files (the sounds in use).
  void SetFiles(const std::string& accent, const std::string& beat, const std::string& click);

  bool Open(QWidget* parent);
  bool CmOk();
  void CmHelp();
  // Browse for the accent (106), beat (110) or click (114) file.
  void Command(int id);

  QLineEdit* Field(int id) const;

  // Lets the user choose a sound file; when it passes the check it is
  // copied into the "Sound" folder and its file name goes to out (260
  // bytes). False when nothing usable was chosen.
  static bool GetValidSoundFile(QWidget* parent, char* out, const QString& title);
  static bool TestValidSoundFile(const char* path);
  // Why the file at path is no usable sound: unreadable, or too long.
  static QString InvalidSoundText(const std::string& path);

 private:
  void InitDialog();

  LProfile& m_profile;
  std::string m_oldName;
  std::string m_key;
  QLineEdit* m_name = nullptr;
  QLineEdit* m_files[3] = {};
};
