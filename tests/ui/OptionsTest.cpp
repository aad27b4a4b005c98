#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "soundfile/WaveFile.h"
#include "store/Settings.h"
#include "store/SoundFileCheck.h"
#include "tests/support/SourceReader.h"
#include "tests/ui/DialogTestSupport.h"
#include "ui/DBEdit.h"
#include "ui/GeneralPage.h"
#include "ui/HelpWindow.h"
#include "ui/OptionsDialog.h"
#include "ui/PresetDialog.h"
#include "ui/SoundPage.h"
#include "ui/SoundSchemeSaveDialog.h"

namespace {

using test::DialogTest;

// The sound page with the scheme list answered by the test.
class TestSoundPage : public LSoundPage {
 public:
  std::string ChooseScheme() override { return chosen; }
  std::string chosen;
};

bool Chooser(char* out, const char* title = "Select accent sound") {
  return LSoundSchemeSaveDialog::GetValidSoundFile(nullptr, out, title);
}

TEST_F(DialogTest, ChooserAcceptsShortWavFilesAndCopiesThemIntoTheSoundFolder) {
  test::TempDir elsewhere;
  char name[kRecordBufferSize] = "untouched";
  ChooseFile(test::WriteWav(elsewhere.File("Long.wav"), 2008));  // 251 ms
  EXPECT_FALSE(Chooser(name));
  EXPECT_STREQ(name, "untouched");
  ASSERT_EQ(prompts.size(), 1u);
  EXPECT_FALSE(std::ifstream(shared + "/Sound/Long.wav").good());

  test::WriteFile(elsewhere.File("Text.wav"), test::Bytes(400, 'x'));
  for (const std::string& path : {elsewhere.File("Text.wav"), elsewhere.File("Missing.wav"), std::string()}) {
    ChooseFile(path);
    EXPECT_FALSE(Chooser(name)) << path;
  }
  EXPECT_EQ(prompts.size(), 2u);  // cancel and a vanished file say nothing

  ChooseFile(test::WriteWav(elsewhere.File("Snare.wav"), 2000));  // 250 ms
  test::WriteWav(shared + "/Sound/Snare.wav", 10);
  ASSERT_TRUE(Chooser(name, "Select beat sound"));
  EXPECT_STREQ(name, "Snare.wav");
  EXPECT_EQ(fileTitles.back(), "Select beat sound");
  EXPECT_EQ(LSoundFileLengthMs((shared + "/Sound/Snare.wav").c_str()), 250);
}

TEST_F(DialogTest, SchemeDialogSavesNameAndFilesAndChangesByName) {
  test::TempDir elsewhere;
  LSoundSchemeSaveDialog fresh(*profile, nullptr);
  EXPECT_FALSE(fresh.CmOk());
  EXPECT_EQ(LLastFieldMessage().toStdString(), LSoundSchemeSaveDialog::kNameMissing);
  fresh.Field(LSoundSchemeSaveDialog::kIdName)->setText("  Wood ");
  ChooseFile(test::WriteWav(elsewhere.File("Block.wav"), 800));
  fresh.Command(LSoundSchemeSaveDialog::kIdBeatBrowse);
  fresh.Field(LSoundSchemeSaveDialog::kIdClick)->setText("typed.wav");  // taken as typed
  ASSERT_TRUE(fresh.CmOk());

  LSoundSchemeSaveDialog change(*profile, "wood");  // names match without case
  EXPECT_EQ(change.Field(LSoundSchemeSaveDialog::kIdBeat)->text().toStdString(), "Block.wav");
  EXPECT_EQ(change.Field(LSoundSchemeSaveDialog::kIdClick)->text().toStdString(), "typed.wav");
  change.Field(LSoundSchemeSaveDialog::kIdAccent)->setText("A.wav");
  ASSERT_TRUE(change.CmOk());
  LSoundSchemeRecordList list(*profile);
  LSoundSchemeRecord rec;
  ASSERT_TRUE(OpenSoundScheme(list, rec, "wood"));
  EXPECT_EQ(rec.GetString(scheme_field::kAccentFile), "A.wav");
  EXPECT_EQ(rec.GetString(scheme_field::kBeatFile), "Block.wav");
}

// The default sounds and then a chosen file are stored by OK; Cancel
// storing nothing is the levels' test below.
TEST_F(DialogTest, SoundChoicesAreStoredByOk) {
  test::TempDir elsewhere;
  home.SetOption(options_field::kBeat, "Kept.wav");
  TestSoundPage page;
  page.InitDialog();
  ChooseFile(test::WriteWav(elsewhere.File("Tick.wav"), 400));
  page.Command(LSoundPage::kIdDefaultSound, 0);  // every role back to its shipped sound
  page.Command(LSoundPage::kIdSetClick, 0);
  EXPECT_EQ(home.Option(options_field::kBeat), "Kept.wav");  // nothing stored yet
  EXPECT_TRUE(page.CmOk());
  EXPECT_EQ(home.Option(options_field::kBeat), "");
  EXPECT_EQ(home.Option(options_field::kClick), "Tick.wav");
}

// A record that cannot be written: the user is told where, the dialog stays
// open with the entries, and the next try after the fault is mended saves
// exactly one record.
TEST_F(DialogTest, RecordsThatCannotBeWrittenAreReportedAndKeptForAnotherTry) {
  namespace fs = std::filesystem;
  const std::string presets = LUserPresetList(*profile).Folder();
  const std::string schemes = LSoundSchemeRecordList(*profile).Folder();
  const std::string options = LOptionsList(*profile).PathOf(options_field::kKey);
  for (const std::string& folder : {presets, schemes}) {
    fs::remove_all(folder);
    ASSERT_TRUE(test::WriteFile(folder, {}));  // a file where the folder should be
  }
  fs::remove(options);
  fs::create_directory(options);
  auto expectNotSaved = [&](const std::string& where) {
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].title.toStdString(), "Not saved");
    EXPECT_NE(prompts[0].text.indexOf(QString::fromStdString(where)), -1) << prompts[0].text.toStdString();
    // The cause, from the error the save met.
    EXPECT_NE(prompts[0].text.indexOf(QStringLiteral("stands where")), -1) << prompts[0].text.toStdString();
    prompts.clear();
  };

  LPresetDialog preset(*profile, nullptr, 100, 3, 1);
  preset.NameField()->setText("Slow");
  EXPECT_FALSE(preset.CmOk());
  expectNotSaved(presets);
  LSoundSchemeSaveDialog scheme(*profile, nullptr);
  scheme.Field(LSoundSchemeSaveDialog::kIdName)->setText("Wood");
  EXPECT_FALSE(scheme.CmOk());
  expectNotSaved(schemes);
  test::TempDir elsewhere;
  TestSoundPage page;
  page.InitDialog();
  ChooseFile(test::WriteWav(elsewhere.File("Tick.wav"), 400));
  page.Command(LSoundPage::kIdSetAccent, 0);
  EXPECT_FALSE(page.CmOk());
  expectNotSaved(fs::path(options).parent_path().string());

  for (const std::string& path : {presets, schemes, options}) {
    fs::remove(path);
    fs::create_directory(path);
  }
  fs::remove(options);
  EXPECT_TRUE(preset.CmOk());
  EXPECT_EQ(Presets(), std::vector<std::string>{"Slow 100 3 1"});
  EXPECT_TRUE(scheme.CmOk());
  EXPECT_EQ(std::distance(fs::directory_iterator(schemes), fs::directory_iterator()), 1);
  EXPECT_TRUE(page.CmOk());
  EXPECT_EQ(home.Option(options_field::kAccent), "Tick.wav");
  EXPECT_TRUE(prompts.empty());
}

// ▶ plays the sound in use once through the output, at the level shown.
TEST_F(DialogTest, PreviewPlaysTheSoundOnceAtItsLevel) {
  test::TempDir out;
  const std::string capture = out.File("capture.wav");
  ::setenv("MORVANE_AUDIO_CAPTURE", capture.c_str(), 1);
  const std::string beat = DefaultSoundFilePath(shared, "beat.wav");
  LSoundSource sound = LWaveFile::OpenSource(beat.c_str());
  const int frames = sound->GetEndSample();
  {
    TestSoundPage page;
    page.InitDialog();
    LSetDBEdit(&page, LSoundPage::kIdBeatLevel, LdBLevel(-6));
    page.findChild<QToolButton*>(QString::number(LSoundPage::kIdPreviewBeat))->click();
    // 32-bit stereo frames after the 44-byte header.
    EXPECT_TRUE(test::PumpUntil([&] {
      std::error_code error;
      return std::filesystem::file_size(capture, error) >= 44u + frames * 8u && !error;
    }));
  }
  ::unsetenv("MORVANE_AUDIO_CAPTURE");
  auto peak = [](LSoundSource s) {
    int p = 0;
    for (int v : test::ReadFrames(s, s->GetEndSample(), 4096)) p = std::max(p, std::abs(v));
    return p;
  };
  const double want = peak(sound) * std::pow(10.0, -6 / 20.0);
  EXPECT_NEAR(peak(LWaveFile::OpenSource(capture.c_str())), want, want * 0.01);
}

TEST_F(DialogTest, LevelsAndALoadedSchemeAreStoredOnlyByOk) {
  LUserSettingSet<int>("Sound", "BeatVolume", 100);   // beyond the field
  LUserSettingSet<int>("Sound", "ClickVolume", 250);  // a signed byte: -6
  const std::string key = AddScheme("Wood", "a.wav", "b.wav", "c.wav");
  home.SetOption(options_field::kAccent, "mine.wav");
  // Cancel stores nothing; a scheme deleted meanwhile leaves the files but stores the levels.
  const struct {
    bool ok;
    const char* scheme;
    int level, storedLevel;
    const char* storedAccent;
  } cases[] = {{false, key.c_str(), 6, 0, "mine.wav"},
               {true, key.c_str(), 6, 6, "a.wav"},
               {true, "no such key", -3, -3, "a.wav"}};
  for (const auto& c : cases) {
    {
      TestSoundPage page;
      page.InitDialog();
      EXPECT_EQ(LGetDBEdit(&page, LSoundPage::kIdBeatLevel).Get(), 12);
      EXPECT_EQ(LGetDBEdit(&page, LSoundPage::kIdClickLevel).Get(), -6);
      LSetDBEdit(&page, LSoundPage::kIdAccentLevel, LdBLevel(c.level));
      LSetDBEdit(&page, LSoundPage::kIdDownbeatLevel, LdBLevel(c.level));
      page.chosen = c.scheme;
      page.Command(LSoundPage::kIdLoadScheme, 0);
      if (c.ok) {
        EXPECT_TRUE(page.CmOk());
      }
    }
    EXPECT_EQ(LUserSettingGet<int>("Sound", "AccentVolume", 0), c.storedLevel) << c.scheme;
    EXPECT_EQ(LUserSettingGet<int>("Sound", "DownbeatLevel", 4), c.ok ? c.level : 4) << c.scheme;
    EXPECT_EQ(home.Option(options_field::kAccent), c.storedAccent) << c.scheme;
  }
  EXPECT_EQ(home.Option(options_field::kClick), "c.wav");
}

TEST_F(DialogTest, OutputDeviceIsShownAndStoredByName) {
  test::ScriptedDevices devices{{{7, "Speakers", 2}, {9, "Headphones", 2}}, 7};
  LSoundPlayDevice chosen(2, 0, 0);
  LSettingSetSoundPlayDevice("Settings", "SoundOutDevice", chosen);
  LGeneralPage page;
  page.InitDialog();
  ASSERT_EQ(page.DeviceList()->count(), 3);
  EXPECT_EQ(page.DeviceList()->currentText().toStdString(), "Headphones");
  page.DeviceList()->setCurrentIndex(1);  // Speakers

  // Devices come and go while the page is shown: the list follows, the
  // choice stays by name (the default output once it is gone), and OK
  // stores the name shown, wherever the list put it.
  struct Case {
    std::vector<LSoundPlayDeviceQuery::Device> devices;
    std::vector<std::string> shown;
    std::string chosen;
  };
  const Case cases[] = {
      {{{5, "USB Headset", 2}, {7, "Speakers", 2}}, {"Default Playback Device", "USB Headset", "Speakers"}, "Speakers"},
      {{{5, "USB Headset", 2}}, {"Default Playback Device", "USB Headset"}, "Default Playback Device"},
  };
  for (const Case& c : cases) {
    devices.Set(c.devices);
    page.RefreshDevices();
    std::vector<std::string> shown;
    for (int i = 0; i < page.DeviceList()->count(); ++i) shown.push_back(page.DeviceList()->itemText(i).toStdString());
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(page.DeviceList()->currentText().toStdString(), c.chosen);
  }
  page.DeviceList()->setCurrentIndex(1);
  devices.Set({{9, "Headphones", 2}, {5, "USB Headset", 2}});
  EXPECT_TRUE(page.CmOk());
  char stored[kSettingTextSize];
  _LUserSettingGetString("Settings", "SoundOutDevice", "", stored);
  EXPECT_STREQ(stored, "USB Headset");
}

TEST_F(DialogTest, SheetOpensOnTheStartPageAndTheModelReloadsAfterwards) {
  test::ScriptedDevices devices{{{0, "Capture", 2}}, 0};
  LMVModel model(std::make_unique<LCaptureOutputUnit>(home.Dir().File("capture.wav"), true));
  ASSERT_TRUE(model.Init());
  ASSERT_TRUE(model.StartPlaying());
  for (int page : {kOptionsPageGeneral, kOptionsPageSound}) {
    int shown = -1;
    test::WhenModal<LPropertySheet>([&shown](LPropertySheet* sheet) {
      shown = sheet->CurrentPage();
      sheet->reject();
    });
    // A sound chosen while the sheet is open is what plays afterwards.
    test::WriteWav(shared + "/Sound/Mine.wav", 1234 + page, 44100);
    home.SetOption(options_field::kAccent, "Mine.wav");
    EXPECT_FALSE(SetDlg(nullptr, static_cast<unsigned long>(page), model));
    EXPECT_EQ(shown, page);
    EXPECT_EQ(model.GetMetronome().m_accentSound->GetEndSample(), 1234 + page);
    EXPECT_TRUE(model.IsPlaying());
  }
  model.StopPlaying();
}

TEST_F(DialogTest, EveryHelpTopicHasAPage) {
  for (const char* topic : {"userpreset", "soundscheme", "presetlist", "general", "sound", "manual"})
    EXPECT_FALSE(LHelpPagePath(topic).isEmpty()) << topic;
  EXPECT_TRUE(LHelpPagePath("../etc").isEmpty());
  QWidget* help = LShowHelp(nullptr, "missing");
  EXPECT_TRUE(help->isVisible());
  help->close();
}

}  // namespace
