#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "tests/ui/UiTestSupport.h"
#include "ui/MVDisplay.h"
#include "ui/MVLedLightBox.h"

namespace {

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
  EXPECT_EQ(Ink(nine, x0, x0 + 28), 0);  // blank hundreds
  EXPECT_GT(Ink(full, x0, x0 + 28), 0);
  EXPECT_GT(Ink(nine, x0 + 87, 255), 0);  // "bpm"
  // "9" and "1" must differ: the empty boxes drawn without a font would not.
  EXPECT_GT(Ink(nine, x0 + 28, x0 + 56), Ink(one, x0 + 28, x0 + 56));
  EXPECT_GT(Ink(one, x0 + 28, x0 + 56), 0);
}

TEST(LightBoxTest, RunsSwingAndReturnSkippingMissedEnds) {
  test::GuiApp();
  LMVLedLightBox box;
  for (int i = 1; i <= 46; ++i) {
    box.PingPong(i);
    ASSERT_EQ(box.Position(), i);
    ASSERT_EQ(box.IsBackward(), i == 46) << i;
  }
  box.PingPong(0);
  EXPECT_EQ(box.Position(), 46);  // index 0 of the second run: the right end still
  for (int i = 1; i <= 46; ++i) box.PingPong(i);
  EXPECT_EQ(box.Position(), 0);
  EXPECT_FALSE(box.IsBackward());
  for (int i = 1; i <= 45; ++i) box.PingPong(i);
  EXPECT_TRUE(box.PingPong(2));  // the beat wrapped before index 46 came
  EXPECT_TRUE(box.IsBackward());
  EXPECT_EQ(box.Position(), 44);
  const int repaints = box.RepaintRequests();
  for (int bad : {2, 47, -1}) EXPECT_FALSE(box.PingPong(bad)) << bad;
  EXPECT_EQ(box.RepaintRequests(), repaints);
  box.EvPlayingTime(50, 100);  // half a beat: index 23
  EXPECT_EQ(box.Position(), 23);
  box.EvPlayingStopped();
  EXPECT_EQ(box.Position(), 23);  // stopping leaves the light where it was
}

// A point at radius r and clockwise angle deg around the pivot (127, 110).
QColor At(const QImage& image, double deg, double r = 45) {
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
  EXPECT_TRUE(IsRed(At(image, 180)));
  EXPECT_TRUE(IsBlack(At(image, -90)));

  box.PingPong(23);
  image = test::Grab(box);
  EXPECT_TRUE(IsBlack(At(image, 180)));
  EXPECT_TRUE(IsBlack(At(image, 0)));
  EXPECT_TRUE(IsGreen(At(image, -90)));
  EXPECT_TRUE(IsGreen(At(image, -90 - 15)));  // the trail behind the ball
  EXPECT_TRUE(IsBlack(At(image, -90 + 25)));  // nothing ahead of it

  box.PingPong(46);
  image = test::Grab(box);
  EXPECT_TRUE(IsRed(At(image, 0)));

  box.PingPong(0);
  box.PingPong(23);  // on the way back the trail is on the other side
  ASSERT_TRUE(box.IsBackward());
  image = test::Grab(box);
  EXPECT_TRUE(IsGreen(At(image, -90 + 15)));
  EXPECT_TRUE(IsBlack(At(image, -90 - 25)));
}

// A digest of the pixels, to compare renderings with earlier ones.
std::string Digest(const QImage& image) {
  QCryptographicHash hash(QCryptographicHash::Sha1);
  for (int y = 0; y < image.height(); ++y)
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4));
  return hash.result().toHex().left(16).toStdString();
}

// The drawing at the default sizes stays pixel for pixel what it was
// (digests of the earlier uncached rendering), the light's cached frames
// included, whatever order they are first drawn in.
TEST(LightBoxTest, PixelsAtTheDefaultSizeAreUnchanged) {
  test::GuiApp();
  const char* const light[] = {"168b261af9fb32ec", "2d702c3af1e23b49", "3b425b560f602d6d", "b128934097e47f94",
                               "31e26eed3552916f", "31e26eed3552916f", "5e22a97a4405eeb6", "da442099dba02b2b"};
  const int steps[] = {5, 23, 40, 46, 0, 10, 23};
  for (int round = 0; round < 2; ++round) {
    LMVLedLightBox box;
    box.resize(255, 120);
    box.show();
    EXPECT_EQ(Digest(test::Grab(box)), light[0]);
    for (int i = 0; i < 7; ++i) {
      box.PingPong(steps[i]);
      test::Pump();
      EXPECT_EQ(Digest(test::Grab(box)), light[i + 1]) << "step " << i << " round " << round;
    }
  }
  const struct {
    int bpm;
    const char* digest;
  } display[] = {
      {92, "9694749b16656aee"}, {100, "0eb99b6d587439ea"}, {10, "6bd8ca5fe4de14c9"}, {208, "667fefefb849eea7"}};
  LMVDisplay shown;
  shown.resize(255, 63);
  for (const auto& c : display) {
    shown.SetTempo(c.bpm);
    EXPECT_EQ(Digest(test::Grab(shown)), c.digest) << c.bpm;
  }
}

// The light's pixels at places of a beat, going and coming back, against
// images the earlier drawing made (tests/ui/light): no channel
// of any pixel more than 2 away.
TEST(LightBoxTest, PixelsMatchTheEarlierImages) {
  test::GuiApp();
  const struct {
    int percent;
    bool back;
    const char* image;
  } shots[] = {{0, false, "light-000"},     {25, false, "light-025"},     {50, false, "light-050"},
               {90, false, "light-090"},    {25, true, "light-back-025"}, {90, true, "light-back-090"}};
  for (const auto& s : shots) {
    LMVLedLightBox box;
    box.resize(255, 120);
    box.show();
    if (s.back) {
      box.EvPlayingTime(99, 100);  // the right end, then the next beat begins
      box.EvPlayingTime(0, 100);
    }
    box.EvPlayingTime(s.percent, 100);
    const QImage want = QImage(QStringLiteral(MORVANE_LIGHT_IMAGES "/%1.png").arg(QLatin1String(s.image)))
                            .convertToFormat(QImage::Format_RGB32);
    const QImage got = test::Grab(box);
    ASSERT_EQ(got.size(), want.size()) << s.image;
    int worst = 0;
    for (int y = 0; y < got.height(); ++y)
      for (int x = 0; x < got.width(); ++x) {
        const QRgb a = got.pixel(x, y), b = want.pixel(x, y);
        worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))});
      }
    EXPECT_LE(worst, 2) << s.image;
  }
}

// A larger box draws a proportionally larger light: the lamp at the left
// end sits at the same fraction of the box, and is lit.
TEST(LightBoxTest, GeometryGrowsWithTheBox) {
  EXPECT_EQ(LMVLedLightBox::ScaleFor(255, 120), 1.0);
  EXPECT_EQ(LMVLedLightBox::ScaleFor(255, 90), 1.0);
  EXPECT_EQ(LMVLedLightBox::ScaleFor(510, 240), 2.0);
  EXPECT_EQ(LMVLedLightBox::ScaleFor(70, 40), 0.5);
  test::GuiApp();
  LMVLedLightBox box;
  box.resize(510, 240);
  const QImage image = test::Grab(box);
  const LMVLedLightBox::Geometry g = LMVLedLightBox::ComputeGeometry(0, 47, false, 510, 240);
  EXPECT_EQ(g.lamp, QPointF(255 - 90, 240 - 20));
  EXPECT_TRUE(IsRed(image.pixelColor(g.lamp.toPoint())));
  EXPECT_TRUE(IsRed(image.pixelColor(g.lamp.toPoint() + QPoint(15, 0))));  // radius 18, not 9
}

}  // namespace
