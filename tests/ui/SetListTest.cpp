#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "model/PracticeModel.h"
#include "model/PracticeSettings.h"
#include "store/Presets.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/PracticePanel.h"
#include "ui/PresetDialog.h"
#include "ui/SetListDialog.h"
#include "ui/SetListNavigator.h"
#include "ui/TempoField.h"

namespace {

using test::Pump;

class SetListTest : public test::WindowTest {
 protected:
  // A preset as an older version wrote it (no practice fields), or with a
  // count-in of countIn bars.
  std::string AddPreset(const char* name, int tempo, int countIn = 0) {
    LProfile profile;
    LUserPresetList list(profile);
    LUserPreset rec;
    list.CreateNewRecord(rec);
    WritePreset(rec, name, {tempo, 3, 0});
    if (countIn) rec.SetInt(practice_field::kCountIn, countIn);
    EXPECT_TRUE(rec.Flush());
    return rec.Key();
  }
  std::string AddSetList(const LSetList& value) {
    LProfile profile;
    LSetListList list(profile);
    LSetListRecord rec;
    list.CreateNewRecord(rec);
    WriteSetList(rec, value);
    EXPECT_TRUE(rec.Flush());
    return rec.Key();
  }
  void Key(Qt::Key key, const char* text) {
    QTest::sendKeyEvent(QTest::Click, window->windowHandle(), key, QString::fromLatin1(text), Qt::NoModifier);
    Pump();
  }
  std::string Title() const { return window->windowTitle().toStdString(); }
};

TEST(SetList, StepsPassOverPresetsThatAreGoneAndStopAtTheEnds) {
  const LSetList list{"Gig", {"1", "gone", "2", "3"}};
  const auto usable = [](const std::string& key) { return key != "gone"; };
  const struct {
    int from, direction, to;
  } cases[] = {{-1, 1, 0}, {0, 1, 2}, {2, -1, 0}, {2, 1, 3}, {3, 1, -1}, {0, -1, -1}, {1, 0, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(LSetListStep(list, c.from, c.direction, usable), c.to) << c.from << " " << c.direction;
}

TEST(SetList, KeysStepOnlyWhereTheFocusedControlDoesNotUseThem) {
  test::GuiApp();
  QLineEdit text;
  QPushButton button;
  const struct {
    Qt::Key key;
    QWidget* focus;
    Qt::KeyboardModifiers mods;
    int step;
  } cases[] = {
      {Qt::Key_Right, nullptr, Qt::NoModifier, 1},        {Qt::Key_Left, &button, Qt::NoModifier, -1},
      {Qt::Key_BracketRight, &button, Qt::NoModifier, 1}, {Qt::Key_BracketLeft, nullptr, Qt::NoModifier, -1},
      {Qt::Key_Right, &text, Qt::NoModifier, 0},          {Qt::Key_BracketRight, &text, Qt::NoModifier, 0},
      {Qt::Key_Right, &button, Qt::ControlModifier, 0},   {Qt::Key_Up, &button, Qt::NoModifier, 0},
  };
  for (const auto& c : cases) {
    QKeyEvent e(QEvent::KeyPress, c.key, c.mods);
    EXPECT_EQ(LSetListNavigator::KeyAction(e, c.focus), c.step) << c.key;
  }
}

// Presets load with their practice tools (off for an old preset), the title
// names the preset and its place, and the place is kept for the next start.
TEST_F(SetListTest, NavigatesLoadsPresetsAndRemembersItsPlace) {
  const std::string a = AddPreset("Warm-up", 80, 2), b = AddPreset("Old", 90), c = AddPreset("Fast", 160, 1);
  const std::string gone = AddPreset("Deleted", 100);
  LProfile profile;
  LUserPresetList(profile).Delete(gone);
  const std::string set = AddSetList({"Gig", {a, gone, b, c}});
  Open();
  LPracticePanel::Install(*window);
  LSetListNavigator* nav = LSetListNavigator::Install(*window);
  EXPECT_FALSE(nav->NextButton()->isVisibleTo(window.get()));
  window->GetControl(MainDialog::kIdPlayStop)->setFocus();

  ASSERT_TRUE(nav->Activate(set));
  const struct {
    Qt::Key key;  // 0: the state after Activate
    const char* text;
    int tempo, countIn;
    const char* title;
  } steps[] = {
      {Qt::Key(0), "", 80, 2, "Morvane \u2014 Warm-up 1/4"},
      {Qt::Key_Right, "", 90, 0, "Morvane \u2014 Old 3/4"},
      {Qt::Key_BracketRight, "]", 160, 1, "Morvane \u2014 Fast 4/4"},
      {Qt::Key_Right, "", 160, 1, "Morvane \u2014 Fast 4/4"},  // the end: nothing happens
      {Qt::Key_BracketLeft, "[", 90, 0, "Morvane \u2014 Old 3/4"},
  };
  for (const auto& s : steps) {
    if (s.key) Key(s.key, s.text);
    EXPECT_EQ(window->TempoField()->TypedValue(), s.tempo) << s.title;
    EXPECT_EQ(model->Practice().Plan().countInBars, s.countIn) << s.title;
    EXPECT_EQ(Title(), s.title);
  }
  EXPECT_TRUE(nav->NextButton()->isVisibleTo(window.get()));

  Close();
  Open();
  nav = LSetListNavigator::Install(*window);
  EXPECT_EQ(Title(), "Morvane \u2014 Old 3/4");
  EXPECT_TRUE(nav->Step(1));
  EXPECT_EQ(Title(), "Morvane \u2014 Fast 4/4");
  nav->Close();
  EXPECT_EQ(Title(), "Morvane");
  EXPECT_FALSE(nav->Step(-1));
}

// The editor keeps the order the user gives; a new preset stores the
// practice tools in force, a changed one keeps its own.
TEST_F(SetListTest, EditorOrderAndPresetsCarryTheTrainers) {
  const std::string a = AddPreset("A", 80), b = AddPreset("B", 90), c = AddPreset("C", 100, 3);
  Open();
  LPracticePanel::Install(*window);
  LProfile profile;
  LSetListDialog editor(profile, std::string());
  for (const std::string& key : {a, b, c}) editor.AddPreset(key);
  editor.MoveCurrent(-1);  // C above B
  editor.Presets()->setCurrentRow(0);
  editor.MoveCurrent(-1);  // already first
  editor.NameField()->setText(QStringLiteral("  Gig  "));
  ASSERT_TRUE(editor.CmOk());
  LSetListList lists(profile);
  LSetListRecord rec;
  ASSERT_TRUE(lists.Open(rec, editor.Key()));
  EXPECT_EQ(ReadSetList(rec), (LSetList{"Gig", {a, c, b}}));

  LPracticePlan plan;
  plan.countInBars = 2;
  plan.gap = {3, 1};
  ASSERT_TRUE(model->Practice().SetPlan(plan));
  LPresetDialog added(profile, nullptr, 120, 3, 0);
  added.NameField()->setText(QStringLiteral("New"));
  ASSERT_TRUE(added.CmOk());
  LPresetDialog changed(profile, "C", 100, 3, 0);
  ASSERT_TRUE(changed.CmOk());
  LUserPresetList presets(profile);
  LUserPreset p;
  ASSERT_TRUE(OpenPreset(presets, p, "New"));
  EXPECT_EQ(ReadPracticePreset(p), plan);
  ASSERT_TRUE(OpenPreset(presets, p, "C"));
  EXPECT_EQ(ReadPracticePreset(p).countInBars, 3);
  EXPECT_FALSE(ReadPracticePreset(p).gap.On());
  p.Discard();
}

}  // namespace
