#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTest>

#include "tests/ui/UiTestSupport.h"
#include "ui/CustomMeasureDialog.h"
#include "ui/PatternStrip.h"

namespace {

LMeasure Measure(const char* name) {
  LMeasure m;
  std::string error;
  EXPECT_TRUE(LMeasure::Parse(name, m, error)) << error;
  return m;
}

// Clicking every cell of a strip, left to right, reaches the beat under the
// pointer; the gaps are wider exactly where the measure's groups begin.
TEST(PatternStrip, CellsFollowTheGroupsAndTakeClicks) {
  test::GuiApp();
  const struct {
    const char* measure;
    int width;
    std::vector<int> groupStarts;
  } cases[] = {{"9(2+2+2+3)", 500, {2, 4, 6}}, {"15", 300, {}}, {"16(4+4+4+4)", 260, {4, 8, 12}}, {"None", 200, {}}};
  for (const auto& c : cases) {
    const LMeasure m = Measure(c.measure);
    LPatternStrip strip;
    strip.resize(c.width, 38);
    strip.SetPattern(m.Pattern(), m);
    std::vector<int> clicked;
    strip.OnCellClicked([&](int beat) { clicked.push_back(beat); });
    std::vector<int> expected, starts;
    for (int b = 0; b < m.Pattern().GetBeats(); ++b) {
      const QRect r = strip.CellRect(b);
      ASSERT_TRUE(r.isValid()) << c.measure << " beat " << b;
      EXPECT_GE(r.left(), 0);
      EXPECT_LE(r.right(), c.width);
      QTest::mouseClick(&strip, Qt::LeftButton, {}, r.center());
      expected.push_back(b);
      if (b > 0 && r.left() - strip.CellRect(b - 1).right() > 8) starts.push_back(b);
    }
    EXPECT_EQ(clicked, expected) << c.measure;
    EXPECT_EQ(starts, c.groupStarts) << c.measure;
    EXPECT_EQ(strip.CellAt(QPoint(-5, 10)), -1);
  }
}

TEST(PatternStrip, SoundingBeatStaysInTheBar) {
  test::GuiApp();
  LPatternStrip strip;
  const LMeasure m = Measure("7(2+2+3)");
  strip.SetPattern(m.Pattern(), m);
  for (const auto& [beat, shown] : std::vector<std::pair<int, int>>{{3, 3}, {7, -1}, {-2, -1}, {6, 6}}) {
    strip.SetSounding(beat);
    EXPECT_EQ(strip.GetSounding(), shown) << beat;
  }
  // A shorter bar drops a sounding beat it no longer has.
  const LMeasure three = Measure("3");
  strip.SetPattern(three.Pattern(), three);
  EXPECT_EQ(strip.GetSounding(), -1);
}

TEST(CustomMeasure, OkOnlyWhileTheGroupingFits) {
  test::GuiApp();
  LCustomMeasureDialog dialog(Measure("4"));
  const struct {
    int beats;
    const char* grouping;
    const char* says;  // null: acceptable
  } cases[] = {{9, "2+2+2", "adds up to 6, not 9 beats"}, {9, "2+2+2+3", nullptr}, {15, "", nullptr}};
  for (const auto& c : cases) {
    dialog.BeatsField()->setValue(c.beats);
    dialog.GroupingField()->setEditText(QString::fromLatin1(c.grouping));
    EXPECT_EQ(dialog.CanAccept(), c.says == nullptr) << c.beats << " " << c.grouping;
    if (c.says) {
      EXPECT_TRUE(dialog.Problem()->text().contains(QLatin1String(c.says))) << dialog.Problem()->text().toStdString();
    }
  }
  // The common groupings of the beat count are offered.
  dialog.BeatsField()->setValue(9);
  EXPECT_EQ(dialog.GroupingField()->itemText(0), QStringLiteral("2+2+2+3"));
  dialog.GroupingField()->setEditText(QStringLiteral("3+3+3"));
  LMeasure m;
  QString why;
  ASSERT_TRUE(dialog.Current(m, why));
  EXPECT_EQ(m.Name(), "9(3+3+3)");
}

}  // namespace
