#include "ui/MVLedLightBox.h"

#include <QImage>
#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace {

constexpr float kPiBelow = 3.1415925f;  // the single just below pi: the swing stops short of the axis
constexpr float kRadiansPerDegree = 0.017453292f;
constexpr double kSwing = 45;  // ball's distance from the pivot
constexpr double kRadius = 9;  // of ball and lamps
constexpr double kTrailInner = 36;
constexpr double kTrailOuter = 54;
constexpr double kFadeLength = 37.8;
constexpr double kBase = 10;  // pivot above the box's bottom edge

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

void LMVLedLightBox::SetPaceListener(std::function<void(int)> listener) {
  m_paceListener = std::move(listener);
  m_pace = 0;
  UpdatePace(OnScreen());
}

bool LMVLedLightBox::OnScreen() const {
  const QWindow* shown = window()->windowHandle();
  return isVisible() && shown && shown->isExposed();
}

int LMVLedLightBox::FrameMs() const {
  const double hz = screen() ? screen()->refreshRate() : 60.0;
  return static_cast<int>(std::ceil(1000.0 / std::clamp(hz, 10.0, 500.0)));
}

void LMVLedLightBox::UpdatePace(bool seen) {
  const int pace = seen ? FrameMs() : kUnseenPaceMs;
  if (pace == m_pace) return;
  m_pace = pace;
  if (m_paceListener) m_paceListener(pace);
}

// Where the last frame's pixels were and where the new ones go are
// repainted; nothing else changes. The ticks come once a display frame
// while the light is seen; one that comes much sooner (the tempo's own
// period is shorter than a frame before the pace is known) waits for the
// next, so the light never paints more often than the screen refreshes.
void LMVLedLightBox::Repaint(bool now) {
  ++m_repaints;
  if (!OnScreen()) {
    // Hidden or minimised: no drawing at all; exposing repaints it whole.
    m_dirty = rect();
    m_drawn = QRect();
    return;
  }
  m_dirty |= m_drawn;
  m_drawn = CurrentFrame().rect;
  m_dirty |= m_drawn;
  const qint64 soonestNs = FrameMs() * qint64(750000);  // 3/4 of a frame: timers run a little early or late
  if (!now && m_lastUpdate.isValid() && m_lastUpdate.nsecsElapsed() < soonestNs) return;
  if (!m_dirty.isEmpty()) update(m_dirty);
  m_dirty = QRect();
  m_lastUpdate.start();
}

void LMVLedLightBox::EvPlayingStarted() { Repaint(true); }
// The light stays where it was, so a stopped metronome shows the last beat.
void LMVLedLightBox::EvPlayingStopped() { Repaint(true); }

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
  Repaint(false);
  return true;
}

// Scale 1 from the smallest box that holds the whole swing up to the
// default 255 x 120; beyond that the light grows with the box, below it
// shrinks to fit.
double LMVLedLightBox::ScaleFor(int w, int h) {
  const double grow = std::min(w / 255.0, h / 120.0);
  if (grow > 1) return grow;
  const double fit = std::min(w / 140.0, h / 80.0);
  return fit < 1 ? std::max(fit, 0.2) : 1.0;
}

LMVLedLightBox::Geometry LMVLedLightBox::ComputeGeometry(int p, int n, bool backward, int w, int h) {
  Geometry g{};
  g.scale = ScaleFor(w, h);
  const double swing = kSwing * g.scale, base = kBase * g.scale;
  const float a = static_cast<float>(p) * kPiBelow / static_cast<float>(n - 1);
  const int cx = w / 2;
  g.pivot = QPointF(cx, h - base);
  g.ball = QPointF(static_cast<float>(-swing * std::cos(double(a)) + cx),
                   static_cast<float>((h + -swing * std::sin(double(a))) - base));
  const float f = static_cast<float>(p) / static_cast<float>(n);
  g.lamp = QPointF(f < 0.3f ? cx - swing : cx + swing, h - base);
  g.lampDrawn = f < 0.3f || f > 0.7f;
  if (g.lampDrawn) {
    const float x = f < 0.3f ? f : 1.0f - f;
    g.lampAlpha = static_cast<int>((x / -0.3f + 1.0f) * 255.0f);
  }
  const double dx = double(g.ball.x()) - g.lamp.x(), dy = double(g.ball.y()) - g.lamp.y();
  g.ballDrawn = std::sqrt(dx * dx + dy * dy) > 2 * kRadius * g.scale;
  g.ballAngle = double(a / kRadiansPerDegree) - 180.0;
  // The trail lies behind the ball: at smaller angles while the ball moves
  // right, at larger ones while it moves back.
  g.trailFrom = g.ballAngle;
  g.trailSweep = backward ? 40 : -40;
  // Its fade starts at the ball on the outer edge and runs along the chord
  // toward the trail's far end, whichever way the ball moves.
  g.fadeFrom = Along(g.pivot, g.ballAngle, kTrailOuter * g.scale);
  g.fadeTo = Along(g.fadeFrom, g.ballAngle + (backward ? 110 : -110), kFadeLength * g.scale);
  return g;
}

void LMVLedLightBox::Draw(QPainter& p, const Geometry& g) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  const double radius = kRadius * g.scale, outerR = kTrailOuter * g.scale, innerR = kTrailInner * g.scale;
  if (g.lampDrawn) {
    QRadialGradient glow(g.lamp, radius);
    glow.setColorAt(0, QColor(150, 0, 0));
    glow.setColorAt(1, QColor(255, 0, 0, g.lampAlpha));
    p.setBrush(glow);
    p.drawEllipse(g.lamp, radius, radius);
  }
  if (!g.ballDrawn) return;

  const QPointF& c = g.pivot;
  QPainterPath trail;
  const QRectF outer(c.x() - outerR, c.y() - outerR, 2 * outerR, 2 * outerR);
  const QRectF inner(c.x() - innerR, c.y() - innerR, 2 * innerR, 2 * innerR);
  ArcTo(trail, outer, g.trailFrom, g.trailSweep, true);
  ArcTo(trail, inner, g.trailFrom + g.trailSweep, -g.trailSweep, false);
  trail.closeSubpath();
  QLinearGradient fade(g.fadeFrom, g.fadeTo);
  fade.setColorAt(0, QColor(0, 150, 0));
  fade.setColorAt(1, QColor(0, 0, 0, 0));
  fade.setSpread(QGradient::PadSpread);
  p.fillPath(trail, fade);

  QRadialGradient ball(g.ball, radius);
  ball.setColorAt(0, QColor(0, 150, 0));
  ball.setColorAt(1, QColor(0, 200, 0));
  p.setBrush(ball);
  p.drawEllipse(g.ball, radius, radius);
}

// All frames at once, the first time one is needed at this size: drawing
// one fills its gradients through Qt's thread pool, which then stays idle
// while playing instead of waking for each frame not drawn before.
const LMVLedLightBox::Frame& LMVLedLightBox::CurrentFrame() {
  if (m_frames.isEmpty()) {
    m_frames.reserve(m_count * 2);
    for (int position = 0; position < m_count; ++position)
      for (bool backward : {false, true}) m_frames.emplace(position * 2 + (backward ? 1 : 0), DrawFrame(position, backward));
  }
  return *m_frames.constFind(m_position * 2 + (m_backward ? 1 : 0));
}

// Drawn over black at the device's pixel ratio, then cut down to the pixels
// that are not black.
LMVLedLightBox::Frame LMVLedLightBox::DrawFrame(int position, bool backward) const {
  const qreal dpr = devicePixelRatioF();
  QImage image(QSize(width(), height()) * dpr, QImage::Format_RGB32);
  image.setDevicePixelRatio(dpr);
  image.fill(Qt::black);
  {
    QPainter p(&image);
    Draw(p, ComputeGeometry(position, m_count, backward, width(), height()));
  }
  int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((row[x] & 0xFFFFFF) == 0) continue;
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
      y0 = std::min(y0, y);
      y1 = std::max(y1, y);
    }
  }
  Frame frame;
  if (x1 >= 0) {
    // Whole logical pixels, so the cut lands on the same grid on screen.
    frame.rect = QRect(QPoint(int(std::floor(x0 / dpr)), int(std::floor(y0 / dpr))),
                       QPoint(int(std::ceil((x1 + 1) / dpr)) - 1, int(std::ceil((y1 + 1) / dpr)) - 1));
    const QRect device(QPoint(int(std::floor(frame.rect.left() * dpr)), int(std::floor(frame.rect.top() * dpr))),
                       QSize(int(std::ceil(frame.rect.width() * dpr)), int(std::ceil(frame.rect.height() * dpr))));
    frame.pixels = QPixmap::fromImage(image.copy(device));
    frame.pixels.setDevicePixelRatio(dpr);
  }
  return frame;
}

void LMVLedLightBox::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(event->rect(), Qt::black);
  const Frame& frame = CurrentFrame();
  if (!frame.pixels.isNull() && frame.rect.intersects(event->rect())) p.drawPixmap(frame.rect.topLeft(), frame.pixels);
  m_drawn = frame.rect;
}

void LMVLedLightBox::resizeEvent(QResizeEvent* event) {
  // Every frame is drawn afresh at the new size; Qt repaints the whole box.
  m_frames.clear();
  m_drawn = QRect();
  m_dirty = QRect();
  QWidget::resizeEvent(event);
}

void LMVLedLightBox::showEvent(QShowEvent* event) {
  QWindow* shown = window()->windowHandle();
  if (shown && shown != m_watched.data()) {
    if (m_watched) m_watched->removeEventFilter(this);
    shown->installEventFilter(this);
    m_watched = shown;
  }
  UpdatePace(OnScreen());
  QWidget::showEvent(event);
}

void LMVLedLightBox::hideEvent(QHideEvent* event) {
  UpdatePace(false);
  QWidget::hideEvent(event);
}

// The window minimised, covered or shown again: Qt says so by exposing it
// or not.
bool LMVLedLightBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_watched.data() && event->type() == QEvent::Expose) UpdatePace(OnScreen());
  return QWidget::eventFilter(watched, event);
}
