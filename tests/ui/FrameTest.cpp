#include <QDialog>
#include <QTest>
#include <QToolBar>

#include "store/Settings.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/ToolBar.h"

namespace {

using test::Pump;

class FrameTest : public test::WindowTest {};

TEST_F(FrameTest, StartHoldsTimersBackAndRestoresPlacement) {
  Open();
  EXPECT_FALSE(window->timersDuringInit);
  EXPECT_TRUE(LTimerHandler::IsEnabled());
  EXPECT_EQ(window->Client()->size(), QSize(600, 330));  // the first start's size
  const QSize extra = window->size() - window->Client()->size();
  window->resize(700 + extra.width(), 400 + extra.height());
  Pump();
  Close();
  EXPECT_EQ(LUserSettingGet<int>("MainWindow", "Width", 0), 700);
  EXPECT_EQ(LUserSettingGet<int>("MainWindow", "Height", 0), 400);
  EXPECT_FALSE(LUserSettingGet<bool>("MainWindow", "Maximized", true));
  EXPECT_TRUE(LUserSettingGet<bool>("ToolBarState", "Main", false));

  Open();
  EXPECT_EQ(window->Client()->size(), QSize(700, 400));
}

TEST_F(FrameTest, ToolbarKeepsItsArrangementUntilItsItemsChange) {
  Open();
  const std::string offer = window->GetToolBar()->Offer();
  EXPECT_EQ(offer, "1003,1004,1005,2001,9001");
  char stored[kSettingTextSize];
  _LUserSettingGetString("ToolBar", "Main", "", stored);
  EXPECT_EQ(std::string(stored), offer);
  window->addToolBar(Qt::LeftToolBarArea, window->GetToolBar()->Bar());
  window->GetToolBar()->Bar()->hide();
  Close();

  Open();  // the same items: the arrangement and the hidden toolbar stay
  EXPECT_EQ(window->toolBarArea(window->GetToolBar()->Bar()), Qt::LeftToolBarArea);
  EXPECT_TRUE(window->GetToolBar()->Bar()->isHidden());
  Close();

  LUserSettingSetString("ToolBar", "Main", "1003,1004");  // an older program's items
  Open();
  EXPECT_EQ(window->toolBarArea(window->GetToolBar()->Bar()), Qt::TopToolBarArea);
  EXPECT_TRUE(window->GetToolBar()->Bar()->isHidden());  // shown or not is the user's own choice
  _LUserSettingGetString("ToolBar", "Main", "", stored);
  EXPECT_EQ(std::string(stored), offer);
}

TEST_F(FrameTest, QuitWaitsForModalWindowsThenTearsDown) {
  Open();
  ASSERT_TRUE(model->StartPlaying());
  QDialog modal(window.get());
  modal.setModal(true);
  modal.show();
  Pump();
  EXPECT_FALSE(window->CmExit());
  EXPECT_FALSE(window->IsClosed());
  modal.hide();
  Pump();
  window->HoldQuit(true);
  EXPECT_FALSE(window->CmExit());
  window->HoldQuit(false);

  QTest::sendKeyEvent(QTest::Click, window->windowHandle(), Qt::Key_Q, QStringLiteral("q"), Qt::ControlModifier);
  window->PostCommand(MainDialog::kCmdToggle);  // a Space pressed right after
  EXPECT_TRUE(test::PumpUntil([&] { return window->IsClosed(); }));
  test::Pump();
  EXPECT_FALSE(model->IsPlaying());
  EXPECT_FALSE(window->isVisible());
}

// Without a tray nothing could bring back a window that starts hidden.
TEST_F(FrameTest, NotShownAtStartUpStartsMinimised) {
  LUserSettingSet<bool>("Settings", "MainWindowShownAtStartup", false);
  Open();
  EXPECT_TRUE(window->isMinimized());
}

TEST_F(FrameTest, ClosingTheWindowIsQuit) {
  Open();
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(window->IsClosed());
  EXPECT_TRUE(LUserSettingGet<bool>("ToolBarState", "Main", false));
}

}  // namespace
