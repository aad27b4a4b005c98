#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "store/Presets.h"
#include "store/Settings.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/Icons.h"
#include "ui/MVDisplay.h"
#include "ui/MVLedLightBox.h"

namespace {

using test::Pump;
using test::PumpUntil;

class MainDialogTest : public test::WindowTest {
 protected:
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString()) {
    QTest::sendKeyEvent(QTest::Click, window->windowHandle(), static_cast<Qt::Key>(key), text, mods);
    Pump();
  }
  int Count(int command) {
    return static_cast<int>(std::count(window->commands.begin(), window->commands.end(), command));
  }
  void ExpectPlaying(bool playing) {
    Pump();
    EXPECT_EQ(model->IsPlaying(), playing);
    EXPECT_EQ(window->PlayStopImage(), playing ? kIconStop : kIconPlay);
    EXPECT_EQ(window->GetMenuAction(MainDialog::kCmdPlay)->isEnabled(), !playing);
    EXPECT_EQ(window->GetMenuAction(MainDialog::kCmdStop)->isEnabled(), playing);
  }
};

TEST_F(MainDialogTest, SpaceTogglesEvenWithTheTempoFieldFocusedAndMenusFollow) {
  Open();
  auto* text = Control<QLineEdit>(MainDialog::kIdTempoText);
  ASSERT_NE(text, nullptr);
  text->setFocus();
  Pump();
  ExpectPlaying(false);
  Key(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  EXPECT_TRUE(PumpUntil([&] { return model->IsPlaying(); }));
  EXPECT_EQ(text->text(), QStringLiteral("92"));  // the key never typed
  ExpectPlaying(true);
  EXPECT_TRUE(PumpUntil([&] { return window->Lights()->Position() > 0; }));
  Key(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  EXPECT_TRUE(PumpUntil([&] { return !model->IsPlaying(); }));
  ExpectPlaying(false);
  EXPECT_EQ(Count(MainDialog::kCmdToggle), 2);
  window->GetMenuAction(MainDialog::kCmdPlay)->trigger();
  ExpectPlaying(true);
  window->GetMenuAction(MainDialog::kCmdStop)->trigger();
  ExpectPlaying(false);

  // Other keys reach the field; typed numbers outside the range count as
  // its nearest end at once and are written so when Return is pressed.
  Key(Qt::Key_Up);
  EXPECT_EQ(model->GetTempo(), 93);
  const struct {
    const char* typed;
    int tempo;
    const char* shown;
  } cases[] = {{"120", 120, "120"}, {"3", 10, "10"}, {"300", 280, "280"}, {"5", 10, "10"}, {"0099", 99, "99"}};
  for (const auto& c : cases) {
    text->selectAll();
    for (const char* d = c.typed; *d; ++d) Key(Qt::Key_0 + (*d - '0'), Qt::NoModifier, QString(QChar(*d)));
    EXPECT_EQ(model->GetTempo(), c.tempo) << c.typed;
    Key(Qt::Key_Return);
    EXPECT_EQ(text->text().toStdString(), c.shown) << c.typed;
    EXPECT_EQ(model->GetTempo(), c.tempo) << c.typed;
    EXPECT_EQ(window->Display()->GetTempo(), c.tempo) << c.typed;
  }
}

TEST_F(MainDialogTest, CommandKeysIgnoreCapsLockButNotShiftAndWaitForTheDialogs) {
  Open();
  for (int id : {MainDialog::kCmdPresetSave, MainDialog::kCmdPresetLoad, MainDialog::kCmdSelectSounds}) {
    EXPECT_FALSE(window->GetMenuAction(id)->isEnabled()) << id;
    EXPECT_FALSE(window->GetToolBarAction(id)->isEnabled()) << id;
  }
  Key(Qt::Key_S, Qt::ControlModifier, QStringLiteral("s"));
  EXPECT_EQ(Count(MainDialog::kCmdPresetSave), 1);
  EXPECT_TRUE(window->opened.empty());

  window->dialogs = true;
  window->EnableCommand(MainDialog::kCmdPresetSave, true);
  Key(Qt::Key_S, Qt::ControlModifier, QStringLiteral("s"));
  Key(Qt::Key_S, Qt::ControlModifier, QStringLiteral("S"));  // Caps Lock on
  Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, QStringLiteral("S"));
  Key(Qt::Key_Comma, Qt::ControlModifier, QStringLiteral(","));
  EXPECT_EQ(window->opened, (std::vector<std::string>{"preset 92 3 0", "preset 92 3 0", "options 0"}));
}

TEST_F(MainDialogTest, GuideRowSetsFieldAndModelAtOnceOrASecondLaterWhilePlaying) {
  Open();
  auto* guide = Control<QTreeWidget>(MainDialog::kIdGuide);
  auto* field = Control<QSpinBox>(MainDialog::kIdTempo);
  ASSERT_EQ(guide->topLevelItemCount(), 8);
  guide->setCurrentItem(guide->topLevelItem(5));  // Allegro
  EXPECT_EQ(field->value(), 144);
  EXPECT_EQ(model->GetTempo(), 144);
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Tempo", 0), 144);
  // The guide shows the row of the tempo, however it was set (the markings'
  // bounds are the model's table), and the status names the same row.
  const struct {
    int bpm, row;
    const char* status;
  } shown[] = {{199, 6, "199 bpm, Presto"}, {208, 7, "208 bpm, Prestissimo"}, {30, -1, nullptr}, {250, -1, nullptr}};
  for (const auto& c : shown) {
    field->setValue(c.bpm);
    EXPECT_EQ(guide->indexOfTopLevelItem(guide->currentItem()), c.row) << c.bpm;
    EXPECT_EQ(guide->selectedItems().size(), c.row < 0 ? 0 : 1) << c.bpm;
    if (c.status) {
      EXPECT_EQ(window->StatusText().toStdString(), c.status);
    }
  }
  EXPECT_EQ(model->GetTempo(), 250);  // showing the row chose nothing
  guide->setCurrentItem(guide->topLevelItem(5));

  ASSERT_TRUE(model->StartPlaying());
  guide->setCurrentItem(guide->topLevelItem(3));  // Andante
  EXPECT_EQ(field->value(), 92);
  EXPECT_EQ(model->GetTempo(), 144);
  EXPECT_TRUE(PumpUntil([&] { return model->GetTempo() == 92; }));
  EXPECT_TRUE(model->IsPlaying());
}

TEST_F(MainDialogTest, ControlsSendOneCommandAndFollowTheModel) {
  Open();
  auto* measure = Control<QComboBox>(MainDialog::kIdMeasure);
  auto* subdiv = Control<QComboBox>(MainDialog::kIdSubDiv);
  window->commands.clear();
  measure->setCurrentIndex(5);
  emit measure->activated(5);  // as the user's choice does
  EXPECT_EQ(model->GetMeasure(), 5);
  model->SetSubDiv(2);  // from elsewhere: the list follows, no command
  EXPECT_EQ(subdiv->currentIndex(), 2);
  window->VolumeSlider().TrackBar()->setValue(-12);
  EXPECT_EQ(model->GetVolume().Get(), -12);
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Volume", 0), -12);
  EXPECT_EQ(window->commands, (std::vector<int>{MainDialog::kCmdMeasure, MainDialog::kIdVolume}));
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

// An output that cannot open, and one failing while playing (the capture
// file on a full disk): the window shows stopped and says why; a working
// device plays again.
TEST_F(MainDialogTest, OutputFailuresAreReportedInTheWindow) {
  const std::string capture = home.Dir().File("capture.wav");
  for (bool failsLater : {false, true}) {
    std::filesystem::remove(capture);
    if (failsLater)
      std::filesystem::create_symlink("/dev/full", capture);
    else
      devices.m_default = kNoPlayDevice;
    Open();
    window->DispatchCommand(MainDialog::kCmdToggle);
    ASSERT_TRUE(PumpUntil([&] { return !model->IsPlaying(); }));
    EXPECT_EQ(window->PlayStopImage(), kIconPlay);
    EXPECT_NE(window->InfoText().indexOf(failsLater ? "stopped working" : "could not be opened"), -1);
    EXPECT_TRUE(window->IsInfoShown());
    devices.m_default = 0;
    std::filesystem::remove(capture);
    window->DispatchCommand(MainDialog::kCmdToggle);
    EXPECT_TRUE(model->IsPlaying());
    EXPECT_FALSE(window->IsInfoShown());
    Close();
  }
}

// The chosen output is looked up (which starts the sound back ends) only
// once the window is on screen, and then without waiting for Play; Play
// still finds it.
TEST_F(MainDialogTest, TheOutputIsLookedUpAfterTheWindowIsShown) {
  LSettingSetSoundPlayDeviceName("Settings", "SoundOutDevice", "Capture");
  model = std::make_unique<LMVModel>(std::make_unique<LCaptureOutputUnit>(home.Dir().File("capture.wav"), true));
  window = std::make_unique<test::TestDialog>(model.get());
  window->Start();
  EXPECT_EQ(devices.whole, 0);
  ASSERT_TRUE(PumpUntil([&] { return devices.whole > 0; }));
  EXPECT_TRUE(window->windowHandle()->isExposed());
  window->DispatchCommand(MainDialog::kCmdToggle);
  EXPECT_TRUE(model->IsPlaying());
}

// Settings that cannot be written: the window says so once, the change is
// still in use, and the message goes when saving works again; playing does
// not take it back, and it stands beside another message, never over it.
TEST_F(MainDialogTest, SettingsThatCannotBeSavedAreReportedUntilTheyCanBe) {
  Open();
  LSettingsFlush();  // the folder exists
  char path[1024];
  LSettingsFilePath(path, sizeof path);
  // A folder where the file should be.
  auto block = [&] {
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
  };
  // The writer works a moment after each change; what it reports reaches
  // the window through its event queue.
  auto settle = [&](bool saving) {
    for (int i = 0; i < 100 && LSettingsCommitFailing() == saving; ++i) {
      Pump();
      LSettingsFlush();
      usleep(10000);
    }
    Pump();
  };
  block();
  window->ApplyPreset(133, 2, 1);
  settle(false);
  EXPECT_EQ(model->GetTempo(), 133);
  EXPECT_NE(window->InfoText().indexOf("cannot be saved"), -1);
  window->DispatchCommand(MainDialog::kCmdToggle);
  Pump();
  EXPECT_TRUE(model->IsPlaying());
  EXPECT_NE(window->InfoText().indexOf("cannot be saved"), -1);
  window->DispatchCommand(MainDialog::kCmdToggle);
  std::filesystem::remove(path);
  window->ShowInfo(QStringLiteral("another message"));
  window->ApplyPreset(134, 2, 1);
  settle(true);
  EXPECT_EQ(window->InfoText(), QStringLiteral("another message"));
  block();
  window->ApplyPreset(135, 2, 1);
  settle(false);
  EXPECT_TRUE(window->InfoText().startsWith(QStringLiteral("another message\nYour settings cannot be saved")));
  std::filesystem::remove(path);
  window->ApplyPreset(136, 2, 1);
  settle(true);
  EXPECT_EQ(window->InfoText(), QStringLiteral("another message"));
  EXPECT_EQ(LUserSettingGet<int>("Settings", "Tempo", 0), 136);
}

// The options record, edited by hand, names sounds that are not there: the
// window names them, and says where the file's old text was kept when the
// model rewrote it without them.
TEST_F(MainDialogTest, ChosenSoundsThatWentMissingAndAHandEditedRecordAreNamed) {
  LProfile profile(GetSharedDataFolderApp());
  const std::string options = LOptionsList(profile).PathOf(options_field::kKey);
  std::ofstream(options, std::ios::binary) << "Accent=gone.wav&Note=by hand&Click=lost.wav";
  Open();
  Pump();
  const QString info = window->InfoText();
  EXPECT_NE(info.indexOf("accent sound \"gone.wav\" and click sound \"lost.wav\" could not be opened"), -1)
      << info.toStdString();
  EXPECT_NE(info.indexOf(QString::fromStdString(GetSharedDataFolderApp() + "/Sound")), -1) << info.toStdString();
  EXPECT_NE(info.indexOf(QString::fromStdString(options + ".kept")), -1) << info.toStdString();
}

TEST_F(MainDialogTest, MissingDefaultSoundsEndTheProgramWithAMessage) {
  std::remove(DefaultSoundFilePath(GetSharedDataFolderApp(), "beat.wav").c_str());
  Open();
  EXPECT_EQ(window->errors, std::vector<std::string>{MainDialog::kEssentialFileMissing});
  EXPECT_TRUE(PumpUntil([&] { return window->IsClosed(); }));
}

}  // namespace
