#include "ui/PresetDialog.h"

#include <QComboBox>
#include <QLineEdit>

#include "tests/ui/DialogTestSupport.h"

namespace {

using test::DialogTest;

struct OkCase {
  const char* name;
  const char* tempo;
  const char* message;  // nullptr: accepted
  int stored;
};

TEST_F(DialogTest, PresetDialogChecksNameThenTempoAndWritesOnlyValidPresets) {
  const OkCase cases[] = {
      {"   ", "120", LPresetDialog::kNameMissing, 0},  {"Slow", "9", LPresetDialog::kTempoInvalid, 0},
      {"Slow", "281", LPresetDialog::kTempoInvalid, 0}, {"Slow", "abc", LPresetDialog::kTempoInvalid, 0},
      {"Slow", "", LPresetDialog::kTempoInvalid, 0},    {"Slow", "99999999999999", LPresetDialog::kTempoInvalid, 0},
      {"  Fast  ", "120bpm", nullptr, 120},              {"Edge", "10", nullptr, 10},
      {"Edge", "280", nullptr, 280},
  };
  size_t expected = 0;
  for (const OkCase& c : cases) {
    LClearLastFieldMessage();
    LPresetDialog dialog(*profile, nullptr, 100, 3, 1);
    dialog.NameField()->setText(QString::fromUtf8(c.name));
    dialog.TempoField()->setText(QString::fromUtf8(c.tempo));
    const bool closed = dialog.CmOk();
    EXPECT_EQ(closed, c.message == nullptr) << c.name << " / " << c.tempo;
    EXPECT_EQ(LLastFieldMessage().toStdString(), c.message ? c.message : "") << c.tempo;
    if (closed) ++expected;
    const std::vector<std::string> presets = Presets();
    ASSERT_EQ(presets.size(), expected) << c.tempo;
  }
  const std::vector<std::string> presets = Presets();
  EXPECT_NE(std::find(presets.begin(), presets.end(), "Fast 120 3 1"), presets.end());
}

TEST_F(DialogTest, PresetDialogShowsItsValuesAndTakesTheListsChoices) {
  LPresetDialog fresh(*profile, "", 87, 4, 2);
  EXPECT_EQ(fresh.windowTitle().toStdString(), "New Preset");
  EXPECT_EQ(fresh.TempoField()->text().toStdString(), "87");
  EXPECT_EQ(fresh.MeasureList()->currentIndex(), 4);
  EXPECT_EQ(fresh.SubDivList()->currentIndex(), 2);
  EXPECT_EQ(fresh.MeasureList()->count(), 12);
  EXPECT_EQ(fresh.SubDivList()->count(), 8);

  LPresetDialog change(*profile, "Waltz", 90, 3, 0);
  EXPECT_EQ(change.windowTitle().toStdString(), "Change Preset");
  EXPECT_EQ(change.NameField()->text().toStdString(), "Waltz");

  // An index a hand-edited record holds but the lists do not: no selection,
  // and OK keeps the index rather than inventing one.
  AddPreset("Odd", 100, 77, 0);
  LPresetDialog odd(*profile, "Odd", 100, 77, -3);
  EXPECT_EQ(odd.MeasureList()->currentIndex(), -1);
  EXPECT_EQ(odd.SubDivList()->currentIndex(), -1);
  ASSERT_TRUE(odd.CmOk());
  EXPECT_EQ(Presets(), std::vector<std::string>{"Odd 100 77 -3"});
}

TEST_F(DialogTest, NewPresetWithAnExistingNameIsASecondRecord) {
  AddPreset("Practice", 60, 0, 0);
  LPresetDialog dialog(*profile, nullptr, 120, 2, 0);
  dialog.NameField()->setText("Practice");
  ASSERT_TRUE(dialog.CmOk());
  std::vector<std::string> presets = Presets();
  std::sort(presets.begin(), presets.end());
  EXPECT_EQ(presets, (std::vector<std::string>{"Practice 120 2 0", "Practice 60 0 0"}));
}

TEST_F(DialogTest, ChangingAPresetOfASharedNameChangesTheRecordPicked) {
  const std::string first = AddPreset("Shared", 60, 0, 0);
  const std::string second = AddPreset("Shared", 70, 0, 0);
  // Picked from the list: the record of that key, whatever order the
  // folder lists them in.
  for (const std::string& key : {second, first}) {
    LPresetDialog dialog(*profile, "Shared", 70, 0, 0);
    dialog.SetRecordKey(key);
    dialog.TempoField()->setText(key == second ? "75" : "65");
    ASSERT_TRUE(dialog.CmOk());
  }
  LUserPresetList list(*profile);
  LUserPreset a, b;
  ASSERT_TRUE(list.Open(a, first));
  ASSERT_TRUE(list.Open(b, second));
  EXPECT_EQ(ReadPresetValues(a).tempo, 65);
  EXPECT_EQ(ReadPresetValues(b).tempo, 75);
}

TEST_F(DialogTest, ChangingAPresetWhoseNameIsGoneWritesNothing) {
  AddPreset("Kept", 60, 0, 0);
  LPresetDialog dialog(*profile, "Gone", 90, 1, 1);
  dialog.NameField()->setText("Renamed");
  EXPECT_TRUE(dialog.CmOk());
  EXPECT_EQ(Presets(), std::vector<std::string>{"Kept 60 0 0"});
}

}  // namespace
