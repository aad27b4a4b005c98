// The text caret stops blinking after a while without input and blinks
// again at the next key or click, as GNOME's and GTK's carets do: a window
// left open with a focused field then keeps no timer running.
#pragma once

#include <QObject>
#include <QTimer>

class LCaretRest : public QObject {
 public:
  // GTK's default blink timeout.
  static constexpr int kRestAfterMs = 10000;

  // Watches the application's input; one per application.
  explicit LCaretRest(QObject* parent = nullptr);
  ~LCaretRest() override;

  bool Resting() const { return m_resting; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Rest();
  void Wake();

  QTimer m_idle;
  int m_flashMs;  // the desktop's flash time, given back on input
  bool m_resting = false;
};
