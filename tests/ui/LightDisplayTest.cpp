#include <gtest/gtest.h>

#include <QFontMetrics>
#include <cmath>
#include <vector>

#include "tests/ui/UiTestSupport.h"
#include "ui/MVDisplay.h"
#include "ui/MVLedLightBox.h"

namespace {

struct DigitCase {
  int bpm;
  int digits[3];
};

TEST(DisplayTest, DigitsKeepFixedCellsAndLeaveLeadingZerosBlank) {
  const DigitCase cases[] = {
      {92, {-1, 9, 2}}, {100, {1, 0, 0}}, {10, {-1, 1, 0}}, {280, {2, 8, 0}}, {205, {2, 0, 5}}};
  for (const DigitCase& c : cases) {
    const LMVDisplay::Layout l = LMVDisplay::ComputeLayout(c.bpm, 255, 24);
    EXPECT_EQ(l.x0, 76);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(l.digits[i], c.digits[i]) << c.bpm << " cell " << i;
    EXPECT_EQ(l.labelX, 163);
    EXPECT_EQ(l.labelY, 35);
  }
}

// Dark pixels in a column range of a rendered display: where glyphs are.
int Ink(const QImage& image, int x0, int x1) {
  int n = 0;
  for (int y = 0; y < image.height() - 2; ++y)
    for (int x = std::max(x0, 1); x < std::min(x1, image.width() - 2); ++x)
      if (qGray(image.pixel(x, y)) < 80) ++n;
  return n;
}

TEST(DisplayTest, DrawsRealGlyphsWhereTheCellsAre) {
  test::GuiApp();
  auto render = [](int bpm) {
    LMVDisplay display;
    display.resize(255, 63);
    display.SetTempo(bpm);
    return test::Grab(display);
  };
  const int labelWidth = QFontMetrics(LMVDisplay::LabelFont()).horizontalAdvance(QStringLiteral("bpm"));
  const int x0 = LMVDisplay::ComputeLayout(92, 255, labelWidth).x0;
  const QImage nine = render(92), one = render(10), full = render(100);
  EXPECT_EQ(nine.pixelColor(100, 5), QColor(186, 220, 153));
  EXPECT_EQ(Ink(nine, x0, x0 + 28), 0);  // blank hundreds
  EXPECT_GT(Ink(full, x0, x0 + 28), 0);
  EXPECT_GT(Ink(nine, x0 + 87, 255), 0);  // "bpm"
  // "9" and "1" must differ: the empty boxes drawn without a font would not.
  const QImage a = nine.copy(x0 + 28, 0, 28, 63), b = one.copy(x0 + 28, 0, 28, 63);
  EXPECT_GT(Ink(nine, x0 + 28, x0 + 56), 0);
  EXPECT_NE(a, b);
  EXPECT_GT(Ink(nine, x0 + 28, x0 + 56), Ink(one, x0 + 28, x0 + 56));
}

TEST(LightBoxTest, FullRunsSwingAndReturn) {
  test::GuiApp();
  LMVLedLightBox box;
  std::vector<int> positions;
  std::vector<bool> backward;
  for (int run = 0; run < 2; ++run)
    for (int i = 0; i <= 46; ++i) {
      box.PingPong(i);
      positions.push_back(box.Position());
      backward.push_back(box.IsBackward());
    }
  for (int i = 1; i <= 46; ++i) EXPECT_EQ(positions[i], i);
  EXPECT_FALSE(backward[45]);
  EXPECT_TRUE(backward[46]);
  EXPECT_EQ(positions[47], 46);  // index 0 of the second run: the right end still
  for (int i = 1; i <= 45; ++i) {
    EXPECT_EQ(positions[47 + i], 46 - i);
    EXPECT_TRUE(backward[47 + i]);
  }
  EXPECT_EQ(positions[93], 0);
  EXPECT_FALSE(backward[93]);
}

TEST(LightBoxTest, SkippedEndsRepeatsAndBadIndices) {
  test::GuiApp();
  LMVLedLightBox box;
  for (int i = 1; i <= 45; ++i) box.PingPong(i);
  EXPECT_TRUE(box.PingPong(2));  // the beat wrapped before index 46 came
  EXPECT_TRUE(box.IsBackward());
  EXPECT_EQ(box.Position(), 44);
  EXPECT_TRUE(box.PingPong(3));
  EXPECT_EQ(box.Position(), 43);
  const int repaints = box.RepaintRequests();
  EXPECT_FALSE(box.PingPong(3));
  EXPECT_FALSE(box.PingPong(47));
  EXPECT_FALSE(box.PingPong(-1));
  EXPECT_EQ(box.RepaintRequests(), repaints);
  box.EvPlayingTime(50, 100);  // half a beat: index 23
  EXPECT_EQ(box.Position(), 46 - 23);
  box.EvPlayingStopped();
  EXPECT_EQ(box.Position(), 23);  // stopping leaves the light where it was
}

struct LightCase {
  int position;
  bool lamp;
  int alpha;
  bool ball;
};

TEST(LightBoxTest, GeometryAtTheEndsAndTheTop) {
  const LightCase cases[] = {{0, true, 255, false}, {8, true, 110, true}, {23, false, 0, true}, {46, true, 236, false}};
  for (const LightCase& c : cases) {
    const auto g = LMVLedLightBox::ComputeGeometry(c.position, 47, false, 255, 120);
    EXPECT_EQ(g.lampDrawn, c.lamp) << c.position;
    if (c.lamp) {
      EXPECT_EQ(g.lampAlpha, c.alpha) << c.position;
    }
    EXPECT_EQ(g.ballDrawn, c.ball) << c.position;
  }
  const auto left = LMVLedLightBox::ComputeGeometry(0, 47, false, 255, 120);
  EXPECT_EQ(left.ball, QPointF(127 - 45, 110));
  EXPECT_EQ(left.lamp, QPointF(127 - 45, 110));
  const auto top = LMVLedLightBox::ComputeGeometry(23, 47, false, 255, 120);
  EXPECT_NEAR(top.ball.x(), 127, 1e-3);
  EXPECT_NEAR(top.ball.y(), 120 - 55, 1e-3);
  EXPECT_EQ(LMVLedLightBox::ComputeGeometry(46, 47, true, 255, 120).lamp, QPointF(127 + 45, 110));
  const auto eight = LMVLedLightBox::ComputeGeometry(8, 47, false, 255, 120);
  EXPECT_NEAR(std::hypot(eight.ball.x() - eight.lamp.x(), eight.ball.y() - eight.lamp.y()), 24.3, 0.1);
}

// A point at radius r and clockwise angle deg around the pivot (127, 110).
QColor At(const QImage& image, double deg, double r) {
  const double a = deg * M_PI / 180;
  return image.pixelColor(static_cast<int>(std::lround(127 + r * std::cos(a))),
                          static_cast<int>(std::lround(110 + r * std::sin(a))));
}

bool IsRed(const QColor& c) { return c.red() > 100 && c.green() == 0 && c.blue() == 0; }
bool IsGreen(const QColor& c) { return c.green() > 40 && c.red() == 0 && c.blue() == 0; }
bool IsBlack(const QColor& c) { return c == QColor(Qt::black); }

TEST(LightBoxTest, RendersBallLampsAndTrail) {
  test::GuiApp();
  LMVLedLightBox box;
  box.resize(255, 120);
  QImage image = test::Grab(box);  // position 0
  EXPECT_TRUE(IsRed(image.pixelColor(82, 110)));
  EXPECT_TRUE(IsBlack(image.pixelColor(127, 65)));

  box.PingPong(8);
  image = test::Grab(box);
  const double ball8 = 8 * 180.0 / 46 - 180;
  EXPECT_GT(image.pixelColor(82, 110).red(), 80);  // under the trail's fading end
  EXPECT_TRUE(IsGreen(At(image, ball8, 45)));
  EXPECT_TRUE(IsGreen(At(image, ball8 - 15, 45)));  // the trail behind the ball
  EXPECT_TRUE(IsBlack(At(image, ball8 + 25, 45)));  // nothing ahead of it

  box.PingPong(23);
  image = test::Grab(box);
  EXPECT_TRUE(IsBlack(image.pixelColor(82, 110)));
  EXPECT_TRUE(IsBlack(image.pixelColor(172, 110)));
  EXPECT_TRUE(IsGreen(image.pixelColor(127, 65)));
  EXPECT_TRUE(IsGreen(At(image, -90 - 15, 45)));
  EXPECT_TRUE(IsBlack(At(image, -90 + 25, 45)));

  box.PingPong(46);
  image = test::Grab(box);
  EXPECT_TRUE(IsRed(image.pixelColor(172, 110)));
  EXPECT_TRUE(IsBlack(image.pixelColor(127, 65)));

  box.PingPong(0);
  box.PingPong(23);  // on the way back the trail is on the other side
  ASSERT_TRUE(box.IsBackward());
  image = test::Grab(box);
  EXPECT_TRUE(IsGreen(At(image, -90 + 15, 45)));
  EXPECT_TRUE(IsBlack(At(image, -90 - 25, 45)));
}

}  // namespace
