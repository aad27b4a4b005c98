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

TEST(VolumeSliderTest, FollowsItsPaneAndSendsOneCommandPerMove) {
  test::GuiApp();
  QWidget pane;
  pane.resize(200, 40);
  pane.show();  // a hidden widget hears of resizes only once shown
  Commands target;
  LVolumeSlider slider;
  slider.Init(target, &pane, 103);
  pane.resize(300, 40);
  test::Pump();
  // The bar takes what the speakers leave, one at either end.
  EXPECT_EQ(slider.QuietIcon()->x(), 0);
  EXPECT_EQ(slider.LoudIcon()->geometry().right(), 299);
  EXPECT_GT(slider.TrackBar()->width(), 300 - 2 * 14 - 2 * 8);

  slider.TrackBar()->setValue(-20);
  slider.TrackBar()->setValue(-21);
  EXPECT_EQ(target.ids, (std::vector<int>{103, 103}));
  EXPECT_EQ(slider.GetLevel().Get(), -21);
  EXPECT_EQ(slider.TrackBar()->toolTip().toStdString(), "53%");
  EXPECT_EQ(slider.TrackBar()->accessibleDescription().toStdString(), "53%, -21 dB");
  slider.SetLevel(LdBLevel(-45));  // the model's echo: no command
  EXPECT_EQ(slider.TrackBar()->value(), -45);
  EXPECT_EQ(slider.TrackBar()->toolTip().toStdString(), "0%");
  EXPECT_EQ(target.ids.size(), 2u);
}

TEST(DBEditTest, PaintClickAndWheelMapping) {
  // +6 dB: red from 0 dB on, the marker at 192; the floor: background and marker only.
  const std::vector<LDBEdit::Fill> boost = LDBEdit::ComputePaint(231, 25, 6, -36, 12, Qt::blue);
  ASSERT_EQ(boost.size(), 7u);
  EXPECT_EQ(boost[3].rect, QRect(165, 2, 29, 21));
  EXPECT_EQ(boost[5].rect, QRect(192, 2, 8, 21));
  EXPECT_EQ(LDBEdit::ComputePaint(231, 25, -36, -36, 12, Qt::blue).size(), 3u);
  // The marker's centre is the highlight with blue raised, wrapping in 16 bits.
  EXPECT_EQ(LDBEdit::MarkerCentre(QColor::fromRgba64(0, 0, 60000)).rgba64().blue(), (60000 + 8000) & 0xFFFF);

  const std::pair<int, int> clicks[] = {{2, -36}, {227, 12}, {115, -12}, {-50, -36}, {5000, 12}};
  for (const auto& [x, db] : clicks) EXPECT_EQ(LDBEdit::ValueAt(x, 231, -36, 12), db) << x;
  const struct {
    int notches, lo, hi, step;
  } wheels[] = {{1, -36, 12, 1}, {5, -36, 12, 2}, {-5, -36, 12, -2}, {5, -1, 0, 1}};
  for (const auto& w : wheels) EXPECT_EQ(LDBEdit::WheelStep(w.notches, w.lo, w.hi), w.step) << w.notches;
}

void Wheel(QWidget& w, int angle) {
  QWheelEvent e(QPointF(10, 10), w.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, angle), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&w, &e);
}

TEST(DBEditTest, ClicksSendCommandsWheelsDoNot) {
  test::GuiApp();
  Commands target;
  LDBEdit field(&target, 42);
  field.resize(231, 25);
  QTest::mouseClick(&field, Qt::LeftButton, Qt::NoModifier, QPoint(115, 10));
  EXPECT_EQ(field.GetLevel().Get(), -12);
  EXPECT_EQ(target.ids, std::vector<int>{42});
  for (const auto& [angle, db] : std::vector<std::pair<int, int>>{{120, -11}, {600, -9}, {60, -9}, {60, -8}}) {
    Wheel(field, angle);  // half a notch waits for the other half
    EXPECT_EQ(field.GetLevel().Get(), db) << angle;
  }
  field.SetLevel(LdBLevel(12));
  Wheel(field, 120);
  EXPECT_EQ(field.GetLevel().Get(), 12);
  EXPECT_EQ(target.ids.size(), 1u);

  field.setEnabled(false);
  QTest::mousePress(&field, Qt::LeftButton, Qt::NoModifier, QPoint(2, 10));
  field.SetLevel(LdBLevel(100));  // clamped to the range
  EXPECT_EQ(field.GetLevel().Get(), 12);

  QWidget page;  // fields are found by their ids
  LDBEdit* accent = LDBEditInit(&page, nullptr, 30);
  LSetDBEdit(&page, 30, LdBLevel(-6));
  EXPECT_EQ(accent->GetLevel().Get(), -6);
  LSetDBEdit(&page, 31, LdBLevel(-6));  // no such field: nothing happens
  EXPECT_EQ(LGetDBEdit(&page, 31).Get(), 0);
}

TEST(DBEditTest, RendersTheBarAndARealLabel) {
  test::GuiApp();
  LDBEdit field(nullptr, 1);
  field.resize(231, 25);
  QImage image = test::Grab(field);
  EXPECT_EQ(image.pixelColor(100, 20), QColor(153, 204, 102));  // below 0 dB: light green
  EXPECT_EQ(image.pixelColor(167, 3), field.palette().color(QPalette::Highlight));
  // The label in black over a bar that is never black: '-6dB' and '-8dB'
  // give different ink, which the empty boxes drawn without a font would not.
  auto ink = [&](int db) {
    field.SetLevel(LdBLevel(db));
    const QImage shot = test::Grab(field);
    std::vector<bool> mask;
    int dark = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) {
        mask.push_back(qGray(shot.pixel(x, y)) < 60);
        dark += mask.back();
      }
    EXPECT_GT(dark, 20) << db;
    return mask;
  };
  EXPECT_NE(ink(-6), ink(-8));
}

}  // namespace
