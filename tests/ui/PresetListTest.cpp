#include "ui/PresetListWindow.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QComboBox>
#include <QTreeWidget>

#include "tests/ui/DialogTestSupport.h"
#include "ui/PresetDialog.h"
#include "ui/SoundSchemeListWindow.h"

namespace {

using test::DialogTest;

// The main window over its own model, with the dialogs switched on.
struct MainWindowOnCapture {
  explicit MainWindowOnCapture(const test::IsolatedHome& home)
      : model(std::make_unique<LCaptureOutputUnit>(home.Dir().File("capture.wav"), true)), window(&model) {
    window.dialogs = true;
    window.Start();
    test::Pump();
  }
  test::ScriptedDevices devices{{{0, "Capture", 2}}, 0};
  LMVModel model;
  test::TestDialog window;
};

std::vector<std::string> Column(QTreeWidget* list, int column) {
  std::vector<std::string> out;
  for (int i = 0; i < list->topLevelItemCount(); ++i) out.push_back(list->topLevelItem(i)->text(column).toStdString());
  return out;
}

int CurrentRow(QTreeWidget* list) {
  return list->currentItem() ? list->indexOfTopLevelItem(list->currentItem()) : -1;
}

TEST_F(DialogTest, PresetListShowsEveryPresetSortedByNameThenTempoAsNumbers) {
  AddPreset("beta", 100, 3, 1);
  AddPreset("Alpha", 40, 0, 0);
  AddPreset("gamma", 280, 99, -1);  // indices outside the tables
  LPresetListWindow window(*profile);
  window.Init();
  QTreeWidget* list = window.List();
  EXPECT_EQ(window.windowTitle().toStdString(), "Preset");
  EXPECT_EQ(Column(list, LPresetListWindow::kColName), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  EXPECT_EQ(Column(list, LPresetListWindow::kColMeasure), (std::vector<std::string>{"None", "4", "99"}));
  EXPECT_EQ(Column(list, LPresetListWindow::kColSubdiv), (std::vector<std::string>{"None", "2", "-1"}));
  EXPECT_TRUE(list->isColumnHidden(LPresetListWindow::kColId));
  EXPECT_FALSE(list->topLevelItem(0)->text(LPresetListWindow::kColId).isEmpty());
  // Opened: the first row is current and selected, so Return picks it.
  EXPECT_EQ(CurrentRow(list), 0);
  EXPECT_TRUE(window.MenuAction(LPresetListWindowBase::kCmdSelect)->isEnabled());

  // As text "100" < "280" < "40"; as numbers the other way round.
  list->sortByColumn(LPresetListWindow::kColTempo, Qt::AscendingOrder);
  EXPECT_EQ(Column(list, LPresetListWindow::kColTempo), (std::vector<std::string>{"40", "100", "280"}));
  list->sortByColumn(LPresetListWindow::kColTempo, Qt::DescendingOrder);
  EXPECT_EQ(Column(list, LPresetListWindow::kColTempo), (std::vector<std::string>{"280", "100", "40"}));
  // A refill keeps the order the user chose.
  window.FillList();
  EXPECT_EQ(Column(list, LPresetListWindow::kColTempo), (std::vector<std::string>{"280", "100", "40"}));
}

TEST(ListViewSorter, NumbersAreReadInTheLocalesFormat) {
  LLocaleNumberProfile german;
  german.decimalSymbol = ",";
  german.thousandsSymbol = ".";
  EXPECT_EQ(LListViewSorterMoneyAndTime::ParseNumber("1.280,5", german), 1280.5);
  EXPECT_EQ(LListViewSorterMoneyAndTime::ParseNumber("1,280.5", LLocaleNumberProfile()), 1280.5);
  EXPECT_EQ(LListViewSorterMoneyAndTime::ParseNumber("-7", LLocaleNumberProfile()), -7);
  EXPECT_EQ(LListViewSorterMoneyAndTime::ParseNumber("abc", LLocaleNumberProfile()), 0);
}

TEST_F(DialogTest, DeletingThreeRowsDeletesThreeFilesAndKeepsTheCurrentPosition) {
  for (const char* name : {"a", "b", "c", "d", "e"}) AddPreset(name, 100, 0, 0);
  LPresetListWindow window(*profile);
  window.Init();
  window.SelectRows({1, 2, 3});
  answer = false;
  window.Command(LPresetListWindowBase::kCmdDelete, 0);
  ASSERT_EQ(prompts.size(), 1u);
  EXPECT_EQ(prompts[0].title.toStdString(), "Delete Presets");
  EXPECT_EQ(prompts[0].yes.toStdString(), "Delete");
  EXPECT_EQ(Presets().size(), 5u);

  answer = true;
  window.Command(LPresetListWindowBase::kCmdDelete, 0);
  EXPECT_EQ(Presets().size(), 2u);
  EXPECT_EQ(Column(window.List(), 0), (std::vector<std::string>{"a", "e"}));
  EXPECT_EQ(CurrentRow(window.List()), 1);  // the row now in the old place

  // No row left at the old place: none is current, and Delete does nothing.
  window.SelectRows({1});
  window.Command(LPresetListWindowBase::kCmdDelete, 0);
  window.SelectRows({0});
  window.List()->setCurrentItem(nullptr);
  prompts.clear();
  window.Command(LPresetListWindowBase::kCmdDelete, 0);
  EXPECT_TRUE(prompts.empty());
  EXPECT_EQ(Presets().size(), 1u);
}

TEST_F(DialogTest, SelectAndEditNeedExactlyOneRowDeleteAtLeastACurrentOne) {
  for (const char* name : {"a", "b", "c"}) AddPreset(name, 100, 0, 0);
  LPresetListWindow window(*profile);
  window.Init();
  struct Case {
    std::vector<int> rows;
    bool one, current;
  };
  for (const Case& c : {Case{{0}, true, true}, Case{{0, 2}, false, true}}) {
    window.SelectRows(c.rows);
    for (int cmd : {LPresetListWindowBase::kCmdSelect, LPresetListWindowBase::kCmdProperties}) {
      EXPECT_EQ(window.MenuAction(cmd)->isEnabled(), c.one);
      EXPECT_EQ(window.ToolBarAction(cmd)->isEnabled(), c.one);
    }
    EXPECT_EQ(window.MenuAction(LPresetListWindowBase::kCmdDelete)->isEnabled(), c.current);
    EXPECT_EQ(window.ToolBarAction(LPresetListWindowBase::kCmdDelete)->isEnabled(), c.current);
    std::unique_ptr<QMenu> menu(window.CreateRightClickMenu());
    ASSERT_TRUE(menu);
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_TRUE(items[0]->text().startsWith("Select"));
    EXPECT_TRUE(items[1]->text().startsWith("Delete this"));
    EXPECT_TRUE(items[2]->text().startsWith("Edit this"));
    EXPECT_EQ(items[0]->isEnabled(), c.one);
    EXPECT_TRUE(items[1]->isEnabled());
    EXPECT_EQ(items[2]->isEnabled(), c.one);
  }
  window.List()->setCurrentItem(nullptr);
  window.List()->clearSelection();
  window.Command(LPresetListWindowBase::kCmdSelectionChanged, 0);
  EXPECT_FALSE(window.MenuAction(LPresetListWindowBase::kCmdDelete)->isEnabled());
  EXPECT_EQ(window.CreateRightClickMenu(), nullptr);
}

TEST_F(DialogTest, KeysOfTheListWindowBecomeItsCommands) {
  for (const char* name : {"a", "b"}) AddPreset(name, 100, 0, 0);
  LPresetListWindow window(*profile);
  window.Init();
  window.SelectRows({0});
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(window.List(), &del);
  EXPECT_EQ(Presets().size(), 1u);
  window.SelectRows({0});
  bool edited = false;
  test::WhenModal<LPresetDialog>([&edited](LPresetDialog* d) {
    edited = true;
    d->reject();
  });
  QKeyEvent altReturn(QEvent::KeyPress, Qt::Key_Return, Qt::AltModifier);
  QApplication::sendEvent(window.List(), &altReturn);
  EXPECT_TRUE(edited);
  EXPECT_TRUE(window.ChosenKey().empty());
  QKeyEvent ret(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(window.List(), &ret);
  EXPECT_FALSE(window.ChosenKey().empty());
}

TEST_F(DialogTest, EditRunsThePresetDialogOnThePickedRecordAndRefills) {
  AddPreset("Shared", 60, 0, 0);
  AddPreset("Shared", 70, 0, 0);
  LPresetListWindow window(*profile);
  window.Init();
  window.List()->sortByColumn(LPresetListWindow::kColTempo, Qt::AscendingOrder);
  window.SelectRows({1});  // the 70 bpm one
  test::WhenModal<LPresetDialog>([](LPresetDialog* d) {
    EXPECT_EQ(d->TempoField()->text().toStdString(), "70");
    d->TempoField()->setText("72");
    d->CmOk();
  });
  window.Command(LPresetListWindowBase::kCmdProperties, 0);
  EXPECT_EQ(Column(window.List(), LPresetListWindow::kColTempo), (std::vector<std::string>{"60", "72"}));
}

TEST_F(DialogTest, LoadChoosesAPresetAndTheMainWindowAppliesIt) {
  AddPreset("Other", 150, 0, 0);
  AddPreset("Slow four", 60, 3, 1);
  MainWindowOnCapture main(home);
  test::TestDialog& window = main.window;
  LMVModel& model = main.model;
  test::WhenModal<LPresetListWindow>([](LPresetListWindow* list) {
    list->SelectRows({1});
    list->Command(LPresetListWindowBase::kCmdSelect, 0);
  });
  window.Command(MainDialog::kCmdPresetLoad, 0);
  EXPECT_EQ(static_cast<QSpinBox*>(window.GetControl(MainDialog::kIdTempo))->value(), 60);
  EXPECT_EQ(static_cast<QComboBox*>(window.GetControl(MainDialog::kIdMeasure))->currentText().toStdString(), "4");
  EXPECT_EQ(static_cast<QComboBox*>(window.GetControl(MainDialog::kIdSubDiv))->currentText().toStdString(), "2");
  EXPECT_EQ(model.GetMeasure(), 3);

  // Escape: nothing chosen, nothing applied.
  test::WhenModal<LPresetListWindow>([](LPresetListWindow* list) { list->reject(); });
  window.Command(MainDialog::kCmdPresetLoad, 0);
  EXPECT_EQ(static_cast<QSpinBox*>(window.GetControl(MainDialog::kIdTempo))->value(), 60);
  window.ForceClose();
}

TEST_F(DialogTest, SaveOpensThePresetDialogWithTheWindowsValues) {
  MainWindowOnCapture main(home);
  test::TestDialog& window = main.window;
  window.ApplyPreset(133, 2, 3);
  test::WhenModal<LPresetDialog>([](LPresetDialog* d) {
    d->NameField()->setText("Mine");
    d->CmOk();
  });
  window.realDialogs = true;
  window.Command(MainDialog::kCmdPresetSave, 0);
  EXPECT_EQ(Presets(), std::vector<std::string>{"Mine 133 2 3"});
  window.ForceClose();
}

TEST_F(DialogTest, SchemeListShowsNamesAndSelectsByKey) {
  const std::string key = AddScheme("Wood", "a.wav", "b.wav", "c.wav");
  AddScheme("brass", "", "", "");
  LSoundSchemeListWindow window(*profile);
  window.Init();
  EXPECT_EQ(window.windowTitle().toStdString(), "Sound Scheme");
  EXPECT_EQ(Column(window.List(), 0), (std::vector<std::string>{"brass", "Wood"}));
  window.SelectRows({1});
  window.Command(LPresetListWindowBase::kCmdSelectDouble, 0);
  EXPECT_EQ(window.ChosenKey(), key);
}

}  // namespace
