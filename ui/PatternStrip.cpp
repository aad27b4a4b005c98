#include "ui/PatternStrip.h"

#include <algorithm>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace {

// Pixels: the strip is drawn to a pixel grid like the display above it.
constexpr int kPad = 4;        // beside the cells
constexpr int kVPad = 2;       // above and below them: the highlight and focus frame
constexpr int kGap = 3;        // between two cells of a group
constexpr int kGroupGap = 11;  // where a new group begins
constexpr int kMaxCell = 26;
constexpr int kHeight = 30;
constexpr int kMinHeight = 20;  // cells of 16 pixels still tell the four states apart

QString StateName(LBeatState s) {
  switch (s) {
    case LBeatState::Downbeat: return QCoreApplication::translate("LPatternStrip", "downbeat");
    case LBeatState::Accent: return QCoreApplication::translate("LPatternStrip", "accent");
    case LBeatState::Beat: return QCoreApplication::translate("LPatternStrip", "beat");
    case LBeatState::Mute: break;
  }
  return QCoreApplication::translate("LPatternStrip", "muted");
}

// The cell's filled share of the strip's height, by state.
int Fill(LBeatState s, int full) {
  switch (s) {
    case LBeatState::Downbeat: return full;
    case LBeatState::Accent: return full * 3 / 4;
    case LBeatState::Beat: return full / 2;
    case LBeatState::Mute: break;
  }
  return 0;
}

}  // namespace

LPatternStrip::LPatternStrip(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAccessibleName(QCoreApplication::translate("LPatternStrip", "Beat pattern"));
  UpdateToolTip();
}

void LPatternStrip::OnCellClicked(std::function<void(int)> handler) {
  m_clicked = std::move(handler);
  setFocusPolicy(m_clicked ? Qt::StrongFocus : Qt::NoFocus);
  // Left and Right move between the cells, not through a set list.
  setProperty("usesArrowKeys", bool(m_clicked));
}

void LPatternStrip::SetPattern(const LBeatPattern& pattern, const LMeasure& measure) {
  m_pattern = pattern;
  m_measure = measure;
  if (m_sounding >= m_pattern.GetBeats()) m_sounding = -1;
  m_focusCell = std::min(m_focusCell, m_pattern.GetBeats() - 1);
  UpdateToolTip();
  updateGeometry();
  update();
}

void LPatternStrip::SetSounding(int beat) {
  if (beat < 0 || beat >= m_pattern.GetBeats()) beat = -1;
  if (beat == m_sounding) return;
  m_sounding = beat;
  update();
}

bool LPatternStrip::StartsGroup(int beat) const {
  if (beat == 0 || m_measure.IsNone() || m_measure.GetBeats() != m_pattern.GetBeats()) return false;
  int start = 0;
  for (int g = 0; g < m_measure.GetGroupCount() && start < beat; ++g) start += m_measure.GetGroup(g);
  return start == beat;
}

QRect LPatternStrip::CellRect(int beat) const {
  const int n = m_pattern.GetBeats();
  if (beat < 0 || beat >= n) return {};
  int groupGaps = 0;
  for (int b = 1; b < n; ++b) groupGaps += StartsGroup(b);
  const int spacing = (n - 1 - groupGaps) * kGap + groupGaps * kGroupGap;
  const int cell = std::clamp((width() - 2 * kPad - spacing) / n, 4, kMaxCell);
  int x = (width() - (n * cell + spacing)) / 2;
  for (int b = 1; b <= beat; ++b) x += cell + (StartsGroup(b) ? kGroupGap : kGap);
  return QRect(x, kVPad, cell, height() - 2 * kVPad);
}

int LPatternStrip::CellAt(const QPoint& point) const {
  for (int b = 0; b < m_pattern.GetBeats(); ++b) {
    // A click in the gap beside a cell still counts for it.
    if (CellRect(b).adjusted(-kGap / 2 - 1, -kVPad, kGap / 2 + 1, kVPad).contains(point)) return b;
  }
  return -1;
}

// Cells of 16 pixels: the left column need not widen for a long bar.
QSize LPatternStrip::sizeHint() const {
  return {minimumSizeHint().width() + m_pattern.GetBeats() * 10, kHeight + 2 * kVPad};
}

// Room for cells of 6 pixels at least and the bar's gaps.
QSize LPatternStrip::minimumSizeHint() const {
  const int n = m_pattern.GetBeats();
  int spacing = 0;
  for (int b = 1; b < n; ++b) spacing += StartsGroup(b) ? kGroupGap : kGap;
  return {2 * kPad + n * 6 + spacing, kMinHeight};
}

void LPatternStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  const QColor ink = pal.color(QPalette::WindowText);
  QColor accentInk = ink;
  accentInk.setAlpha(170);
  for (int b = 0; b < m_pattern.GetBeats(); ++b) {
    const QRect r = CellRect(b);
    const LBeatState s = m_pattern.Get(b);
    if (b == m_sounding) p.fillRect(r.adjusted(-1, -kVPad + 1, 1, kVPad - 1), pal.color(QPalette::Highlight));
    const int fill = Fill(s, r.height());
    const QRect bar(r.left(), r.bottom() + 1 - fill, r.width(), fill);
    const QColor& pen = b == m_sounding ? pal.color(QPalette::HighlightedText) : ink;
    switch (s) {
      case LBeatState::Downbeat: p.fillRect(bar, pen); break;
      case LBeatState::Accent: p.fillRect(bar, b == m_sounding ? pen : accentInk); break;
      case LBeatState::Beat:
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(bar.adjusted(0, 0, -1, -1));
        break;
      case LBeatState::Mute:
        // A muted beat keeps its place: a short line on the floor of the strip.
        p.fillRect(QRect(r.left(), r.bottom() - 1, r.width(), 2), pen);
        break;
    }
  }
  if (hasFocus() && m_focusCell < m_pattern.GetBeats()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = CellRect(m_focusCell).adjusted(-2, -kVPad + 1, 2, kVPad - 1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
  }
}

void LPatternStrip::SetFocusCell(int beat) {
  m_focusCell = std::clamp(beat, 0, m_pattern.GetBeats() - 1);
  UpdateToolTip();
  update();
}

void LPatternStrip::keyPressEvent(QKeyEvent* event) {
  const int last = m_pattern.GetBeats() - 1;
  switch (m_clicked && event->modifiers() == Qt::NoModifier ? event->key() : 0) {
    case Qt::Key_Left: SetFocusCell(m_focusCell - 1); break;
    case Qt::Key_Right: SetFocusCell(m_focusCell + 1); break;
    case Qt::Key_Home: SetFocusCell(0); break;
    case Qt::Key_End: SetFocusCell(last); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: m_clicked(m_focusCell); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void LPatternStrip::mousePressEvent(QMouseEvent* event) {
  const int beat = event->button() == Qt::LeftButton ? CellAt(event->position().toPoint()) : -1;
  if (beat < 0) {
    QWidget::mousePressEvent(event);
    return;
  }
  if (m_clicked) {
    SetFocusCell(beat);
    m_clicked(beat);
  }
  event->accept();
}

void LPatternStrip::UpdateToolTip() {
  QString states;
  for (int b = 0; b < m_pattern.GetBeats(); ++b)
    states += (b ? QStringLiteral(", ") : QString()) + QString::number(b + 1) + QLatin1Char(' ') +
              StateName(m_pattern.Get(b));
  setToolTip(QCoreApplication::translate(
                 "LPatternStrip", "Beats of the bar: %1. Click a beat to change it (downbeat, accent, beat, muted).")
                 .arg(states));
  // What a screen reader says of the focused cell.
  setAccessibleDescription(
      QCoreApplication::translate("LPatternStrip", "Beat %1 of %2: %3. Enter changes it, Left and Right move.")
          .arg(m_focusCell + 1)
          .arg(m_pattern.GetBeats())
          .arg(StateName(m_pattern.Get(m_focusCell))));
}
