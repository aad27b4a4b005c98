// The bar as a row of cells under the display, one per beat: a tall filled
// cell for the downbeat, a filled one for an accent, an outlined one for a
// plain beat and an empty slot for a muted beat, with a wider gap where a
// group begins. A click on a cell asks to move that beat to its next state;
// so does Enter on the focused cell, which Left, Right, Home and End move;
// while playing the sounding beat is lit.
#pragma once

#include <functional>

#include <QWidget>

#include "engine/BeatPattern.h"

class LPatternStrip : public QWidget {
 public:
  explicit LPatternStrip(QWidget* parent = nullptr);

  // The pattern to show and the measure whose groups space its cells (a
  // pattern longer or shorter than the measure shows no group gaps).
  void SetPattern(const LBeatPattern& pattern, const LMeasure& measure);
  const LBeatPattern& GetPattern() const { return m_pattern; }
  // The beat sounding now, or -1 when stopped.
  void SetSounding(int beat);
  int GetSounding() const { return m_sounding; }
  // Called with the beat whose cell was clicked; a strip with a handler
  // takes the keyboard focus, one without is a picture.
  void OnCellClicked(std::function<void(int)> handler);
  // The cell the keys act on.
  int GetFocusCell() const { return m_focusCell; }

  // The beat whose cell holds the point, or -1.
  int CellAt(const QPoint& point) const;
  QRect CellRect(int beat) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool StartsGroup(int beat) const;
  void UpdateToolTip();
  void SetFocusCell(int beat);

  LBeatPattern m_pattern;
  LMeasure m_measure;
  int m_sounding = -1;
  int m_focusCell = 0;
  std::function<void(int)> m_clicked;
};
