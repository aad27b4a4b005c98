// The bar as a row of cells under the display, one per beat: a tall filled
// cell for the downbeat, a filled one for an accent, an outlined one for a
// plain beat and an empty slot for a muted beat, with a wider gap where a
// group begins. A click on a cell asks to move that beat to its next state;
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
  // Called with the beat whose cell was clicked.
  void OnCellClicked(std::function<void(int)> handler) { m_clicked = std::move(handler); }

  // The beat whose cell holds the point, or -1.
  int CellAt(const QPoint& point) const;
  QRect CellRect(int beat) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  bool StartsGroup(int beat) const;
  void UpdateToolTip();

  LBeatPattern m_pattern;
  LMeasure m_measure;
  int m_sounding = -1;
  std::function<void(int)> m_clicked;
};
