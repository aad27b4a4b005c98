#include "ui/Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

QList<QRect> LAvailableScreens() {
  QList<QRect> out;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary) out << primary->availableGeometry();
  for (const QScreen* s : QGuiApplication::screens())
    if (s != primary) out << s->availableGeometry();
  return out;
}

namespace {

long long Overlap(const QRect& a, const QRect& b) {
  const QRect i = a.intersected(b);
  return i.isEmpty() ? 0 : static_cast<long long>(i.width()) * i.height();
}

}  // namespace

QRect LFitOnScreens(QRect wanted, const QList<QRect>& screens, LFitMode mode, QMargins frame) {
  if (screens.isEmpty()) return wanted;
  const QSize around(frame.left() + frame.right(), frame.top() + frame.bottom());
  const QRect framed(wanted.topLeft(), wanted.size() + around);
  qsizetype best = 0;
  long long most = 0;
  for (qsizetype i = 0; i < screens.size(); ++i) {
    const long long overlap = Overlap(framed, screens[i]);
    if (overlap > most) most = overlap, best = i;
  }
  if (most == 0) mode = kFitCentreTop;
  const QRect screen = screens[best];
  const QSize size = wanted.size().boundedTo(
      QSize(std::max(1, screen.width() - around.width()), std::max(1, screen.height() - around.height())));
  const QSize outer = size + around;
  QPoint at = wanted.topLeft();
  if (mode == kFitCentreTop) at = QPoint(screen.left() + (screen.width() - outer.width()) / 2, screen.top());
  at.setX(std::clamp(at.x(), screen.left(), screen.left() + std::max(0, screen.width() - outer.width())));
  at.setY(std::clamp(at.y(), screen.top(), screen.top() + std::max(0, screen.height() - outer.height())));
  return QRect(at, size);
}

QMargins LFrameMargins(const QWidget* window) {
  if (window->isVisible()) {
    const QRect outer = window->frameGeometry(), inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
  }
  return QMargins(0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window), 0, 0);
}

void LKeepOnScreen(QWidget* window) {
  if (window->isMaximized() || window->isMinimized() || window->isFullScreen()) return;
  const QRect wanted(window->pos(), window->size());
  const QRect placed = LFitOnScreens(wanted, LAvailableScreens(), kFitKeepPlace, LFrameMargins(window));
  if (placed.size() != wanted.size()) window->resize(placed.size());
  if (placed.topLeft() != wanted.topLeft()) window->move(placed.topLeft());
}

void LPlaceOver(QWidget* window, const QWidget* parent) {
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QSize size = window->size();
  const QRect over = parent ? parent->frameGeometry() : screen->availableGeometry();
  QRect wanted(QPoint(), size);
  wanted.moveCenter(over.center());
  const QRect placed = LFitOnScreens(wanted, {screen->availableGeometry()}, kFitKeepPlace, LFrameMargins(window));
  window->resize(placed.size());
  window->move(placed.topLeft());
}
