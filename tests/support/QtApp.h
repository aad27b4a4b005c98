// The one QCoreApplication a test program needs for posted events and
// timers, and a way to run its event loop until something has happened.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

namespace test {

// A program's own application object (a QApplication for window tests)
// serves when one exists.
inline QCoreApplication& App() {
  if (QCoreApplication* existing = QCoreApplication::instance()) return *existing;
  static int argc = 1;
  static char name[] = "morvane-test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// Processes events until done() holds; the limit only keeps a broken test
// from hanging, it is not a timing check. Returns done().
template <typename Pred>
bool RunEventsUntil(Pred done, int limitMs = 10000) {
  App();
  QDeadlineTimer deadline(limitMs);
  while (!done() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!done()) QThread::msleep(1);
  }
  return done();
}

}  // namespace test
