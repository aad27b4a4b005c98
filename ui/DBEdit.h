// A compact level bar in whole decibels (-36 dB to +12 dB by default):
// dragged with the mouse, turned with the wheel, labelled with its value
// ("-6dB"). Green up to 0 dB, red for a boost. While dragged it sends its
// own id as a command; a wheel turn sends nothing, the owner reads the
// level when it needs it.
#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QRect>
#include <QWidget>
#include <vector>

#include "soundfile/DB.h"

class LCommandTarget;

class LDBEdit : public QWidget {
  Q_DECLARE_TR_FUNCTIONS(LDBEdit)

 public:
  // target may be null: then dragging sends nothing.
  LDBEdit(LCommandTarget* target, int id, QWidget* parent = nullptr);

  void SetRange(const LdBLevel& minimum, const LdBLevel& maximum);
  // The value saturated to the level type: above 127 gives 127, -128 and
  // below give -127.
  LdBLevel GetLevel() const;
  // Clamped to the range.
  void SetLevel(const LdBLevel& level);
  void GetValues(int& value, int& minimum, int& maximum) const;
  int Id() const { return m_id; }

  // One filled rectangle of a paint, in drawing order.
  struct Fill {
    QRect rect;
    QColor color;
  };
  // What a paint of a w x h field fills for a value; the marker comes last
  // (its colours from highlight) and the text's top-left corner in textAt.
  static std::vector<Fill> ComputePaint(int w, int h, int value, int minimum, int maximum, const QColor& highlight,
                                        QPoint* textAt = nullptr);
  // The value a press or drag at x gives in a field w wide.
  static int ValueAt(int x, int w, int minimum, int maximum);
  // The change one wheel event of delta notches makes.
  static int WheelStep(int delta, int minimum, int maximum);
  // The value after a key: arrows step 1 dB, Page keys 6 dB, Home and End
  // go to the ends; other keys leave it.
  static int KeyValue(int key, int value, int minimum, int maximum);
  static QColor MarkerCentre(const QColor& highlight);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SetValue(int v);
  void DragTo(int x);

  LCommandTarget* m_target;
  int m_id;
  int m_value = 0;
  int m_minimum = -36;
  int m_maximum = 12;
  bool m_dragging = false;
  int m_wheelRest = 0;  // eighths of a degree not yet a whole notch
};

// What a window does with its decibel fields, by control id: make one in
// parent (named by its id, owned by parent), set a level (nothing when
// there is no such field), read one (0 dB when there is none).
LDBEdit* LDBEditInit(QWidget* parent, LCommandTarget* target, int id);
void LSetDBEdit(QWidget* window, int id, const LdBLevel& level);
LdBLevel LGetDBEdit(const QWidget* window, int id);
