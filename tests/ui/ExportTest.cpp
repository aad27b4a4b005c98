#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "store/Settings.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/ExportDialog.h"

namespace {

namespace fs = std::filesystem;

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

const std::string kShipped = std::string(MORVANE_SOURCE_DATA_DIR) + "/metronome/";

// The window's click track: a grouped 9 with an edited beat, swung eighths,
// the shipped sounds at their own levels, and every trainer on.
LClickTrackSettings Track() {
  LClickTrackSettings t;
  t.tempo = 133;
  t.subdivisions = 2;
  std::string error;
  EXPECT_TRUE(LMeasure::Parse("9(2+2+2+3)", t.rhythm.measure, error));
  EXPECT_TRUE(LBeatPattern::Parse("DbAbA.Abb", t.rhythm.pattern, error));
  t.rhythm.swing = 62;
  const char* names[3] = {"accent.wav", "beat.wav", "click.wav"};
  for (int i = 0; i < 3; ++i) t.sound[i] = kShipped + names[i];
  t.level[0] = -3, t.level[1] = -9, t.level[2] = 2;
  t.downbeatLevel = 5;
  return t;
}

LPracticePlan Plan() {
  LPracticePlan p;
  p.countInBars = 1;
  p.ramp = {100, 120, 10, 2, false};
  p.gap = {3, 1};
  p.randomMutePercent = 20;
  p.randomSeed = 7;
  return p;
}

// The same track written as a user would type it for morvane-render.
std::string CommandLine() {
  return std::string(MORVANE_RENDER_BINARY) + " --tempo 133 --measure '9(2+2+2+3)' --pattern DbAbA.Abb --subdiv 2" +
         " --swing 62 --accent " + kShipped + "accent.wav --accent-db -3 --beat " + kShipped +
         "beat.wav --beat-db -9 --click " + kShipped + "click.wav --click-db 2 --downbeat-db 5" +
         " --count-in 1 --ramp 100:120:10:2 --gap 3:1 --random-mute 20:7";
}

// Answers the dialog's questions itself and cancels at a share of the work.
class Exporter : public LExportDialog {
 public:
  Exporter() : LExportDialog(Track(), Plan()) {}
  double cancelAt = 2.0;
  bool KeepGoing(long long done, long long total) override { return done < cancelAt * total; }
  void ShowResult(Outcome, const QString&) override {}
};

std::string Setting(const char* key) {
  char value[kRecordBufferSize];
  _LUserSettingGetString("Export", key, "", value);
  return value;
}

TEST(Export, WindowAndCommandLineWriteTheSameFile) {
  test::GuiApp();
  test::IsolatedHome home;
  const test::TempDir& dir = home.Dir();
  const struct {
    LExportChoice::Length length;
    const char* time;
    int format, rate;  // rows of the lists
    const char* options;
  } cases[] = {
      {LExportChoice::kBars, "", 1, 2, " --format s24 --rate 48000 --bars 12"},
      {LExportChoice::kTime, "0:07", 3, 0, " --format f32 --seconds 7"},
      {LExportChoice::kUntilTrainerStops, "", 0, 1, " --format s16 --rate 44100"},
  };
  for (const auto& c : cases) {
    Exporter dialog;
    dialog.SetLength(c.length);
    dialog.BarsField()->setValue(12);
    dialog.TimeField()->setText(QString::fromLatin1(c.time));
    dialog.FormatList()->setCurrentIndex(c.format);
    dialog.RateList()->setCurrentIndex(c.rate);
    dialog.FileField()->setText(QString::fromStdString(dir.File("window.wav")));
    QString message;
    ASSERT_EQ(dialog.Export(message), LExportDialog::Outcome::Written) << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromStdString(dir.File("window.wav"))));

    const std::string command = CommandLine() + c.options + " -o " + dir.File("cli.wav") + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string window = Bytes(dir.File("window.wav"));
    EXPECT_GT(window.size(), 100000u) << c.options;
    EXPECT_TRUE(window == Bytes(dir.File("cli.wav"))) << "the two files differ:" << c.options;
  }
  EXPECT_EQ(Setting("Folder"), dir.Path());  // remembered once written
}

// Cancelled, refused or failed: no file, no leftover beside it, no setting
// changed, and a message that names the file.
TEST(Export, LeavesNothingBehindWhenItDoesNotFinish) {
  test::GuiApp();
  test::IsolatedHome home;
  test::TempDir dir;
  std::ofstream(dir.File("plain")) << "a file, not a folder";
  const struct {
    std::string file;
    const char* length;  // mm:ss
    double cancelAt;
    LExportDialog::Outcome outcome;
    const char* says;
  } cases[] = {
      {dir.File("cancel.wav"), "2:00", 0.1, LExportDialog::Outcome::Cancelled, "cancelled"},
      {dir.File("missing/x.wav"), "0:10", 2.0, LExportDialog::Outcome::Failed, "could not be exported"},
      {dir.File("plain/x.wav"), "0:10", 2.0, LExportDialog::Outcome::Failed, "could not be exported"},
      {dir.File("bad.wav"), "1:75", 2.0, LExportDialog::Outcome::Failed, "not a time"},
      {dir.File("zero.wav"), "0:00", 2.0, LExportDialog::Outcome::Failed, "not a time"},
  };
  for (const auto& c : cases) {
    Exporter dialog;
    dialog.cancelAt = c.cancelAt;
    dialog.SetLength(LExportChoice::kTime);
    dialog.TimeField()->setText(QString::fromLatin1(c.length));
    dialog.FileField()->setText(QString::fromStdString(c.file));
    QString message;
    EXPECT_EQ(dialog.Export(message), c.outcome) << c.file;
    EXPECT_TRUE(message.contains(QLatin1String(c.says))) << message.toStdString();
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1) << c.file << " left a file";
  }
  EXPECT_EQ(Setting("Folder"), "");
}

// A full disk: a small file system of its own where mounting is allowed.
TEST(Export, LeavesNothingOnAFullDisk) {
  test::GuiApp();
  test::IsolatedHome home;
  test::TempDir dir;
  const std::string mount = "mount -t tmpfs -o size=128k tmpfs " + dir.Path() + " 2>/dev/null";
  if (std::system(mount.c_str()) != 0) GTEST_SKIP() << "no tmpfs mount here";
  Exporter dialog;
  dialog.SetLength(LExportChoice::kTime);
  dialog.TimeField()->setText(QStringLiteral("0:30"));
  dialog.FileField()->setText(QString::fromStdString(dir.File("full.wav")));
  QString message;
  EXPECT_EQ(dialog.Export(message), LExportDialog::Outcome::Failed);
  EXPECT_TRUE(message.contains(QLatin1String("No space left"))) << message.toStdString();
  EXPECT_TRUE(fs::is_empty(dir.Path()));
  EXPECT_EQ(std::system(("umount " + dir.Path()).c_str()), 0);
}

}  // namespace
