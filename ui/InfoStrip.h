// The strip along the bottom of the main window that tells the user what
// the program could not do and what to do about it, one line of text per
// problem, so that a second problem never hides the first. Hidden while it
// has no message; the user may close it, which drops them all.
#pragma once

#include <functional>

#include <QCoreApplication>
#include <QStringList>
#include <QWidget>

class QLabel;

class LInfoStrip : public QWidget {
  Q_DECLARE_TR_FUNCTIONS(LInfoStrip)

 public:
  explicit LInfoStrip(QWidget* parent);
  // Adds a message (once) and shows the strip.
  void AddMessage(const QString& text);
  // Drops a message that no longer holds (false when it was not shown);
  // hides the strip when none is left.
  bool RemoveMessage(const QString& text);
  void Clear();
  // The messages, one per line.
  QString Text() const;
  // Called when the user closes the strip.
  std::function<void()> onClosed;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Update();

  QLabel* m_label;
  QStringList m_messages;
};
