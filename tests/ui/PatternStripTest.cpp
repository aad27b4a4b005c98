#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "store/Presets.h"
#include "store/Profile.h"
#include "store/Settings.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CustomMeasureDialog.h"
#include "ui/PatternStrip.h"
#include "ui/PresetDialog.h"
#include "ui/PresetListWindow.h"
#include "ui/RhythmControls.h"

namespace {

LMeasure Measure(const char* name) {
  LMeasure m;
  std::string error;
  EXPECT_TRUE(LMeasure::Parse(name, m, error)) << error;
  return m;
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

// The window's bar controls against the pattern each step should leave the
// model playing, written out by hand from the rule (downbeat, then an accent
// opening every group).
class RhythmWindowTest : public test::WindowTest {
 protected:
  void Choose(int item) {
    QComboBox* list = window->MeasureList();
    list->setCurrentIndex(item);
    emit list->activated(item);  // as the user's choice does
    test::Pump();
  }
  // "Custom…" with the dialog filled in and accepted (or cancelled).
  void Custom(int beats, const char* grouping, bool ok = true) {
    QTimer::singleShot(0, [=] {
      auto* dialog = dynamic_cast<LCustomMeasureDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->BeatsField()->setValue(beats);
      dialog->GroupingField()->setEditText(QString::fromLatin1(grouping));
      if (ok)
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      else
        dialog->reject();
    });
    Choose(window->MeasureList()->count() - 1);
  }
};

TEST_F(RhythmWindowTest, StripAndCustomMeasuresChangeWhatThePlayerPlays) {
  Open();
  LPatternStrip* strip = window->Rhythm()->Strip();
  auto click = [&](int beat) { QTest::mouseClick(strip, Qt::LeftButton, {}, strip->CellRect(beat).center()); };
  auto key = [&](Qt::Key k) { QTest::keyClick(strip, k); };
  const struct {
    std::function<void()> act;
    const char* plays;
    const char* shown;  // the measure list's text
  } steps[] = {
      {[&] { Choose(3); }, "Dbbb", "4"},
      {[&] { click(2); }, "Db.b", "4"},
      {[&] { click(2); }, "DbDb", "4"},
      {[&] { Custom(9, "2+2+2+3"); }, "DbAbAbAbb", "9(2+2+2+3)"},
      {[&] { click(8), click(8), click(8); }, "DbAbAbAbA", "9(2+2+2+3)"},
      {[&] { key(Qt::Key_End), key(Qt::Key_Left), key(Qt::Key_Return); }, "DbAbAbA.A", "9(2+2+2+3)"},
      {[&] { Choose(window->MeasureList()->count() - 2); }, "DbAbAbAbb", "9(2+2+2+3)"},  // chosen again: accents back
      {[&] { Custom(15, ""); }, "Dbbbbbbbbbbbbbb", "15"},
      {[&] { Custom(7, "2+2+0", false); }, "Dbbbbbbbbbbbbbb", "15"},  // cancelled: unchanged
      {[&] { Custom(7, "3+4"); }, "DbbAbbb", "7(3+4)"},               // one of today's measures, listed as such
      {[&] { Choose(5); }, "DbbAb", "5(3+2)"},
  };
  for (const auto& s : steps) {
    s.act();
    EXPECT_EQ(model->GetRhythm().pattern.ToString(), s.plays) << s.shown;
    EXPECT_EQ(strip->GetPattern().ToString(), s.plays) << s.shown;
    EXPECT_EQ(window->MeasureList()->currentText().toStdString(), s.shown);
  }
  // Only today's twelve, "Custom…" and, while one is chosen, the custom measure.
  EXPECT_EQ(window->MeasureList()->count(), LMeasure::kLegacyCount + 1);

  // Kept for the next start, older readers' index beside the new fields.
  Custom(12, "3+3+3+3");
  window->Rhythm()->Swing()->setValue(66);
  const LRhythm played = model->GetRhythm();
  Close();
  Open();
  EXPECT_EQ(model->GetRhythm(), played);
  EXPECT_EQ(played.swing, 66);
  EXPECT_EQ(window->MeasureList()->currentText().toStdString(), "12(3+3+3+3)");
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Measure", -1), 0);  // no twelve-beat entry among today's
}

// A new preset keeps the window's bar and swing; loading it, or a preset
// older versions wrote (measure index only), plays what it names.
TEST_F(RhythmWindowTest, PresetsKeepTheBar) {
  Open();
  Custom(12, "3+3+3+3");
  model->CycleBeat(0);
  window->Rhythm()->Swing()->setValue(60);
  const LRhythm saved = model->GetRhythm();
  window->dialogs = window->realDialogs = true;
  QTimer::singleShot(0, [] {
    auto* dialog = dynamic_cast<LPresetDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->MeasureList()->currentText().toStdString(), "12(3+3+3+3)*");
    dialog->NameField()->setText(QStringLiteral("Twelve"));
    dialog->CmOk();
  });
  window->DispatchCommand(MainDialog::kCmdPresetSave);
  LProfile profile;
  LUserPresetList list(profile);
  LUserPreset twelve, old;
  ASSERT_TRUE(OpenPreset(list, twelve, "Twelve"));
  EXPECT_EQ(LPresetListWindow::MeasureText(twelve, 0).toStdString(), "12(3+3+3+3)*");
  list.CreateNewRecord(old);
  WritePreset(old, "Old", {100, 6, 0});
  ASSERT_TRUE(old.Flush());

  const std::pair<std::string, const char*> loads[] = {{old.Key(), "DbAbb"}, {twelve.Key(), "AbbAbbAbbAbb"}};
  for (const auto& [key, plays] : loads) {
    ASSERT_TRUE(window->LoadPreset(key));
    EXPECT_EQ(model->GetRhythm().pattern.ToString(), plays);
  }
  EXPECT_EQ(model->GetRhythm(), saved);
  EXPECT_EQ(window->MeasureList()->currentText().toStdString(), "12(3+3+3+3)");
}
