#include "ui/PresetDialog.h"

#include <QComboBox>
#include <QLineEdit>

#include "tests/ui/DialogTestSupport.h"

namespace {

using test::DialogTest;

TEST_F(DialogTest, PresetDialogChecksNameThenTempoAndWritesOnlyValidPresets) {
  const struct {
    const char* name;
    const char* tempo;
    const char* message;  // nullptr: accepted
  } cases[] = {
      {"   ", "120", LPresetDialog::kNameMissing},
      {"Slow", "9", LPresetDialog::kTempoInvalid},
      {"Slow", "281", LPresetDialog::kTempoInvalid},
      {"Slow", "abc", LPresetDialog::kTempoInvalid},
      {"Slow", "", LPresetDialog::kTempoInvalid},
      {"Slow", "99999999999999", LPresetDialog::kTempoInvalid},
      {"  Fast  ", "120bpm", nullptr},
      {"Edge", "10", nullptr},
      {"Edge", "280", nullptr},
  };
  size_t expected = 0;
  for (const auto& c : cases) {
    LClearLastFieldMessage();
    LPresetDialog dialog(*profile, nullptr, 100, 3, 1);
    dialog.NameField()->setText(QString::fromUtf8(c.name));
    dialog.TempoField()->setText(QString::fromUtf8(c.tempo));
    EXPECT_EQ(dialog.CmOk(), c.message == nullptr) << c.name << " / " << c.tempo;
    EXPECT_EQ(LLastFieldMessage().toStdString(), c.message ? c.message : "") << c.tempo;
    expected += c.message == nullptr;
    ASSERT_EQ(Presets().size(), expected) << c.tempo;
  }
  const std::vector<std::string> presets = Presets();
  EXPECT_NE(std::find(presets.begin(), presets.end(), "Fast 120 3 1"), presets.end());
}

TEST_F(DialogTest, PresetDialogShowsItsValuesAndKeepsIndicesTheListsLack) {
  LPresetDialog fresh(*profile, "", 87, 4, 2);
  EXPECT_EQ(fresh.TempoField()->text().toStdString(), "87");
  EXPECT_EQ(fresh.MeasureList()->currentIndex(), 4);
  EXPECT_EQ(fresh.SubDivList()->currentIndex(), 2);
  // A hand-edited record's indices: no selection, and OK keeps them.
  AddPreset("Odd", 100, 77, 0);
  LPresetDialog odd(*profile, "Odd", 100, 77, -3);
  EXPECT_EQ(odd.MeasureList()->currentIndex(), -1);
  EXPECT_EQ(odd.SubDivList()->currentIndex(), -1);
  ASSERT_TRUE(odd.CmOk());
  EXPECT_EQ(Presets(), std::vector<std::string>{"Odd 100 77 -3"});
}

TEST_F(DialogTest, SharedNamesMakeSecondRecordsAndChangesHitThePickedOne) {
  const std::string first = AddPreset("Shared", 60, 0, 0);
  const std::string second = AddPreset("Shared", 70, 0, 0);
  // Picked from the list: the record of that key, whatever order the folder lists them in.
  for (const std::string& key : {second, first}) {
    LPresetDialog dialog(*profile, "Shared", 70, 0, 0);
    dialog.SetRecordKey(key);
    dialog.TempoField()->setText(key == second ? "75" : "65");
    ASSERT_TRUE(dialog.CmOk());
  }
  LUserPresetList list(*profile);
  LUserPreset a, b;
  ASSERT_TRUE(list.Open(a, first) && list.Open(b, second));
  EXPECT_EQ(ReadPresetValues(a).tempo, 65);
  EXPECT_EQ(ReadPresetValues(b).tempo, 75);

  LPresetDialog fresh(*profile, nullptr, 120, 2, 0);  // a new preset of an existing name
  fresh.NameField()->setText("Shared");
  ASSERT_TRUE(fresh.CmOk());
  LPresetDialog gone(*profile, "Gone", 90, 1, 1);  // its name no longer exists: nothing written
  gone.NameField()->setText("Renamed");
  EXPECT_TRUE(gone.CmOk());
  std::vector<std::string> presets = Presets();
  std::sort(presets.begin(), presets.end());
  EXPECT_EQ(presets, (std::vector<std::string>{"Shared 120 2 0", "Shared 65 0 0", "Shared 75 0 0"}));
}

}  // namespace
