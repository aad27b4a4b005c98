#include <QAbstractEventDispatcher>
#include <QDialog>
#include <QTest>
#include <QToolBar>

#include "store/Settings.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/MVLedLightBox.h"
#include "ui/TempoField.h"
#include "ui/ToolBar.h"

namespace {

using test::Pump;

class FrameTest : public test::WindowTest {
 protected:
  QToolBar* Bar() { return window->GetToolBar()->Bar(); }
  // Timers kept by an object and those under it.
  static int Timers(QObject* root) {
    auto* loop = QAbstractEventDispatcher::instance();
    int n = static_cast<int>(loop->registeredTimers(root).size());
    for (QObject* o : root->findChildren<QObject*>()) n += static_cast<int>(loop->registeredTimers(o).size());
    return n;
  }
  std::string StoredOffer() {
    char stored[kSettingTextSize];
    _LUserSettingGetString("ToolBar", "Main", "", stored);
    return stored;
  }
};

TEST_F(FrameTest, StartHoldsTimersBackAndClosingRestoresPlacement) {
  Open();
  EXPECT_FALSE(window->timersDuringInit);
  EXPECT_TRUE(LTimerHandler::IsEnabled());
  EXPECT_EQ(window->Client()->size(), QSize(600, 330));  // the first start's size
  const QSize extra = window->size() - window->Client()->size();
  window->resize(700 + extra.width(), 400 + extra.height());
  Pump();
  EXPECT_TRUE(window->close());  // closing the window is Quit
  EXPECT_TRUE(window->IsClosed());
  EXPECT_EQ(LUserSettingGet<int>("MainWindow", "Width", 0), 700);
  EXPECT_FALSE(LUserSettingGet<bool>("MainWindow", "Maximized", true));
  EXPECT_TRUE(LUserSettingGet<bool>("ToolBarState", "Main", false));
  Close();
  Open();
  EXPECT_EQ(window->Client()->size(), QSize(700, 400));
}

TEST_F(FrameTest, ToolbarKeepsItsArrangementUntilItsItemsChange) {
  Open();
  const std::string offer = window->GetToolBar()->Offer();
  EXPECT_EQ(StoredOffer(), offer);
  window->addToolBar(Qt::LeftToolBarArea, Bar());
  Bar()->hide();
  Close();
  Open();  // the same items: the arrangement and the hidden toolbar stay
  EXPECT_EQ(window->toolBarArea(Bar()), Qt::LeftToolBarArea);
  EXPECT_TRUE(Bar()->isHidden());
  Close();
  LUserSettingSetString("ToolBar", "Main", "1003,1004");  // an older program's items
  Open();
  EXPECT_EQ(window->toolBarArea(Bar()), Qt::TopToolBarArea);
  EXPECT_TRUE(Bar()->isHidden());  // shown or not is the user's own choice
  EXPECT_EQ(StoredOffer(), offer);
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
  Pump();
  EXPECT_FALSE(model->IsPlaying());
  EXPECT_FALSE(window->isVisible());
}

// Without a tray nothing could bring back a window that starts hidden.
TEST_F(FrameTest, NotShownAtStartUpStartsMinimised) {
  LUserSettingSet<bool>("Settings", "MainWindowShownAtStartup", false);
  Open();
  EXPECT_TRUE(window->isMinimized());
}

// Stopped, with the tempo field focused: once the caret rests (after 10 s
// without input) nothing in the window keeps a timer, so the process sleeps;
// a key brings the blinking back.
TEST_F(FrameTest, StoppedWindowRestsItsTimersUntilTheNextKey) {
  Open();
  QApplication::setActiveWindow(window.get());
  QWidget* field = window->TempoField()->focusProxy() ? window->TempoField()->focusProxy() : window->TempoField();
  field->setFocus();
  Pump();
  ASSERT_TRUE(field->hasFocus());
  EXPECT_TRUE(test::PumpUntil([&] { return Timers(window.get()) == 0; }, 20000)) << Timers(window.get());
  QTest::keyClick(field, Qt::Key_End);
  Pump();
  EXPECT_GT(Timers(field), 0);  // the caret blinks again
  // The light asks for a tick each display frame only while it is seen.
  EXPECT_LT(window->Lights()->Pace(), 40);
  window->hide();
  EXPECT_EQ(window->Lights()->Pace(), LMVLedLightBox::kUnseenPaceMs);
  window->show();
  Pump();
  EXPECT_LT(window->Lights()->Pace(), 40);
}

}  // namespace
