// File > Export Click Track…: writes what the window plays to a WAV file.
// The dialog turns its fields into morvane-render's command line and hands
// that to the same parser and renderer, so a file exported here and one
// rendered with those arguments are the same, byte for byte. The render runs
// on a worker thread behind a progress window with Cancel; a cancelled or
// failed export leaves no file behind and changes no setting.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <string>
#include <vector>

#include "engine/PracticePlan.h"
#include "model/RhythmExport.h"

class MainDialog;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QSpinBox;

// The choices of the dialog beside what the window plays.
struct LExportChoice {
  enum Length { kBars, kTime, kUntilTrainerStops };
  Length length = kBars;
  int bars = 16;
  int seconds = 180;
  std::string format = "s16";  // s16, s24, s32, f32
  int rate = 0;                // frames a second; 0 = the beat sound's
  std::string file;
};

// morvane-render's arguments for the window's track, plan and choices.
std::vector<std::string> LExportArguments(const LClickTrackSettings& track, const LPracticePlan& plan,
                                          const LExportChoice& choice);

class LExportDialog : public QDialog {
  Q_DECLARE_TR_FUNCTIONS(LExportDialog)

 public:
  enum class Outcome { Written, Cancelled, Failed };

  LExportDialog(const LClickTrackSettings& track, const LPracticePlan& plan, QWidget* parent = nullptr);
  // Adds File > Export Click Track… (Ctrl+E) to the window.
  static void Install(MainDialog& window);

  // The fields as choices; false with the reason when one is not usable.
  bool Choice(LExportChoice& choice, QString& why) const;
  // Renders to the chosen file behind a progress window; the outcome, and
  // in message what to tell the user.
  Outcome Export(QString& message);

  QLineEdit* FileField() const { return m_file; }
  QSpinBox* BarsField() const { return m_bars; }
  QLineEdit* TimeField() const { return m_time; }
  QComboBox* FormatList() const { return m_format; }
  QComboBox* RateList() const { return m_rate; }
  void SetLength(LExportChoice::Length length);

 protected:
  // The message boxes and the file chooser; tests answer them themselves.
  virtual void ShowResult(Outcome outcome, const QString& message);
  virtual QString ChooseFile(const QString& start);
  // Asked on the render's worker thread before each block; false cancels.
  // Only what is safe across threads may be touched here.
  virtual bool KeepGoing(long long done, long long total);

 private:
  void CmOk();
  void Remember(const LExportChoice& choice) const;

  LClickTrackSettings m_track;
  LPracticePlan m_plan;
  QLineEdit* m_file = nullptr;
  QButtonGroup* m_lengthKind = nullptr;
  QSpinBox* m_bars = nullptr;
  QLineEdit* m_time = nullptr;
  QComboBox* m_format = nullptr;
  QComboBox* m_rate = nullptr;
};
