#include <QComboBox>
#include <QTest>
#include <QToolButton>

#include "model/PracticeModel.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/PracticePanel.h"

namespace {

using test::Pump;
using test::PumpUntil;

class PracticePanelTest : public test::WindowTest {
 protected:
  void Key(int key, const QString& text = QString()) {
    QTest::sendKeyEvent(QTest::Click, window->windowHandle(), static_cast<Qt::Key>(key), text, Qt::NoModifier);
    Pump();
  }
};

}  // namespace

TEST_F(PracticePanelTest, TempoKeysWhereverTheFocusIsUnlessTheControlUsesThem) {
  Open();
  LPracticePanel::Install(*window);
  window->GetControl(MainDialog::kIdPlayStop)->setFocus();
  const struct {
    bool onMeasureList;  // focus on a control that uses the arrows itself
    int key;
    const char* text;
    int tempo;  // from 92
  } cases[] = {
      {false, Qt::Key_Plus, "+", 93}, {false, Qt::Key_Minus, "-", 91},  {false, Qt::Key_Up, "", 93},
      {false, Qt::Key_Down, "", 91},  {false, Qt::Key_PageUp, "", 102}, {false, Qt::Key_PageDown, "", 82},
      {true, Qt::Key_Plus, "+", 93},  {true, Qt::Key_Up, "", 92},       {true, Qt::Key_PageDown, "", 92},
  };
  for (const auto& c : cases) {
    model->SetTempo(92);
    (c.onMeasureList ? window->GetControl(MainDialog::kIdMeasure) : window->GetControl(MainDialog::kIdPlayStop))
        ->setFocus();
    Pump();
    Key(c.key, QString::fromLatin1(c.text));
    EXPECT_EQ(model->GetTempo(), c.tempo) << c.key << (c.onMeasureList ? " on the measure list" : "");
  }
  // Two quick taps of T: far faster than 280 bpm, so the fastest tempo.
  model->SetTempo(92);
  window->GetControl(MainDialog::kIdMeasure)->setFocus();
  Key(Qt::Key_T, QStringLiteral("t"));
  EXPECT_EQ(model->GetTempo(), 92);  // one tap is no tempo yet
  Key(Qt::Key_T, QStringLiteral("t"));
  EXPECT_EQ(model->GetTempo(), 280);
}

TEST_F(PracticePanelTest, ShowsWhatIsOnThenCountsInAndCountsBars) {
  Open();
  LPracticePanel* panel = LPracticePanel::Install(*window);
  EXPECT_EQ(panel->StatusText(), QStringLiteral("Off"));
  LPracticePlan plan;
  plan.countInBars = 1;
  plan.gap = {2, 1};
  model->Practice().SetPlan(plan);
  Pump();
  EXPECT_EQ(panel->StatusText(), QStringLiteral("Count-in 1  \u00b7  Gap 2:1"));
  model->SetTempo(240);
  model->SetMeasure(1);  // "2"
  model->StartPlaying();
  EXPECT_TRUE(PumpUntil([&] { return panel->StatusText().startsWith(QStringLiteral("Count-in 2 of 2")); }));
  EXPECT_TRUE(PumpUntil([&] { return panel->StatusText().startsWith(QStringLiteral("Bar 1  Beat 2")); }));
  EXPECT_TRUE(PumpUntil([&] { return panel->StatusText().startsWith(QStringLiteral("Bar 3  Beat 1 (muted)")); }));
  model->StopPlaying();
}
