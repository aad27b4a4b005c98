#include "ui/CaretRest.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

LCaretRest::LCaretRest(QObject* parent) : QObject(parent), m_flashMs(QGuiApplication::styleHints()->cursorFlashTime()) {
  m_idle.setSingleShot(true);
  m_idle.setInterval(kRestAfterMs);
  connect(&m_idle, &QTimer::timeout, this, [this] { Rest(); });
  QCoreApplication::instance()->installEventFilter(this);
  m_idle.start();
}

LCaretRest::~LCaretRest() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
  Wake();
}

// A flash time of 0 keeps the caret shown, with no timer.
void LCaretRest::Rest() {
  m_resting = true;
  QGuiApplication::styleHints()->setCursorFlashTime(0);
}

void LCaretRest::Wake() {
  if (m_resting) QGuiApplication::styleHints()->setCursorFlashTime(m_flashMs);
  m_resting = false;
}

bool LCaretRest::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::InputMethod:
    case QEvent::FocusIn:
      // Once per event: the application hands each to this filter once,
      // however many widgets it then passes through.
      Wake();
      m_idle.start();
      break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}
