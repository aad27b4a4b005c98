#include "ui/PracticeKeys.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>
#include <QWindow>

#include "model/PracticeModel.h"

namespace {

// Controls that move their own value or selection with the arrow keys.
bool UsesArrows(const QWidget* w) {
  return qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
         qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

}  // namespace

LPracticeKeys::LPracticeKeys(QWidget* window, LPracticeModel& practice)
    : QObject(window), m_window(window), m_practice(practice) {
  // The window handle exists once the window is created; its filters run
  // newest first, so these keys come before the window's key table.
  window->winId();
  window->windowHandle()->installEventFilter(this);
}

int64_t LPracticeKeys::NowUs() {
  static QElapsedTimer clock = [] {
    QElapsedTimer c;
    c.start();
    return c;
  }();
  return clock.nsecsElapsed() / 1000;
}

int LPracticeKeys::KeyAction(const QKeyEvent& event, const QWidget* focused) {
  const Qt::KeyboardModifiers mods = event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
  if (mods != Qt::NoModifier) return 0;  // Ctrl, Alt and Meta belong to menus
  const bool arrowsFree = !UsesArrows(focused);
  switch (event.key()) {
    case Qt::Key_T: return event.isAutoRepeat() ? 0 : kTap;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return 1;  // + without Shift on most layouts
    case Qt::Key_Minus: return -1;
    case Qt::Key_Up: return arrowsFree ? 1 : 0;
    case Qt::Key_Down: return arrowsFree ? -1 : 0;
    case Qt::Key_PageUp: return arrowsFree ? 10 : 0;
    case Qt::Key_PageDown: return arrowsFree ? -10 : 0;
    default: return 0;
  }
}

bool LPracticeKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto& key = *static_cast<QKeyEvent*>(event);
  const int action = KeyAction(key, QApplication::focusWidget());
  if (action == 0) return QObject::eventFilter(watched, event);
  if (action == kTap)
    m_practice.Tap(NowUs());
  else
    m_practice.Nudge(action);
  return true;
}
