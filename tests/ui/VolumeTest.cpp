#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "tests/ui/UiTestSupport.h"
#include "ui/CommandTarget.h"
#include "ui/DBEdit.h"
#include "ui/VolumeSlider.h"

namespace {

class Commands : public LCommandTarget {
 public:
  bool Command(int id, int) override {
    ids.push_back(id);
    return true;
  }
  std::vector<int> ids;
};

TEST(VolumeSliderTest, TooltipPercentages) {
  EXPECT_EQ(LVolumeSlider::PercentText(-20, -45, 0).toStdString(), "55%");
  EXPECT_EQ(LVolumeSlider::PercentText(0, -45, 0).toStdString(), "100%");
  EXPECT_EQ(LVolumeSlider::PercentText(-45, -45, 0).toStdString(), "0%");
}

TEST(VolumeSliderTest, LaysOutInItsPaneAndSendsOneCommandPerMove) {
  test::GuiApp();
  QWidget pane;
  pane.resize(200, 40);
  pane.show();  // a hidden widget hears of resizes only once shown
  Commands target;
  LVolumeSlider slider;
  slider.Init(target, &pane, 103);
  EXPECT_EQ(slider.TrackBar()->geometry(), QRect(16, 1, 168, 20));
  EXPECT_EQ(slider.QuietIcon()->geometry(), QRect(1, 1, 14, 14));
  EXPECT_EQ(slider.LoudIcon()->geometry(), QRect(185, 1, 14, 14));
  EXPECT_EQ(slider.TrackBar()->minimum(), -45);
  EXPECT_EQ(slider.TrackBar()->maximum(), 0);
  pane.resize(300, 40);
  EXPECT_EQ(slider.TrackBar()->width(), 268);
  EXPECT_EQ(slider.LoudIcon()->x(), 285);

  slider.TrackBar()->setValue(-20);
  slider.TrackBar()->setValue(-21);
  EXPECT_EQ(target.ids, (std::vector<int>{103, 103}));
  EXPECT_EQ(slider.GetLevel().Get(), -21);
  EXPECT_EQ(slider.TrackBar()->toolTip().toStdString(), "53%");
  slider.SetLevel(LdBLevel(-20));  // the model's echo: no command
  EXPECT_EQ(slider.TrackBar()->value(), -20);
  EXPECT_EQ(slider.TrackBar()->toolTip().toStdString(), "55%");
  EXPECT_EQ(target.ids.size(), 2u);
}

struct Rect {
  int x, y, w, h;
};

std::vector<Rect> Rects(int value) {
  std::vector<Rect> out;
  for (const LDBEdit::Fill& f : LDBEdit::ComputePaint(231, 25, value, -36, 12, QColor(0, 0, 255)))
    out.push_back({f.rect.x(), f.rect.y(), f.rect.width(), f.rect.height()});
  return out;
}

bool operator==(const Rect& a, const Rect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

TEST(DBEditTest, PaintRectanglesForCutBoostAndFloor) {
  // 0 dB: z = 165; the green ends at 167 where the marker starts.
  const std::vector<Rect> zero = Rects(0);
  ASSERT_EQ(zero.size(), 5u);
  EXPECT_TRUE((zero[1] == Rect{2, 2, 165, 21}));
  EXPECT_TRUE((zero[2] == Rect{4, 4, 163, 17}));
  EXPECT_TRUE((zero[3] == Rect{167, 2, 8, 21}));
  EXPECT_TRUE((zero[4] == Rect{169, 4, 4, 17}));
  // +6 dB: d = 27, red from 0 dB on, marker at 192.
  const std::vector<Rect> boost = Rects(6);
  ASSERT_EQ(boost.size(), 7u);
  EXPECT_TRUE((boost[3] == Rect{165, 2, 29, 21}));
  EXPECT_TRUE((boost[5] == Rect{192, 2, 8, 21}));
  // The floor: background and the marker at 2 only.
  const std::vector<Rect> floor = Rects(-36);
  ASSERT_EQ(floor.size(), 3u);
  EXPECT_TRUE((floor[0] == Rect{0, 0, 231, 25}));
  EXPECT_TRUE((floor[1] == Rect{2, 2, 8, 21}));
  QPoint textAt;
  LDBEdit::ComputePaint(231, 25, 0, -36, 12, Qt::blue, &textAt);
  EXPECT_EQ(textAt, QPoint(12, 5));
  // The marker's centre is the highlight with blue raised, wrapping in 16 bits.
  EXPECT_EQ(LDBEdit::MarkerCentre(QColor::fromRgba64(0, 0, 60000)).rgba64().blue(), (60000 + 8000) & 0xFFFF);
}

TEST(DBEditTest, ClickMappingAndWheelSteps) {
  EXPECT_EQ(LDBEdit::ValueAt(2, 231, -36, 12), -36);
  EXPECT_EQ(LDBEdit::ValueAt(227, 231, -36, 12), 12);
  EXPECT_EQ(LDBEdit::ValueAt(115, 231, -36, 12), -12);
  EXPECT_EQ(LDBEdit::ValueAt(-50, 231, -36, 12), -36);
  EXPECT_EQ(LDBEdit::ValueAt(5000, 231, -36, 12), 12);
  EXPECT_EQ(LDBEdit::WheelStep(1, -36, 12), 1);
  EXPECT_EQ(LDBEdit::WheelStep(5, -36, 12), 2);
  EXPECT_EQ(LDBEdit::WheelStep(-5, -36, 12), -2);
  EXPECT_EQ(LDBEdit::WheelStep(5, -1, 0), 1);
}

void Wheel(QWidget& w, int angle) {
  QWheelEvent e(QPointF(10, 10), w.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, angle), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&w, &e);
}

TEST(DBEditTest, DragsSendCommandsWheelsDoNot) {
  test::GuiApp();
  Commands target;
  LDBEdit field(&target, 42);
  field.resize(231, 25);
  QTest::mousePress(&field, Qt::LeftButton, Qt::NoModifier, QPoint(115, 10));
  QTest::mouseRelease(&field, Qt::LeftButton, Qt::NoModifier, QPoint(115, 10));
  EXPECT_EQ(field.GetLevel().Get(), -12);
  EXPECT_EQ(target.ids, std::vector<int>{42});

  Wheel(field, 120);
  EXPECT_EQ(field.GetLevel().Get(), -11);
  Wheel(field, 600);
  EXPECT_EQ(field.GetLevel().Get(), -9);
  Wheel(field, 60);  // half a notch waits for the other half
  EXPECT_EQ(field.GetLevel().Get(), -9);
  Wheel(field, 60);
  EXPECT_EQ(field.GetLevel().Get(), -8);
  field.SetLevel(LdBLevel(12));
  Wheel(field, 120);
  EXPECT_EQ(field.GetLevel().Get(), 12);
  EXPECT_EQ(target.ids.size(), 1u);

  field.setEnabled(false);
  QTest::mousePress(&field, Qt::LeftButton, Qt::NoModifier, QPoint(2, 10));
  EXPECT_EQ(field.GetLevel().Get(), 12);
  field.SetLevel(LdBLevel(100));  // clamped to the range
  int value, minimum, maximum;
  field.GetValues(value, minimum, maximum);
  EXPECT_EQ(value, 12);
  EXPECT_EQ(minimum, -36);
  EXPECT_EQ(maximum, 12);
}

TEST(DBEditTest, FieldsAreFoundByTheirIds) {
  test::GuiApp();
  QWidget page;
  LDBEdit* accent = LDBEditInit(&page, nullptr, 30);
  LSetDBEdit(&page, 30, LdBLevel(-6));
  EXPECT_EQ(accent->GetLevel().Get(), -6);
  EXPECT_EQ(LGetDBEdit(&page, 30).Get(), -6);
  LSetDBEdit(&page, 31, LdBLevel(-6));  // no such field: nothing happens
  EXPECT_EQ(LGetDBEdit(&page, 31).Get(), 0);
}

TEST(DBEditTest, RendersTheBarAndItsLabel) {
  test::GuiApp();
  LDBEdit field(nullptr, 1);
  field.resize(231, 25);
  const QColor highlight = field.palette().color(QPalette::Highlight);
  QImage image = test::Grab(field);
  EXPECT_EQ(image.pixelColor(100, 20), QColor(153, 204, 102));  // below 0 dB: light green
  EXPECT_EQ(image.pixelColor(167, 3), highlight);
  EXPECT_EQ(image.pixelColor(200, 12), QColor(167, 174, 166));
  // The label in black over a bar that is never black: '-6dB' and '-8dB'
  // give different ink, which the empty boxes drawn without a font would not.
  auto ink = [&](int db) {
    field.SetLevel(LdBLevel(db));
    const QImage shot = test::Grab(field);
    QImage mask(shot.size(), QImage::Format_Mono);
    mask.fill(0);
    int dark = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (qGray(shot.pixel(x, y)) < 60) {
          mask.setPixel(x, y, 1);
          ++dark;
        }
    EXPECT_GT(dark, 20) << db;
    return mask;
  };
  EXPECT_NE(ink(-6), ink(-8));
}

}  // namespace
