#include "ui/MVLedLightBox.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace {

constexpr float kPiBelow = 3.1415925f;  // the single just below pi: the swing stops short of the axis
constexpr float kRadiansPerDegree = 0.017453292f;
constexpr double kSwing = 45;  // ball's distance from the pivot
constexpr double kRadius = 9;  // of ball and lamps
constexpr double kTrailInner = 36;
constexpr double kTrailOuter = 54;
constexpr double kFadeLength = 37.8;

QPointF Along(const QPointF& from, double degrees, double length) {
  const double r = degrees * M_PI / 180.0;
  return QPointF(from.x() + length * std::cos(r), from.y() + length * std::sin(r));
}

// Qt's arc angles run counter-clockwise on screen; ours run clockwise.
void ArcTo(QPainterPath& path, const QRectF& box, double start, double sweep, bool first) {
  if (first) path.arcMoveTo(box, -start);
  path.arcTo(box, -start, -sweep);
}

}  // namespace

LMVLedLightBox::LMVLedLightBox(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void LMVLedLightBox::Repaint() {
  ++m_repaints;
  update();
}

void LMVLedLightBox::EvPlayingStarted() { Repaint(); }
// The light stays where it was, so a stopped metronome shows the last beat.
void LMVLedLightBox::EvPlayingStopped() { Repaint(); }

void LMVLedLightBox::EvPlayingTime(int value, int scale) {
  if (scale <= 0) return;
  PingPong(static_cast<int>(static_cast<long long>(value) * m_count / scale));
}

bool LMVLedLightBox::PingPong(int i) {
  const int n = m_count;
  if (i < 0 || i >= n || i == m_lastIndex) return false;
  m_lastIndex = i;
  if (m_backward) {
    const int j = n - 1 - i;
    // The left end reached, or the raw index wrapped: a new beat.
    if (j == 0 || j > m_position) {
      m_backward = false;
      m_position = j > m_position ? i : j;
    } else {
      m_position = j;
    }
  } else if (i == n - 1 || i < m_position) {
    m_backward = true;
    m_position = i < m_position ? n - 1 - i : i;
  } else {
    m_position = i;
  }
  Repaint();
  return true;
}

LMVLedLightBox::Geometry LMVLedLightBox::ComputeGeometry(int p, int n, bool backward, int w, int h) {
  Geometry g{};
  const float a = static_cast<float>(p) * kPiBelow / static_cast<float>(n - 1);
  const int cx = w / 2;
  g.pivot = QPointF(cx, h - 10);
  g.ball = QPointF(static_cast<float>(-kSwing * std::cos(double(a)) + cx),
                   static_cast<float>((h + -kSwing * std::sin(double(a))) - 10));
  const float f = static_cast<float>(p) / static_cast<float>(n);
  g.lamp = QPointF(f < 0.3f ? cx - kSwing : cx + kSwing, h - 10);
  g.lampDrawn = f < 0.3f || f > 0.7f;
  if (g.lampDrawn) {
    const float x = f < 0.3f ? f : 1.0f - f;
    g.lampAlpha = static_cast<int>((x / -0.3f + 1.0f) * 255.0f);
  }
  const double dx = double(g.ball.x()) - g.lamp.x(), dy = double(g.ball.y()) - g.lamp.y();
  g.ballDrawn = std::sqrt(dx * dx + dy * dy) > 2 * kRadius;
  g.ballAngle = double(a / kRadiansPerDegree) - 180.0;
  // The trail lies behind the ball: at smaller angles while the ball moves
  // right, at larger ones while it moves back.
  g.trailFrom = g.ballAngle;
  g.trailSweep = backward ? 40 : -40;
  // Its fade starts at the ball on the outer edge and runs along the chord
  // toward the trail's far end, whichever way the ball moves.
  g.fadeFrom = Along(g.pivot, g.ballAngle, kTrailOuter);
  g.fadeTo = Along(g.fadeFrom, g.ballAngle + (backward ? 110 : -110), kFadeLength);
  return g;
}

void LMVLedLightBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  const Geometry g = ComputeGeometry(m_position, m_count, m_backward, width(), height());
  if (g.lampDrawn) {
    QRadialGradient glow(g.lamp, kRadius);
    glow.setColorAt(0, QColor(150, 0, 0));
    glow.setColorAt(1, QColor(255, 0, 0, g.lampAlpha));
    p.setBrush(glow);
    p.drawEllipse(g.lamp, kRadius, kRadius);
  }
  if (!g.ballDrawn) return;

  const QPointF& c = g.pivot;
  QPainterPath trail;
  const QRectF outer(c.x() - kTrailOuter, c.y() - kTrailOuter, 2 * kTrailOuter, 2 * kTrailOuter);
  const QRectF inner(c.x() - kTrailInner, c.y() - kTrailInner, 2 * kTrailInner, 2 * kTrailInner);
  ArcTo(trail, outer, g.trailFrom, g.trailSweep, true);
  ArcTo(trail, inner, g.trailFrom + g.trailSweep, -g.trailSweep, false);
  trail.closeSubpath();
  QLinearGradient fade(g.fadeFrom, g.fadeTo);
  fade.setColorAt(0, QColor(0, 150, 0));
  fade.setColorAt(1, QColor(0, 0, 0, 0));
  fade.setSpread(QGradient::PadSpread);
  p.fillPath(trail, fade);

  QRadialGradient ball(g.ball, kRadius);
  ball.setColorAt(0, QColor(0, 150, 0));
  ball.setColorAt(1, QColor(0, 200, 0));
  p.setBrush(ball);
  p.drawEllipse(g.ball, kRadius, kRadius);
}
