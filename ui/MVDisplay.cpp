#include "ui/MVDisplay.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace {

const QColor kBackground(186, 220, 153);
const QColor kFrame(109, 117, 224);
const char kLabel[] = "bpm";

}  // namespace

LMVDisplay::LMVDisplay(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void LMVDisplay::SetTempo(int bpm) {
  m_tempo = bpm;
  update();
}

void LMVDisplay::EvTempoChanged(int bpm, const char*) {
  m_setTempo = bpm;
  SetTempo(bpm);
}

LMVDisplay::Layout LMVDisplay::ComputeLayout(int bpm, int w, int labelWidth) {
  const int ones = bpm % 10, tens = (bpm / 10) % 10, hundreds = ((bpm / 10) / 10) % 10;
  Layout l;
  l.x0 = (w - labelWidth - 78) / 2;
  l.digits[0] = hundreds > 0 ? hundreds : -1;
  l.digits[1] = (hundreds > 0 || tens >= 1) ? tens : -1;
  l.digits[2] = ones;
  l.labelX = l.x0 + 87;
  l.labelY = 35;
  return l;
}

// Sizes in pixels, not points: the readout is drawn to a pixel grid.
QFont LMVDisplay::LabelFont() {
  QFont f = QApplication::font();
  f.setPixelSize(13);
  f.setBold(true);
  return f;
}

QFont LMVDisplay::DigitFont() {
  QFont f = QApplication::font();
  f.setPixelSize(55);
  f.setBold(true);
  return f;
}

void LMVDisplay::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = width(), h = height();
  p.fillRect(rect(), kBackground);
  p.setPen(QPen(kFrame, 1));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.drawRect(0, 0, w - 2, h - 2);

  const QFont label = LabelFont();
  const QFont digitFont = DigitFont();
  const Layout l = ComputeLayout(m_tempo, w, QFontMetrics(label).horizontalAdvance(QLatin1String(kLabel)));
  const QFontMetrics dm(digitFont);
  // The cells are a fixed 28 pixels apart; a face whose digits are wider
  // is narrowed to fit rather than let the digits run into each other.
  const int widest = dm.horizontalAdvance(QLatin1Char('0'));
  const double squeeze = widest > kCellWidth - 2 ? double(kCellWidth - 2) / widest : 1.0;
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setPen(Qt::black);
  p.setFont(digitFont);
  for (int i = 0; i < 3; ++i) {
    if (l.digits[i] < 0) continue;
    p.save();
    p.translate(l.x0 + kCellWidth * i, 0);
    p.scale(squeeze, 1.0);
    p.drawText(QPoint(0, dm.ascent()), QString::number(l.digits[i]));
    p.restore();
  }
  p.setFont(label);
  p.drawText(QPoint(l.labelX, l.labelY + QFontMetrics(label).ascent()), QLatin1String(kLabel));
}
