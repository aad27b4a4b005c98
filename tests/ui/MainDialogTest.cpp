#include <filesystem>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>

#include "store/Settings.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/Icons.h"
#include "ui/MVDisplay.h"
#include "ui/MVLedLightBox.h"
#include "ui/ToolBar.h"

namespace {

using test::Pump;
using test::PumpUntil;

class MainDialogTest : public test::WindowTest {
 protected:
  // Sizes the window so that its client area is w x h.
  void SetClientSize(int w, int h) {
    const QSize extra = window->size() - window->Client()->size();
    window->resize(w + extra.width(), h + extra.height());
    Pump();
    ASSERT_EQ(window->Client()->size(), QSize(w, h));
  }
  QRect Rect(int id) { return window->GetControl(id)->geometry(); }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString()) {
    QTest::sendKeyEvent(QTest::Press, window->windowHandle(), static_cast<Qt::Key>(key), text, mods);
    QTest::sendKeyEvent(QTest::Release, window->windowHandle(), static_cast<Qt::Key>(key), text, mods);
    Pump();
  }
  int Count(int command) { return static_cast<int>(std::count(window->commands.begin(), window->commands.end(), command)); }
};

TEST_F(MainDialogTest, LaysOutTwoColumnsByPixelsAndFollowsResizes) {
  Open();
  SetClientSize(600, 330);
  // half = 273: the columns meet 18 pixels apart and end 18 from either edge.
  EXPECT_EQ(Rect(MainDialog::kIdDisplay), QRect(18, 9, 255, 63));
  const int y1 = 9 + 63 + 9;
  EXPECT_EQ(Rect(MainDialog::kIdTempoLabel), QRect(18, y1, 173, 22));
  EXPECT_EQ(Rect(MainDialog::kIdTempo).topLeft(), QPoint(201, y1));
  EXPECT_EQ(Rect(MainDialog::kIdTempo).width(), 72);
  const int y2 = y1 + Rect(MainDialog::kIdTempo).height() + 9;
  EXPECT_EQ(Rect(MainDialog::kIdMeasure).topLeft(), QPoint(201, y2));
  const int y3 = y2 + Rect(MainDialog::kIdMeasure).height() + 18;
  EXPECT_EQ(Rect(MainDialog::kIdSubDiv).topLeft(), QPoint(201, y3));
  const int y4 = y3 + Rect(MainDialog::kIdSubDiv).height() + 18;
  EXPECT_EQ(Rect(MainDialog::kIdLights), QRect(18, y4, 255, 330 - y4 - 9));
  EXPECT_EQ(Rect(MainDialog::kIdGuide), QRect(291, 9, 291, 198));
  EXPECT_EQ(Rect(MainDialog::kIdPlayStop), QRect(291, 213, 291, 28));
  EXPECT_EQ(Rect(MainDialog::kIdVolume), QRect(291, 246, 291, 330 - 246 - 9));
  EXPECT_EQ(Rect(MainDialog::kIdGuide).right() + 1, 600 - 18);

  SetClientSize(701, 420);  // an odd width: half truncates to 323
  EXPECT_EQ(Rect(MainDialog::kIdDisplay), QRect(18, 9, 305, 63));
  EXPECT_EQ(Rect(MainDialog::kIdGuide), QRect(341, 9, 341, 198));
  EXPECT_EQ(Rect(MainDialog::kIdLights).bottom() + 1, 420 - 9);
  // The information strip takes its 32 pixels from the bottom.
  window->ShowInfo(QStringLiteral("message"));
  EXPECT_EQ(Rect(MainDialog::kIdLights).bottom() + 1, 420 - 32 - 9);
  EXPECT_EQ(Rect(MainDialog::kIdVolume).bottom() + 1, 420 - 32 - 9);
  window->HideInfo();
  EXPECT_EQ(Rect(MainDialog::kIdLights).bottom() + 1, 420 - 9);
}

TEST_F(MainDialogTest, SpaceTogglesEvenWithTheTempoFieldFocusedAndMenusFollow) {
  Open();
  auto* text = Control<QLineEdit>(MainDialog::kIdTempoText);
  ASSERT_NE(text, nullptr);
  text->setFocus();
  Pump();
  EXPECT_EQ(window->PlayStopImage(), kIconPlay);
  EXPECT_TRUE(window->GetMenuAction(MainDialog::kCmdPlay)->isEnabled());
  EXPECT_FALSE(window->GetMenuAction(MainDialog::kCmdStop)->isEnabled());

  Key(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  EXPECT_TRUE(PumpUntil([&] { return model->IsPlaying(); }));
  EXPECT_EQ(text->text(), QStringLiteral("92"));  // the key never typed
  EXPECT_EQ(window->PlayStopImage(), kIconStop);
  EXPECT_FALSE(window->GetMenuAction(MainDialog::kCmdPlay)->isEnabled());
  EXPECT_TRUE(window->GetMenuAction(MainDialog::kCmdStop)->isEnabled());
  // The light follows the beat while playing.
  LMVLedLightBox* lights = window->Lights();
  EXPECT_TRUE(PumpUntil([&] { return lights->Position() > 0; }));

  Key(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  EXPECT_TRUE(PumpUntil([&] { return !model->IsPlaying(); }));
  EXPECT_EQ(window->PlayStopImage(), kIconPlay);
  EXPECT_TRUE(window->GetMenuAction(MainDialog::kCmdPlay)->isEnabled());
  EXPECT_FALSE(window->GetMenuAction(MainDialog::kCmdStop)->isEnabled());
  EXPECT_EQ(Count(MainDialog::kCmdToggle), 2);

  // Play and Stop from the menu; each only in its own state.
  window->GetMenuAction(MainDialog::kCmdPlay)->trigger();
  EXPECT_TRUE(model->IsPlaying());
  window->GetMenuAction(MainDialog::kCmdStop)->trigger();
  EXPECT_FALSE(model->IsPlaying());
}

TEST_F(MainDialogTest, OtherKeysReachTheTempoFieldAndEveryChangeTheModel) {
  Open();
  auto* text = Control<QLineEdit>(MainDialog::kIdTempoText);
  text->setFocus();
  Key(Qt::Key_Up);
  EXPECT_EQ(model->GetTempo(), 93);
  text->selectAll();
  for (const char* digit : {"1", "2", "0"}) Key(Qt::Key_0 + (digit[0] - '0'), Qt::NoModifier, QString::fromLatin1(digit));
  EXPECT_EQ(text->text(), QStringLiteral("120"));
  EXPECT_EQ(model->GetTempo(), 120);
  EXPECT_EQ(window->Display()->GetTempo(), 120);
  text->selectAll();
  Key(Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));  // below the range: held until it makes sense
  EXPECT_EQ(model->GetTempo(), 120);
}

TEST_F(MainDialogTest, CommandKeysIgnoreCapsLockButNotShift) {
  Open().dialogs = true;
  window->EnableCommand(MainDialog::kCmdPresetSave, true);
  Key(Qt::Key_S, Qt::ControlModifier, QStringLiteral("s"));
  Key(Qt::Key_S, Qt::ControlModifier, QStringLiteral("S"));  // Caps Lock on
  Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, QStringLiteral("S"));
  Key(Qt::Key_Comma, Qt::ControlModifier, QStringLiteral(","));
  EXPECT_EQ(window->opened, (std::vector<std::string>{"preset 92 3 0", "preset 92 3 0", "options 0"}));
  EXPECT_TRUE(window->GetMenuAction(MainDialog::kCmdPresetSave)->isEnabled());
}

TEST_F(MainDialogTest, DialogCommandsStayDisabledUntilTheDialogsExist) {
  Open();
  for (int id : {MainDialog::kCmdPresetSave, MainDialog::kCmdPresetLoad, MainDialog::kCmdSelectSounds}) {
    EXPECT_FALSE(window->GetMenuAction(id)->isEnabled()) << id;
    EXPECT_FALSE(window->GetToolBarAction(id)->isEnabled()) << id;
  }
  Key(Qt::Key_S, Qt::ControlModifier, QStringLiteral("s"));
  EXPECT_EQ(Count(MainDialog::kCmdPresetSave), 1);
  EXPECT_TRUE(window->opened.empty());
}

TEST_F(MainDialogTest, MenusAndTooltipsShowTheirKeys) {
  Open();
  auto text = [&](int id) { return window->GetMenuAction(id)->text().toStdString(); };
  EXPECT_EQ(text(MainDialog::kCmdPlay), "Play\tSpace");
  EXPECT_EQ(text(MainDialog::kCmdStop), "Stop\tSpace");
  EXPECT_EQ(text(MainDialog::kCmdPresetSave), "Save\tCtrl+S");
  EXPECT_EQ(text(MainDialog::kCmdSelectSounds), "Select sounds...");
  auto tip = [&](int id) { return window->GetToolBarAction(id)->toolTip().toStdString(); };
  EXPECT_EQ(tip(MainDialog::kCmdPresetSave), "Save current setting (Ctrl+S)");
  EXPECT_EQ(tip(MainDialog::kCmdPresetLoad), "Load preset setting (Ctrl+L)");
  EXPECT_EQ(tip(LMainWindow::kCmdPreferences), "Adjust settings and options (Ctrl+,)");
  EXPECT_EQ(tip(MainDialog::kCmdSelectSounds), "Select accent, beat and click sound");
  EXPECT_EQ(tip(LMainWindow::kCmdHelp), "Display the manual (F1)");
  EXPECT_EQ(window->StatusText().toStdString(), "92 bpm, Andante");
}

TEST_F(MainDialogTest, GuideRowSetsFieldAndModelAtOnceOrASecondLaterWhilePlaying) {
  Open();
  auto* guide = Control<QTreeWidget>(MainDialog::kIdGuide);
  auto* field = Control<QSpinBox>(MainDialog::kIdTempo);
  ASSERT_EQ(guide->topLevelItemCount(), 8);
  EXPECT_TRUE(guide->isColumnHidden(2));
  EXPECT_EQ(guide->columnWidth(0), 90);
  EXPECT_GE(guide->columnWidth(1), 78);  // the last column takes what is left
  guide->setCurrentItem(guide->topLevelItem(5));  // Allegro
  EXPECT_EQ(field->value(), 144);
  EXPECT_EQ(model->GetTempo(), 144);
  EXPECT_EQ(window->Display()->GetTempo(), 144);
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Tempo", 0), 144);

  ASSERT_TRUE(model->StartPlaying());
  guide->setCurrentItem(guide->topLevelItem(3));  // Andante
  EXPECT_EQ(field->value(), 92);
  EXPECT_EQ(model->GetTempo(), 144);
  EXPECT_TRUE(PumpUntil([&] { return model->GetTempo() == 92; }));
  EXPECT_TRUE(model->IsPlaying());
}

TEST_F(MainDialogTest, ListsSendOneCommandAndFollowTheModel) {
  Open();
  auto* measure = Control<QComboBox>(MainDialog::kIdMeasure);
  auto* subdiv = Control<QComboBox>(MainDialog::kIdSubDiv);
  ASSERT_EQ(measure->count(), 12);
  ASSERT_EQ(subdiv->count(), 8);
  EXPECT_EQ(measure->currentText(), QStringLiteral("4"));  // the stored default
  window->commands.clear();
  measure->setCurrentIndex(5);
  emit measure->activated(5);  // as the user's choice does
  EXPECT_EQ(model->GetMeasure(), 5);
  EXPECT_EQ(window->commands, std::vector<int>{MainDialog::kCmdMeasure});
  model->SetSubDiv(2);  // from elsewhere: the list follows, no command
  EXPECT_EQ(subdiv->currentIndex(), 2);
  EXPECT_EQ(window->commands, std::vector<int>{MainDialog::kCmdMeasure});

  window->ApplyPreset(60, 3, 1);
  EXPECT_EQ(Control<QSpinBox>(MainDialog::kIdTempo)->value(), 60);
  EXPECT_EQ(measure->currentText(), QStringLiteral("4"));
  EXPECT_EQ(subdiv->currentText(), QStringLiteral("2"));
  EXPECT_EQ(model->GetTempo(), 60);
  EXPECT_EQ(model->GetMeasure(), 3);
  EXPECT_EQ(model->GetSubDiv(), 1);
}

TEST_F(MainDialogTest, StoredSettingsComeBackWithoutASecondChange) {
  LUserSettingSet<int>("Settings", "Tempo", 120);
  LUserSettingSet<int>("Settings", "Measure", 6);
  LUserSettingSet<int>("Settings", "Volume", -20);
  Open();
  EXPECT_EQ(Control<QSpinBox>(MainDialog::kIdTempo)->value(), 120);
  EXPECT_EQ(window->Display()->GetTempo(), 120);
  EXPECT_EQ(Control<QComboBox>(MainDialog::kIdMeasure)->currentIndex(), 6);
  EXPECT_EQ(window->VolumeSlider().TrackBar()->value(), -20);
  EXPECT_EQ(Count(MainDialog::kIdTempo), 1);  // the field's echo of the model's own tempo
  EXPECT_EQ(Count(MainDialog::kIdVolume), 0);
}

TEST_F(MainDialogTest, VolumeSliderReachesTheModelOnce) {
  Open();
  window->VolumeSlider().TrackBar()->setValue(-12);
  EXPECT_EQ(model->GetVolume().Get(), -12);
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Volume", 0), -12);
  EXPECT_EQ(Count(MainDialog::kIdVolume), 1);
  EXPECT_EQ(window->VolumeSlider().TrackBar()->value(), -12);
}

TEST_F(MainDialogTest, AnOutputThatCannotOpenIsReportedInTheWindow) {
  devices.m_default = kNoPlayDevice;
  Open();
  window->DispatchCommand(MainDialog::kCmdToggle);
  EXPECT_FALSE(model->IsPlaying());
  EXPECT_TRUE(window->IsInfoShown());
  EXPECT_NE(window->InfoText().indexOf(QStringLiteral("could not be opened")), -1);
  EXPECT_EQ(window->PlayStopImage(), kIconPlay);
  devices.m_default = 0;
  window->DispatchCommand(MainDialog::kCmdToggle);
  EXPECT_TRUE(model->IsPlaying());
  EXPECT_FALSE(window->IsInfoShown());
}

// The device fails while playing (the capture file on a full disk): the
// window shows stopped and says why; a working device plays again.
TEST_F(MainDialogTest, ADeviceFailingWhilePlayingIsReportedInTheWindow) {
  std::filesystem::create_symlink("/dev/full", home.Dir().File("capture.wav"));
  Open();
  window->DispatchCommand(MainDialog::kCmdToggle);
  ASSERT_TRUE(PumpUntil([&] { return !model->IsPlaying(); }));
  EXPECT_EQ(window->PlayStopImage(), kIconPlay);
  EXPECT_TRUE(window->IsInfoShown());
  EXPECT_NE(window->InfoText().indexOf(QStringLiteral("stopped working")), -1);
  std::filesystem::remove(home.Dir().File("capture.wav"));
  window->DispatchCommand(MainDialog::kCmdToggle);
  EXPECT_TRUE(model->IsPlaying());
  EXPECT_FALSE(window->IsInfoShown());
}

TEST_F(MainDialogTest, MissingDefaultSoundsEndTheProgramWithAMessage) {
  std::remove(DefaultSoundFilePath(GetSharedDataFolderApp(), "beat.wav").c_str());
  Open();
  EXPECT_EQ(window->errors, std::vector<std::string>{MainDialog::kEssentialFileMissing});
  EXPECT_TRUE(PumpUntil([&] { return window->IsClosed(); }));
}

}  // namespace
