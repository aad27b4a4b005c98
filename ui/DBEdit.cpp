#include "ui/DBEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>
#include <algorithm>

#include "ui/CommandTarget.h"

namespace {

const QColor kBackground(167, 174, 166);
const QColor kDarkGreen(102, 153, 51);
const QColor kLightGreen(153, 204, 102);
const QColor kDarkRed(135, 10, 22);
const QColor kRed(192, 0, 85);

int Saturate(int v) { return v > 127 ? 127 : v < -127 ? -127 : v; }

}  // namespace

LDBEdit::LDBEdit(LCommandTarget* target, int id, QWidget* parent) : QWidget(parent), m_target(target), m_id(id) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(120, 25);
  update();
}

int LDBEdit::KeyValue(int key, int value, int minimum, int maximum) {
  const int page = 6;  // a quarter of the usual range, and a clear step to hear
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Down: value -= 1; break;
    case Qt::Key_Right:
    case Qt::Key_Up: value += 1; break;
    case Qt::Key_PageDown: value -= page; break;
    case Qt::Key_PageUp: value += page; break;
    case Qt::Key_Home: value = minimum; break;
    case Qt::Key_End: value = maximum; break;
    default: return value;
  }
  return std::clamp(value, minimum, std::max(minimum, maximum));
}

void LDBEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool levelKey = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down ||
                        key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End;
  if (!isEnabled() || !levelKey) return QWidget::keyPressEvent(event);
  SetValue(KeyValue(key, m_value, m_minimum, m_maximum));
  event->accept();
}

void LDBEdit::SetRange(const LdBLevel& minimum, const LdBLevel& maximum) {
  // A level is a signed number, not a character: no unsigned cast first.
  m_minimum = minimum.Get();  // NOLINT(bugprone-signed-char-misuse)
  m_maximum = maximum.Get();  // NOLINT(bugprone-signed-char-misuse)
  update();
}

LdBLevel LDBEdit::GetLevel() const { return LdBLevel(Saturate(m_value)); }

void LDBEdit::SetLevel(const LdBLevel& level) { SetValue(level.Get()); }

void LDBEdit::SetValue(int v) {
  m_value = std::clamp(v, m_minimum, std::max(m_minimum, m_maximum));
  setAccessibleDescription(tr("%1 dB").arg(GetLevel().Get()));
  update();
}

void LDBEdit::GetValues(int& value, int& minimum, int& maximum) const {
  value = m_value;
  minimum = m_minimum;
  maximum = m_maximum;
}

QColor LDBEdit::MarkerCentre(const QColor& highlight) {
  QRgba64 c = highlight.rgba64();
  // Raised in 16-bit units and let wrap, as the field has always drawn it.
  c.setBlue(static_cast<quint16>(c.blue() + 8000));
  return QColor::fromRgba64(c);
}

std::vector<LDBEdit::Fill> LDBEdit::ComputePaint(int w, int h, int value, int minimum, int maximum,
                                                 const QColor& highlight, QPoint* textAt) {
  const int l = w - 10;
  const float range = static_cast<float>(maximum - minimum);
  const float s = std::max(1.0f, range > 0 ? static_cast<float>(l) / range : 1.0f);  // pixels per decibel
  const int z = static_cast<int>(static_cast<float>(-minimum) * s);                  // where 0 dB is
  const int d = static_cast<int>(static_cast<float>(value) * s);
  std::vector<Fill> fills{{QRect(0, 0, w, h), kBackground}};
  int m;
  if (value > 0) {
    fills.push_back({QRect(2, 2, z, h - 4), kDarkGreen});
    fills.push_back({QRect(4, 4, z - 4, h - 8), kLightGreen});
    fills.push_back({QRect(z, 2, d + 2, h - 4), kDarkRed});
    fills.push_back({QRect(z + 2, 4, d - 2, h - 8), kRed});
    m = z + d;
  } else if (value > minimum) {
    fills.push_back({QRect(2, 2, z + d, h - 4), kDarkGreen});
    fills.push_back({QRect(4, 4, z + d - 2, h - 8), kLightGreen});
    m = z + d + 2;
  } else {
    m = 2;
  }
  m = std::min(m, l);
  fills.push_back({QRect(m, 2, 8, h - 4), highlight});
  fills.push_back({QRect(m + 2, 4, 4, h - 8), MarkerCentre(highlight)});
  if (textAt) *textAt = QPoint(12, (h - 4) / 4);
  return fills;
}

int LDBEdit::ValueAt(int x, int w, int minimum, int maximum) {
  const int l = w - 4;
  if (l <= 0) return minimum;
  long long p = static_cast<long long>(x - 2) * (maximum - minimum);
  // Halfway rounds away from zero.
  p = p < 0 ? p - (l >> 1) : p + (l >> 1);
  const long long v = p / l + minimum;
  return Saturate(static_cast<int>(std::clamp<long long>(v, minimum, maximum)));
}

int LDBEdit::WheelStep(int delta, int minimum, int maximum) {
  const int step = std::max((maximum - minimum) / 20, 1);  // a tenth of half the range
  return std::clamp(delta, -step, step);
}

void LDBEdit::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor highlight = palette().color(QPalette::Highlight);
  QPoint textAt;
  for (const Fill& f : ComputePaint(width(), height(), m_value, m_minimum, m_maximum, highlight, &textAt))
    if (f.rect.width() > 0 && f.rect.height() > 0) p.fillRect(f.rect, f.color);
  QFont font = QApplication::font();
  font.setPixelSize(14);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(textAt + QPoint(0, QFontMetrics(font).ascent()), QStringLiteral("%1dB").arg(GetLevel().Get()));
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
  }
}

void LDBEdit::DragTo(int x) {
  if (!isEnabled() || !m_dragging) return;
  SetValue(ValueAt(x, width(), m_minimum, m_maximum));
  if (m_target) m_target->Command(m_id, 0);
}

void LDBEdit::mousePressEvent(QMouseEvent* event) {
  if (!isEnabled() || event->button() != Qt::LeftButton) return;
  m_dragging = true;
  DragTo(static_cast<int>(event->position().x()));
}

void LDBEdit::mouseMoveEvent(QMouseEvent* event) { DragTo(static_cast<int>(event->position().x())); }

void LDBEdit::mouseReleaseEvent(QMouseEvent*) { m_dragging = false; }

void LDBEdit::leaveEvent(QEvent*) { m_dragging = false; }

// Wheels report eighths of a degree, 120 to a notch; a touchpad's small
// steps add up to notches.
void LDBEdit::wheelEvent(QWheelEvent* event) {
  const QPoint angle = event->angleDelta();
  m_wheelRest += angle.y() != 0 ? angle.y() : angle.x();
  const int notches = m_wheelRest / 120;
  m_wheelRest -= notches * 120;
  if (notches != 0) SetValue(Saturate(m_value + WheelStep(notches, m_minimum, m_maximum)));
  event->accept();
}

LDBEdit* LDBEditInit(QWidget* parent, LCommandTarget* target, int id) {
  auto* field = new LDBEdit(target, id, parent);
  field->setObjectName(QString::number(id));
  field->SetRange(LdBLevel(-36), LdBLevel(12));
  return field;
}

void LSetDBEdit(QWidget* window, int id, const LdBLevel& level) {
  if (LDBEdit* field = window->findChild<LDBEdit*>(QString::number(id))) field->SetLevel(level);
}

LdBLevel LGetDBEdit(const QWidget* window, int id) {
  const LDBEdit* field = window->findChild<LDBEdit*>(QString::number(id));
  return field ? field->GetLevel() : LdBLevel(0);
}
