// What a Qt widget program costs on this machine for nothing but a timer
// at the display's frame rate: the floor under any window that animates
// once a frame, to read the metronome's own figures against
// (bench/process-figures.sh --floor).
//
//   bench_frame_floor idle|paint
//
// idle: a 255 x 120 window whose timer fires once a display frame and does
// nothing. paint: the same timer also repaints a 40 x 40 square that moves
// across the window, as the light does with its ball. The window is made
// like the metronome's (no MIT-SHM, see MorvaneMain) so the two compare.
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

class Square : public QWidget {
 public:
  Square() { setAttribute(Qt::WA_OpaquePaintEvent); }
  void Step() {
    const QRect old = Box();
    m_step = (m_step + 1) % 48;
    update(old | Box());
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    p.fillRect(event->rect(), Qt::black);
    p.fillRect(Box(), QColor(0, 150, 0));
  }

 private:
  QRect Box() const { return QRect(10 + m_step * 4, 40, 40, 40); }
  int m_step = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const bool paint = argc > 1 && std::strcmp(argv[1], "paint") == 0;
  if (argc < 2 || (!paint && std::strcmp(argv[1], "idle") != 0)) {
    std::fprintf(stderr, "usage: bench_frame_floor idle|paint\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
  QApplication app(argc, argv);
  Square window;
  window.resize(255, 120);
  window.show();
  const double hz = window.screen() ? window.screen()->refreshRate() : 60.0;
  QTimer frame;
  frame.setTimerType(Qt::PreciseTimer);
  QObject::connect(&frame, &QTimer::timeout, &window, [&] {
    if (paint) window.Step();
  });
  frame.start(static_cast<int>(std::ceil(1000.0 / hz)));
  return app.exec();
}
