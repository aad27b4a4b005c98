// "Custom…" of the measure list: a bar of 1 to 16 beats and its grouping,
// typed ("2+2+3") or chosen from the common ones, with the resulting bar
// shown as it will play. OK only while the two fit together.
#pragma once

#include <QDialog>

#include "engine/BeatPattern.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QSpinBox;
class LPatternStrip;

class LCustomMeasureDialog : public QDialog {
 public:
  explicit LCustomMeasureDialog(const LMeasure& start, QWidget* parent = nullptr);

  // The measure the fields give now; false with the reason when they do not fit.
  bool Current(LMeasure& measure, QString& why) const;
  const LMeasure& Result() const { return m_result; }

  QSpinBox* BeatsField() const { return m_beats; }
  QComboBox* GroupingField() const { return m_grouping; }
  QLabel* Problem() const { return m_problem; }
  bool CanAccept() const;

 private:
  void FillGroupings();
  void Check();

  LMeasure m_result;
  QSpinBox* m_beats = nullptr;
  QComboBox* m_grouping = nullptr;
  LPatternStrip* m_preview = nullptr;
  QLabel* m_problem = nullptr;
  QDialogButtonBox* m_buttons = nullptr;
};
