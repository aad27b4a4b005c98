// The bar's controls in the main window: the pattern strip under the
// display, "Custom…" at the end of the measure list (a custom measure's own
// name just above it while one is chosen) and the swing field. They follow
// the model as a listener and change it only through its setters.
#pragma once

#include <QObject>

#include "model/MVModelEvents.h"

class LMVModel;
class LMeasure;
class LPatternStrip;
class QComboBox;
class QSpinBox;
class QWidget;

class LRhythmControls : public QObject, public LMVModelEventsVoid {
 public:
  // Adds "Custom…" to the window's measure list, which holds the model's
  // measure names.
  LRhythmControls(QWidget* window, LMVModel& model, QComboBox* measureList);

  LPatternStrip* Strip() const { return m_strip; }
  QSpinBox* Swing() const { return m_swing; }

  // Registers with the model and shows its bar.
  void Attach();
  // The user activated this item of the measure list: one of today's
  // measures, the custom one again (its accents set back) or "Custom…".
  bool MeasureChosen(int item);
  // Selects the model's measure (index kLegacyCount: the custom one, named).
  void ShowMeasure(int index, const char* name);

  void EvRhythmChanged(const LRhythm& rhythm) override;
  void EvPlayingTime(int percent, int scale) override;
  void EvPlayingStopped() override;

 private:
  bool ChooseCustom();
  int CustomItem() const;     // -1 without a custom measure
  int CustomizeItem() const;  // "Custom…", the last item
  void SetSwing(int percent);

  QWidget* m_window;
  LMVModel& m_model;
  QComboBox* m_list;
  LPatternStrip* m_strip;
  QSpinBox* m_swing;
};
