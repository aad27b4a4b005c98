// The tempo readout: large digits in fixed cells followed by "bpm", on a
// pale green panel. Follows the model's tempo events.
#pragma once

#include <QWidget>

#include "model/MVModelEvents.h"

class LMVDisplay : public QWidget, public LMVModelEventsVoid {
 public:
  static constexpr int kCellWidth = 28;

  explicit LMVDisplay(QWidget* parent = nullptr);

  void SetTempo(int bpm);
  int GetTempo() const { return m_tempo; }
  void EvTempoChanged(int bpm, const char* marking) override;
  // While playing the readout shows the tempo heard (a speed trainer's
  // current step); stopped, the tempo set.
  void EvHeardTempo(int bpm) override { SetTempo(bpm); }
  void EvPlayingStopped() override { SetTempo(m_setTempo); }

  // Where the readout goes in a display w pixels wide whose "bpm" text is
  // labelWidth pixels wide: the left edge of the hundreds cell, and which
  // digit each cell shows (-1: left blank, so leading zeros never show).
  struct Layout {
    int x0;
    int digits[3];
    int labelX, labelY;
  };
  static Layout ComputeLayout(int bpm, int w, int labelWidth);

  // Fonts: the label's 13-pixel bold and the digits' 55-pixel bold.
  static QFont LabelFont();
  static QFont DigitFont();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int m_tempo = 0;
  int m_setTempo = 0;
};
