// The swinging light: a green ball travels a half circle from one end to
// the other once per beat, alternating direction each beat, with a fading
// trail behind it; a red lamp glows at the end it is near. Follows the
// model's playing-time ticks. Every frame is drawn once, all together, into
// cached pixmaps cut to their lit pixels; a move repaints only the old and
// new frames' rectangles, at most once per display frame, and only while on
// screen. It tells the model the pace of ticks it needs: one a display
// frame while on screen, one a second while not (nothing it drives is seen,
// and showing the window again asks for a tick at once).
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QPixmap>
#include <QPointF>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <QWindow>
#include <functional>

#include "model/MVModelEvents.h"

class LMVLedLightBox : public QWidget, public LMVModelEventsVoid {
 public:
  explicit LMVLedLightBox(QWidget* parent = nullptr);

  void EvPlayingStarted() override;
  void EvPlayingStopped() override;
  void EvPlayingTime(int value, int scale) override;

  // Moves the light for a raw index 0..count-1 within the beat; false (and
  // no repaint) for an index out of range or equal to the last one.
  bool PingPong(int index);

  int Position() const { return m_position; }
  int Count() const { return m_count; }
  bool IsBackward() const { return m_backward; }
  // Repaints requested so far: the light repaints only when it moves.
  int RepaintRequests() const { return m_repaints; }

  // Told the ms between the playing-time ticks the light needs whenever
  // that changes: a display frame while on screen, kUnseenPaceMs while
  // hidden, minimised or covered.
  static constexpr int kUnseenPaceMs = 1000;
  void SetPaceListener(std::function<void(int)> listener);
  int Pace() const { return m_pace; }

  // What a paint draws at a position in a box w x h. Angles are degrees
  // clockwise on screen from the +x axis. Lengths are in pixels at scale 1
  // (a 255 x 120 box and anything between that and the smallest that holds
  // the whole swing) and grow or shrink with the box beyond.
  struct Geometry {
    double scale;
    QPointF pivot;
    QPointF ball;
    QPointF lamp;
    bool lampDrawn;
    int lampAlpha;     // of the lamp's rim, 0..255
    bool ballDrawn;    // false when the ball touches the lamp: no ball, no trail
    double ballAngle;  // of the ball around the pivot
    // The trail: a 40-degree ring sector behind the ball, radii 36..54.
    double trailFrom, trailSweep;
    QPointF fadeFrom, fadeTo;  // its gradient, opaque green to transparent
  };
  static Geometry ComputeGeometry(int position, int count, bool backward, int w, int h);
  static double ScaleFor(int w, int h);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A frame's lit pixels and where they go; everything else is black.
  struct Frame {
    QRect rect;
    QPixmap pixels;
  };
  const Frame& CurrentFrame();
  Frame DrawFrame(int position, bool backward) const;
  bool OnScreen() const;
  int FrameMs() const;
  // Works out the pace from what is on screen and tells the listener.
  void UpdatePace(bool seen);
  // now: at once, not at the next display frame.
  void Repaint(bool now);
  static void Draw(QPainter& p, const Geometry& g);

  int m_position = 0;
  int m_count = 47;
  bool m_backward = false;
  int m_lastIndex = 0;
  int m_repaints = 0;
  QHash<int, Frame> m_frames;  // by position * 2 + backward, for the current size
  QRect m_drawn;               // where the latest frame's lit pixels are
  QRect m_dirty;               // waiting for the next display frame
  QElapsedTimer m_lastUpdate;
  QPointer<QWindow> m_watched;  // the window whose exposure sets the pace
  std::function<void(int)> m_paceListener;
  int m_pace = 0;
};
