#include "ui/RhythmControls.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSpinBox>
#include <QWidget>

#include "model/MVModel.h"
#include "ui/CustomMeasureDialog.h"
#include "ui/PatternStrip.h"
#include "ui/Placement.h"

LRhythmControls::LRhythmControls(QWidget* window, LMVModel& model, QComboBox* measureList)
    : QObject(window), m_window(window), m_model(model), m_list(measureList) {
  // A custom measure's name is as long as its grouping: the list grows.
  m_list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  m_list->addItem(QCoreApplication::translate("LRhythmControls", "Custom…"));
  m_list->setItemData(
      CustomizeItem(),
      QCoreApplication::translate("LRhythmControls", "Any number of beats from 1 to 16, in groups you choose"),
      Qt::ToolTipRole);

  m_strip = new LPatternStrip;
  m_strip->OnCellClicked([this](int beat) { m_model.CycleBeat(beat); });

  m_swing = new QSpinBox;
  m_swing->setRange(kSwingStraight, kSwingMax);
  m_swing->setSuffix(QStringLiteral(" %"));
  // 50 % is straight time, which the field calls what it is.
  m_swing->setSpecialValueText(QCoreApplication::translate("LRhythmControls", "Off"));
  m_swing->setAccessibleName(QCoreApplication::translate("LRhythmControls", "Swing"));
  m_swing->setToolTip(QCoreApplication::translate(
      "LRhythmControls",
      "Where the off-beat falls with subdivisions 2 and 4: 50 % is straight (Off), 67 % a triplet feel, up to 75 %"));
  connect(m_swing, &QSpinBox::valueChanged, this, [this](int percent) { SetSwing(percent); });
}

void LRhythmControls::Attach() {
  m_model.SetNotify(this);
  EvRhythmChanged(m_model.GetRhythm());
}

int LRhythmControls::CustomizeItem() const { return m_list->count() - 1; }

int LRhythmControls::CustomItem() const {
  return m_list->count() > LMeasure::kLegacyCount + 1 ? CustomizeItem() - 1 : -1;
}

void LRhythmControls::ShowMeasure(int index, const char* name) {
  const int custom = CustomItem();
  if (index < LMeasure::kLegacyCount) {
    if (custom >= 0) m_list->removeItem(custom);
    m_list->setCurrentIndex(index);
    return;
  }
  const QString text = QString::fromUtf8(name);
  if (custom < 0)
    m_list->insertItem(CustomizeItem(), text);
  else
    m_list->setItemText(custom, text);
  m_list->setCurrentIndex(CustomItem());
}

bool LRhythmControls::MeasureChosen(int item) {
  if (item >= 0 && item < LMeasure::kLegacyCount) return m_model.SetMeasure(item);
  LRhythm r = m_model.GetRhythm();
  bool changed = false;
  if (item == CustomItem()) {
    r.pattern = r.measure.Pattern();  // choosing a measure again sets its accents back
    changed = m_model.SetRhythm(r);
  } else if (item == CustomizeItem()) {
    changed = ChooseCustom();
  }
  // "Custom…" itself never stays selected.
  char name[260];
  const int index = m_model.GetMeasure(name);
  ShowMeasure(index, name);
  return changed;
}

bool LRhythmControls::ChooseCustom() {
  LCustomMeasureDialog dialog(m_model.GetRhythm().measure, m_window);
  dialog.adjustSize();
  LPlaceOver(&dialog, m_window);
  if (dialog.exec() != QDialog::Accepted) return false;
  LRhythm r = m_model.GetRhythm();
  r.measure = dialog.Result();
  r.pattern = r.measure.Pattern();
  return m_model.SetRhythm(r);
}

void LRhythmControls::SetSwing(int percent) {
  LRhythm r = m_model.GetRhythm();
  r.swing = percent;
  m_model.SetRhythm(r);
}

void LRhythmControls::EvRhythmChanged(const LRhythm& rhythm) {
  m_strip->SetPattern(rhythm.pattern, rhythm.measure);
  if (m_swing->value() != rhythm.swing) {
    const QSignalBlocker quiet(m_swing);
    m_swing->setValue(rhythm.swing);
  }
}

// The light's own clock: the strip lights the beat heard, not the one the
// worker renders ahead.
void LRhythmControls::EvPlayingTime(int, int) { m_strip->SetSounding(m_model.HeardBarBeat()); }

void LRhythmControls::EvPlayingStopped() { m_strip->SetSounding(-1); }
