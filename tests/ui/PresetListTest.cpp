#include "ui/PresetListWindow.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTreeWidget>

#include "tests/ui/DialogTestSupport.h"
#include "ui/PresetDialog.h"

namespace {

using test::DialogTest;
using W = LPresetListWindowBase;

std::vector<std::string> Column(QTreeWidget* list, int column) {
  std::vector<std::string> out;
  for (int i = 0; i < list->topLevelItemCount(); ++i) out.push_back(list->topLevelItem(i)->text(column).toStdString());
  return out;
}

int CurrentRow(QTreeWidget* list) { return list->indexOfTopLevelItem(list->currentItem()); }

void Send(QWidget* to, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent e(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(to, &e);
}

TEST_F(DialogTest, PresetListSortsByNameThenTempoAsNumbers) {
  AddPreset("beta", 100, 3, 1);
  AddPreset("Alpha", 40, 0, 0);
  AddPreset("gamma", 280, 99, -1);  // indices outside the tables
  LPresetListWindow window(*profile);
  window.Init();
  QTreeWidget* list = window.List();
  EXPECT_EQ(Column(list, LPresetListWindow::kColName), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  EXPECT_EQ(Column(list, LPresetListWindow::kColMeasure), (std::vector<std::string>{"None", "4", "99"}));
  EXPECT_EQ(Column(list, LPresetListWindow::kColSubdiv), (std::vector<std::string>{"None", "2", "-1"}));
  EXPECT_EQ(CurrentRow(list), 0);  // so Return picks it
  EXPECT_TRUE(window.MenuAction(W::kCmdSelect)->isEnabled());
  // As text "100" < "280" < "40"; as numbers the other way round. A refill keeps the order.
  list->sortByColumn(LPresetListWindow::kColTempo, Qt::DescendingOrder);
  window.FillList();
  EXPECT_EQ(Column(list, LPresetListWindow::kColTempo), (std::vector<std::string>{"280", "100", "40"}));

  LLocaleNumberProfile german;
  german.decimalSymbol = ",";
  german.thousandsSymbol = ".";
  EXPECT_EQ(LListViewSorterMoneyAndTime::ParseNumber("1.280,5", german), 1280.5);
  EXPECT_EQ(LListViewSorterMoneyAndTime::ParseNumber("1,280.5", LLocaleNumberProfile()), 1280.5);
  EXPECT_EQ(LListViewSorterMoneyAndTime::ParseNumber("abc", LLocaleNumberProfile()), 0);
}

TEST_F(DialogTest, DeletingThreeRowsDeletesThreeFilesAndKeepsTheCurrentPosition) {
  for (const char* name : {"a", "b", "c", "d", "e"}) AddPreset(name, 100, 0, 0);
  LPresetListWindow window(*profile);
  window.Init();
  window.SelectRows({1, 2, 3});
  answer = false;
  window.Command(W::kCmdDelete, 0);
  ASSERT_EQ(prompts.size(), 1u);
  EXPECT_EQ(prompts[0].yes.toStdString(), "Delete");
  EXPECT_EQ(Presets().size(), 5u);
  answer = true;
  window.Command(W::kCmdDelete, 0);
  EXPECT_EQ(Column(window.List(), 0), (std::vector<std::string>{"a", "e"}));
  EXPECT_EQ(CurrentRow(window.List()), 1);  // the row now in the old place
  // No row left at the old place: none is current, and Delete does nothing.
  window.SelectRows({1});
  window.Command(W::kCmdDelete, 0);
  window.SelectRows({0});
  window.List()->setCurrentItem(nullptr);
  prompts.clear();
  window.Command(W::kCmdDelete, 0);
  EXPECT_TRUE(prompts.empty());
  EXPECT_EQ(Presets().size(), 1u);
}

// Select and Edit need exactly one row; Delete needs a current one.
TEST_F(DialogTest, SelectAndEditNeedExactlyOneRowDeleteACurrentOne) {
  for (const char* name : {"a", "b", "c"}) AddPreset(name, 100, 0, 0);
  LPresetListWindow window(*profile);
  window.Init();
  for (const auto& [rows, one] : {std::pair<std::vector<int>, bool>{{0}, true}, {{0, 2}, false}}) {
    window.SelectRows(rows);
    for (int cmd : {W::kCmdSelect, W::kCmdProperties}) EXPECT_EQ(window.MenuAction(cmd)->isEnabled(), one);
    EXPECT_TRUE(window.MenuAction(W::kCmdDelete)->isEnabled());
  }
  window.List()->setCurrentItem(nullptr);
  window.List()->clearSelection();
  window.Command(W::kCmdSelectionChanged, 0);
  EXPECT_FALSE(window.MenuAction(W::kCmdDelete)->isEnabled());
  EXPECT_EQ(window.CreateRightClickMenu(), nullptr);
}

TEST_F(DialogTest, KeysOfTheListWindowBecomeItsCommandsAndEditRefills) {
  AddPreset("Shared", 60, 0, 0);
  AddPreset("Shared", 70, 0, 0);
  AddPreset("Spare", 90, 0, 0);
  LPresetListWindow window(*profile);
  window.Init();
  window.List()->sortByColumn(LPresetListWindow::kColTempo, Qt::AscendingOrder);
  window.SelectRows({2});
  Send(window.List(), Qt::Key_Delete);
  EXPECT_EQ(Presets().size(), 2u);
  window.SelectRows({1});  // the 70 bpm one
  test::WhenModal<LPresetDialog>([](LPresetDialog* d) {
    EXPECT_EQ(d->TempoField()->text().toStdString(), "70");
    d->TempoField()->setText("72");
    d->CmOk();
  });
  Send(window.List(), Qt::Key_Return, Qt::AltModifier);
  EXPECT_EQ(Column(window.List(), LPresetListWindow::kColTempo), (std::vector<std::string>{"60", "72"}));
  EXPECT_TRUE(window.ChosenKey().empty());
  Send(window.List(), Qt::Key_Return);
  EXPECT_FALSE(window.ChosenKey().empty());
}

// Saving through the window is the rhythm window's preset test.
TEST_F(DialogTest, TheMainWindowLoadsAChosenPresetOnly) {
  AddPreset("Mine", 133, 2, 3);
  AddPreset("Slow four", 60, 3, 1);
  test::ScriptedDevices devices{{{0, "Capture", 2}}, 0};
  LMVModel model(std::make_unique<LCaptureOutputUnit>(home.Dir().File("capture.wav"), true));
  test::TestDialog window(&model);
  window.dialogs = window.realDialogs = true;
  window.Start();
  test::Pump();
  for (bool chosen : {true, false}) {  // Escape: nothing chosen, nothing applied
    window.ApplyPreset(100, 0, 0);
    test::WhenModal<LPresetListWindow>([chosen](LPresetListWindow* list) {
      list->SelectRows({1});  // "Slow four"
      if (chosen)
        list->Command(W::kCmdSelect, 0);
      else
        list->reject();
    });
    window.Command(MainDialog::kCmdPresetLoad, 0);
    EXPECT_EQ(static_cast<QSpinBox*>(window.GetControl(MainDialog::kIdTempo))->value(), chosen ? 60 : 100);
    EXPECT_EQ(model.GetMeasure(), chosen ? 3 : 0);
    EXPECT_EQ(model.GetSubDiv(), chosen ? 1 : 0);
  }
  window.ForceClose();
}

}  // namespace
