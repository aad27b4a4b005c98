// The main window's "Practice" panel: one line that always shows what is
// on (and, while playing, the count-in, bar and beat, the speed trainer's
// next change and the timer), and below it, one click away, the fields of
// the count-in, speed trainer, gap trainer, random mute and timer. Every
// field holds only values in its range, so the plan it builds is always
// accepted.
#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <array>

#include "model/PracticeModel.h"

class MainDialog;
class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QTimeEdit;
class QToolButton;

class LPracticePanel : public QWidget {
  Q_DECLARE_TR_FUNCTIONS(LPracticePanel)

 public:
  // Adds the panel (with its Tap button) and the practice keys to window.
  static LPracticePanel* Install(MainDialog& window);

  LPracticePanel(LPracticeModel& practice, QWidget* parent = nullptr);
  ~LPracticePanel() override;
  // The status line as shown (tests read it).
  QString StatusText() const;
  QToolButton* Toggle() const { return m_toggle; }
  // Reads the model and redraws the status line (also the work of the
  // model's playing-time ticks, when what it says changed).
  void Refresh();

  // Texts of the status line, from the model's figures.
  static QString Summary(const LPracticePlan& plan);
  static QString Live(const LPracticePlan& plan, const LPracticeModel::Status& status);

 private:
  void Build();
  void ShowPlan(const LPracticePlan& plan);
  void Apply();
  // Reads the model; redraws the status line when forced or when what it
  // says changed.
  void Show(bool force);
  // What the status line says, in figures.
  static std::array<long long, 9> Key(const LPracticeModel::Status& status);

  LPracticeModel& m_practice;
  QToolButton* m_toggle = nullptr;
  QLabel* m_status = nullptr;
  QWidget* m_body = nullptr;
  QSpinBox* m_countIn = nullptr;
  QCheckBox* m_rampOn = nullptr;
  QSpinBox* m_rampStart = nullptr;
  QSpinBox* m_rampEnd = nullptr;
  QSpinBox* m_rampStep = nullptr;
  QSpinBox* m_rampBars = nullptr;
  QComboBox* m_rampEndAction = nullptr;
  QCheckBox* m_gapOn = nullptr;
  QSpinBox* m_gapPlay = nullptr;
  QSpinBox* m_gapMute = nullptr;
  QSpinBox* m_randomMute = nullptr;
  QCheckBox* m_timerOn = nullptr;
  QTimeEdit* m_timer = nullptr;
  std::array<long long, 9> m_shown{};
  bool m_showing = false;  // fields being filled from the plan
};
