// The practice keys of the main window, wherever the focus is: T taps the
// tempo (like Space plays), + and - nudge it by 1 bpm, Up and Down by 1 and
// Page Up and Page Down by 10 where the focused control does not use them
// itself (the tempo field, the lists, the volume slider).
#pragma once

#include <cstdint>

#include <QObject>

class LPracticeModel;
class QKeyEvent;
class QWidget;

class LPracticeKeys : public QObject {
 public:
  // Watches window's key presses ahead of its own key table.
  LPracticeKeys(QWidget* window, LPracticeModel& practice);
  // The tempo change a key asks for with focus on the focused widget (null
  // for none): 0 for none, kTap for a tap.
  static constexpr int kTap = 1000;
  static int KeyAction(const QKeyEvent& event, const QWidget* focused);
  // The taps' clock, shared by the key and the Tap button: microseconds
  // of a monotonic clock.
  static int64_t NowUs();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_window;
  LPracticeModel& m_practice;
};
