// The "Sound" options page: the accent, beat and click sound files and
// their levels, sound schemes, and the way back to the default sounds.
// Chosen files, a loaded scheme, the default sounds and the levels are
// shown at once and stored only by OK, so Cancel undoes every one.
#pragma once

#include <memory>
#include <string>

#include "ui/PropertySheet.h"
#include "ui/SoundEditor.h"

class LSoundPreview;
class QLabel;
class QPushButton;

class LSoundPage : public LPropertyPage {
  Q_DECLARE_TR_FUNCTIONS(LSoundPage)

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
    kIdPreviewAccent = 9630,  // the ▶ beside each sound; beat and click follow
    kIdPreviewBeat = 9631,
    kIdPreviewClick = 9632,
  };
  static constexpr int kMinLevel = -36;
  static constexpr int kMaxLevel = 12;

  LSoundPage();
  ~LSoundPage() override;
  void InitDialog() override;
  bool CmOk() override;
  void CmHelp() override;
  bool Command(int id, int arg) override;

  QPushButton* Button(int id) const;
  // The file shown for the accent (0), beat (1) or click (2) sound.
  QLabel* FileLabel(int index) const { return m_fileLabels[index]; }
  // The file that sound plays now: the chosen one or the shipped one.
  std::string SoundPath(int index) const;

 protected:
  void CmSoundSchemeLoad();
  void CmSoundSchemeSave();
  void CmSetDefaultSound();
  // The scheme list, run modally; the chosen key, empty for none. A test
  // replaces it.
  virtual std::string ChooseScheme();
  virtual void SaveScheme();

 private:
  void SetSound(int index);
  void ShowFiles();
  // Plays the sound once as the track would, at the level shown.
  void Preview(int index);

  std::string m_files[3];  // accent, beat, click; empty for the shipped sound
  bool m_filesChanged = false;
  QLabel* m_fileLabels[3] = {};
  LSoundEditor m_editor;
  std::unique_ptr<LSoundPreview> m_preview;  // made at the first preview
};
