// The metronome's main window: tempo display and swinging light with the
// tempo, measure and subdivision controls between them on the left; the
// tempo guide, the Play/Stop button and the volume slider on the right.
// It holds no metronome state of its own: every action is a call on the
// model, and the model's events bring changes back to the controls.
// Layouts place everything, so any style, font and scale shows it whole;
// other features add their rows, buttons and panels through the Add*
// hooks.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "model/MVModelEvents.h"
#include "store/Profile.h"
#include "ui/MainWindow.h"
#include "ui/VolumeSlider.h"

class LMVModel;
class LMVDisplay;
class LMVLedLightBox;
class LRhythmControls;
class LTempoField;
class QAction;
class QBoxLayout;
class QComboBox;
class QGridLayout;
class QLabel;
class QToolButton;
class QTreeWidget;

class MainDialog : public LMainWindow, public LMVModelEventsVoid {
  Q_DECLARE_TR_FUNCTIONS(MainDialog)

 public:
  enum ControlId {
    kIdDisplay = 1008,
    kIdLights = 1009,
    kIdTempoLabel = 113,
    kIdTempo = 111,
    kIdTempoText = 112,
    kIdMeasureLabel = 115,
    kIdMeasure = 1007,
    kIdSubDivLabel = 117,
    kIdSubDiv = 1006,
    kIdGuide = 120,
    kIdPlayStop = 104,
    kIdVolume = 103,
  };
  enum CommandId {
    kCmdToggle = 104,
    kCmdPlay = 1001,
    kCmdStop = 1002,
    kCmdPresetSave = 1003,
    kCmdPresetLoad = 1004,
    kCmdSelectSounds = 1005,
    kCmdGuide = 2000,
    kCmdSubDiv = 2013,
    kCmdMeasure = 2014,
  };
  static constexpr const char* kEssentialFileMissing =
      QT_TRANSLATE_NOOP("MainDialog", "Essential file missing - please re-install Morvane Metronome Software");

  // The window drives the process's one model; tests may hand it another.
  explicit MainDialog(LMVModel* model = nullptr);
  ~MainDialog() override;

  bool Command(int id, int arg) override;

  void EvMeasureChanged(int index, const char* name) override;
  void EvSubDivChanged(int index, const char* name) override;
  void EvVolumeChanged(const LdBLevel& level) override;
  void EvTempoChanged(int bpm, const char* marking) override;
  void EvPlayingStarted() override;
  void EvPlayingStopped() override;
  void EvUnderRuns(long count) override;

  // Hooks for other features, called once the window is built (from
  // InitDialog's end or later); each keeps the tab order whole.
  // A labelled control below the subdivision, in the left column; the
  // label may carry a mnemonic ("&Swing:").
  void AddControlRow(const QString& label, QWidget* control);
  // A button beside Play/Stop.
  void AddButton(QWidget* button);
  // A panel across the whole window, below both columns.
  void AddPanel(QWidget* panel);
  // An item at the end of a menu's own items ("File": before Quit); the
  // caller connects it.
  QAction* AddMenuItem(const char* menu, const QString& text);

  // Applies a preset's values as loading one does: the tempo through the
  // field, measure and subdivision through their lists and the model.
  void ApplyPreset(int tempo, int measure, int subdiv);
  // Loads the preset of this record key as Load Preset does: its values,
  // its practice tools (off for a preset without any) and its name in the
  // title. False, and nothing changed, when the record cannot be opened.
  bool LoadPreset(const std::string& key, std::string* name = nullptr);
  // "Morvane — detail", or "Morvane" for an empty detail.
  void ShowTitle(const QString& detail);
  // The image the Play/Stop button shows (an LIcon id).
  int PlayStopImage() const { return m_playStopImage; }
  LMVDisplay* Display() const { return m_display; }
  LMVLedLightBox* Lights() const { return m_lights; }
  LTempoField* TempoField() const { return m_tempo; }
  QComboBox* MeasureList() const { return m_measure; }
  QComboBox* SubDivList() const { return m_subdiv; }
  // The pattern strip, swing field and "Custom…" (ui/RhythmControls.h).
  LRhythmControls* Rhythm() const { return m_rhythm; }
  QTreeWidget* Guide() const { return m_guide; }
  QToolButton* PlayStopButton() const { return m_playStop; }
  LVolumeSlider& VolumeSlider() { return m_volume; }
  LMVModel& Model() const { return *m_model; }
  QString StatusText() const;
  // The model could not load its sounds: the window told the user and the
  // program ends.
  bool StartFailed() const { return m_startFailed; }
  // The guide row whose range holds bpm (-1: none). Ranges run from their
  // first figure up to, not including, the next row's.
  static int GuideRowOf(int bpm);

 protected:
  void InitDialog() override;
  void DestroyDialog() override;
  void EnableControls() override;
  void AfterFirstPaint() override;
  bool EvKeyDown(const LKey& key) override;
  bool EvKeyRepeat(const LKey& key) override;
  bool CmSettings() override;

  // Whether the preset and options windows can be opened; a test turns
  // them off to see the commands disabled.
  virtual bool HasDialogs() const { return true; }
  // Opens the preset dialog for a new preset holding these values.
  virtual void OpenPresetDialog(int tempo, int measure, int subdiv);
  // Lets the user choose a preset in the preset list: its record key; false
  // when none was chosen.
  virtual bool ChoosePreset(std::string& key);
  // Opens the options sheet on a page (0 General, 1 Sound).
  virtual void OpenOptions(int page);
  void CmHelp() override;
  // The error box; a test replaces it so that nothing waits for a click.
  virtual void ShowError(const QString& text);

  void CmPresetSave();
  void CmPresetLoad();
  void CmSetGuideValue();
  void SetTempoField(int bpm);

 private:
  void CreateControls();
  void CreateGuide();
  void LayOut();
  void UpdateTabOrder();
  void ShowGuideRow(int bpm);
  void InitModel();
  void CheckOutput();
  void CheckSounds();
  void WatchFiles();
  void UnwatchFiles();
  void ShowSettingsState(bool saved);

  LMVModel* m_model;
  LProfile m_profile;
  int m_lastTempo = -1;
  int m_playStopImage = 0;
  bool m_startFailed = false;
  LMVDisplay* m_display = nullptr;
  LMVLedLightBox* m_lights = nullptr;
  LTempoField* m_tempo = nullptr;
  QComboBox* m_measure = nullptr;
  QComboBox* m_subdiv = nullptr;
  LRhythmControls* m_rhythm = nullptr;
  QTreeWidget* m_guide = nullptr;
  QToolButton* m_playStop = nullptr;
  QWidget* m_volumePane = nullptr;
  LVolumeSlider m_volume;
  QLabel* m_status = nullptr;
  QGridLayout* m_rows = nullptr;      // the labelled controls of the left column
  QBoxLayout* m_buttons = nullptr;    // Play/Stop and the buttons beside it
  QBoxLayout* m_panels = nullptr;     // below both columns
  std::vector<QWidget*> m_extraRows;  // added controls, in tab order
  std::vector<QWidget*> m_extraButtons;
  std::vector<QWidget*> m_extraPanels;
  QString m_outputInfo;  // the output failure last shown
  QString m_underRunInfo;
  QString m_soundsInfo;  // the missing sounds last named
};
