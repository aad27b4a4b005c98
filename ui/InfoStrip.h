// The strip along the bottom of the main window that tells the user what
// the program could not do and what to do about it. Hidden until a message
// is shown; the user may close it.
#pragma once

#include <functional>

#include <QWidget>

class QLabel;

class LInfoStrip : public QWidget {
 public:
  explicit LInfoStrip(QWidget* parent);
  void ShowMessage(const QString& text);
  QString Text() const;
  // The height that shows the whole text at this width.
  int HeightForWidth(int width) const;
  // Called when the user closes the strip.
  std::function<void()> onClosed;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QLabel* m_label;
};
