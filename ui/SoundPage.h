// The "Sound" options page: the accent, beat and click sound files and
// their levels, sound schemes, and the way back to the default sounds.
// A chosen file is stored at once; levels and a loaded scheme only on OK.
#pragma once

#include <string>

#include "ui/PropertySheet.h"
#include "ui/SoundEditor.h"

class QLabel;
class QPushButton;

class LSoundPage : public LPropertyPage {
 public:
  enum ControlId {
    kIdSetAccent = 9601,
    kIdAccentLevel = 9603,
    kIdSetBeat = 9606,
    kIdBeatLevel = 9608,
    kIdSetClick = 9611,
    kIdClickLevel = 9613,
    kIdLoadScheme = 9616,
    kIdSaveScheme = 9618,
    kIdDefaultSound = 9620,
    kIdEditorNote = 9622,
    kIdEditorLink = 9623,
    kIdLaunchEditor = 9624,
    kIdDownbeatLevel = 9625,  // the downbeat's level above the accent's
    kIdDownbeatLabel = 9626,
  };
  static constexpr int kMinLevel = -36;
  static constexpr int kMaxLevel = 12;

  LSoundPage();
  void InitDialog() override;
  bool CmOk() override;
  void CmHelp() override;
  bool Command(int id, int arg) override;

  const std::string& PendingScheme() const { return m_pendingScheme; }
  QPushButton* Button(int id) const;

 protected:
  void CmSetAccentSound();
  void CmSetBeatSound();
  void CmSetClickSound();
  void CmSoundSchemeLoad();
  void CmSoundSchemeSave();
  void CmSetDefaultSound();
  // The scheme list, run modally; the chosen key, empty for none. A test
  // replaces it.
  virtual std::string ChooseScheme();
  virtual void SaveScheme();

 private:
  void SetSound(const char* field, const char* title);

  std::string m_pendingScheme;
  LSoundEditor m_editor;
};
