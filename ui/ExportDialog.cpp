#include "ui/ExportDialog.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>

#include "model/MVModel.h"
#include "model/PracticeModel.h"
#include "store/DataFolders.h"
#include "store/Settings.h"
#include "ui/DialogLayout.h"
#include "ui/ExportJob.h"
#include "ui/HelpWindow.h"
#include "ui/MainDialog.h"
#include "ui/PracticePanel.h"

namespace {

const char* const kFormats[][2] = {{"s16", QT_TRANSLATE_NOOP("LExportDialog", "16-bit")},
                                   {"s24", QT_TRANSLATE_NOOP("LExportDialog", "24-bit")},
                                   {"s32", QT_TRANSLATE_NOOP("LExportDialog", "32-bit")},
                                   {"f32", QT_TRANSLATE_NOOP("LExportDialog", "32-bit float")}};
const int kRates[] = {0, 44100, 48000, 88200, 96000};
const char* const kSoundOptions[] = {"--accent", "--beat", "--click"};
const char* const kLevelOptions[] = {"--accent-db", "--beat-db", "--click-db"};
constexpr int kProgressSteps = 1000;
constexpr int kProgressPollMs = 50;

// The choices of the last export that was written (section "Export").
constexpr const char* kSection = "Export";

std::string Join(std::initializer_list<int> parts) {
  std::string text;
  for (int p : parts) text += (text.empty() ? "" : ":") + std::to_string(p);
  return text;
}

QString SettingText(const char* key, const QString& def) {
  char value[kRecordBufferSize];
  _LUserSettingGetString(kSection, key, def.toUtf8().constData(), value);
  return QString::fromUtf8(value);
}

}  // namespace

std::vector<std::string> LExportArguments(const LClickTrackSettings& t, const LPracticePlan& plan,
                                          const LExportChoice& c) {
  const int subdiv = t.subdivisions >= 2 && t.subdivisions <= 8 ? t.subdivisions : 1;
  std::vector<std::string> args = {
      "--tempo",   std::to_string(t.tempo),       "--measure", t.rhythm.measure.Name(),
      "--pattern", t.rhythm.pattern.ToString(),   "--subdiv",  subdiv == 1 ? "None" : std::to_string(subdiv),
      "--swing",   std::to_string(t.rhythm.swing)};
  for (int i = 0; i < 3; ++i)
    args.insert(args.end(), {kSoundOptions[i], t.sound[i], kLevelOptions[i], std::to_string(t.level[i])});
  args.insert(args.end(), {"--downbeat-db", std::to_string(t.downbeatLevel)});
  if (plan.countInBars > 0) args.insert(args.end(), {"--count-in", std::to_string(plan.countInBars)});
  const LPracticeRamp& r = plan.ramp;
  if (r.On()) args.insert(args.end(), {"--ramp", Join({r.start, r.end, r.step, r.bars})});
  if (plan.gap.On()) args.insert(args.end(), {"--gap", Join({plan.gap.play, plan.gap.mute})});
  if (plan.randomMutePercent > 0)
    args.insert(args.end(),
                {"--random-mute", std::to_string(plan.randomMutePercent) + ":" + std::to_string(plan.randomSeed)});
  args.insert(args.end(), {"--format", c.format});
  if (c.rate > 0) args.insert(args.end(), {"--rate", std::to_string(c.rate)});
  // With neither length the speed trainer's end ends the file.
  if (c.length == LExportChoice::kBars) args.insert(args.end(), {"--bars", std::to_string(c.bars)});
  if (c.length == LExportChoice::kTime) args.insert(args.end(), {"--seconds", std::to_string(c.seconds)});
  args.insert(args.end(), {"-o", c.file});
  return args;
}

LExportDialog::LExportDialog(const LClickTrackSettings& track, const LPracticePlan& plan, QWidget* parent)
    : QDialog(parent), m_track(track), m_plan(plan) {
  setWindowTitle(tr("Export Click Track"));
  // The last export's folder, else the music folder, else home: the first
  // that still exists.
  QString folder = QDir::homePath();
  for (const QString& f :
       {SettingText("Folder", QString()), QStandardPaths::writableLocation(QStandardPaths::MusicLocation)})
    if (!f.isEmpty() && QDir(f).exists()) {
      folder = f;
      break;
    }
  m_file = new QLineEdit(QDir(folder).filePath(
      tr("Click %1 bpm %2.wav").arg(track.tempo).arg(QString::fromStdString(track.rhythm.measure.Name()))));
  m_file->setAccessibleName(tr("File"));
  m_file->setMinimumWidth(m_file->fontMetrics().averageCharWidth() * 48);
  auto* browse = new QPushButton(tr("&Browse…"));
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString chosen = ChooseFile(m_file->text());
    if (!chosen.isEmpty()) m_file->setText(chosen);
  });
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_file, 1);
  fileRow->addWidget(browse);

  auto* bars = new QRadioButton(tr("B&ars:"));
  auto* time = new QRadioButton(tr("&Time (mm:ss):"));
  auto* trainer = new QRadioButton(tr("&Until the speed trainer ends"));
  trainer->setEnabled(plan.ramp.On());
  m_lengthKind = new QButtonGroup(this);
  m_lengthKind->addButton(bars, LExportChoice::kBars);
  m_lengthKind->addButton(time, LExportChoice::kTime);
  m_lengthKind->addButton(trainer, LExportChoice::kUntilTrainerStops);
  m_bars = new QSpinBox;
  m_bars->setRange(1, 99999);
  m_bars->setValue(LUserSettingGetInt(kSection, "Bars", 16, 1, 99999));
  // The practice timer, when set, is the natural length of a session.
  const QString defaultTime =
      QString::fromStdString(LPracticePlan::FormatTime(plan.timerSeconds > 0 ? plan.timerSeconds : 180));
  m_time = new QLineEdit(plan.timerSeconds > 0 ? defaultTime : SettingText("Time", defaultTime));
  m_time->setToolTip(tr("Minutes and seconds, or hours, minutes and seconds, up to 24:00:00"));
  connect(m_lengthKind, &QButtonGroup::idToggled, this, [this](int, bool) {
    m_bars->setEnabled(m_lengthKind->checkedId() == LExportChoice::kBars);
    m_time->setEnabled(m_lengthKind->checkedId() == LExportChoice::kTime);
  });
  SetLength(plan.timerSeconds > 0
                ? LExportChoice::kTime
                : static_cast<LExportChoice::Length>(LUserSettingGetInt(kSection, "Length", 0, 0, 1)));

  m_format = new QComboBox;
  for (const auto& f : kFormats) m_format->addItem(tr(f[1]), QString::fromLatin1(f[0]));
  m_format->setCurrentIndex(std::max(0, m_format->findData(SettingText("Format", QStringLiteral("s16")))));
  m_rate = new QComboBox;
  for (int rate : kRates) m_rate->addItem(rate ? tr("%1 Hz").arg(rate) : tr("The beat sound's"), rate);
  m_rate->setCurrentIndex(std::max(0, m_rate->findData(LUserSettingGetInt(kSection, "Rate", 0, 0, 384000))));

  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  form->addRow(LLabel(tr("&File:"), 0, m_file), fileRow);
  form->addRow(bars, m_bars);
  form->addRow(time, m_time);
  form->addRow(trainer);
  form->addRow(tr("Sample f&ormat:"), m_format);
  form->addRow(tr("Sample &rate:"), m_rate);
  // What the window plays, as the file will have it (sounds and levels
  // too). Short lines: a wrapped label would not fit at the smallest size.
  const QString swing = track.rhythm.swing != kSwingStraight ? tr(", swing %1 %").arg(track.rhythm.swing) : QString();
  form->addRow(tr("Track:"), new QLabel(tr("%1 bpm, %2, subdivision %3%4")
                                            .arg(track.tempo)
                                            .arg(QString::fromStdString(track.rhythm.Describe()))
                                            .arg(track.subdivisions)
                                            .arg(swing)));
  form->addRow(tr("Practice:"), new QLabel(LPracticePanel::Summary(plan)));
  layout->addLayout(form);
  LAddButtonRow(
      this, layout, tr("&Export"), [this] { LShowHelp(this, QStringLiteral("export")); }, [this] { CmOk(); });
}

void LExportDialog::SetLength(LExportChoice::Length length) {
  if (length == LExportChoice::kUntilTrainerStops && !m_plan.ramp.On()) length = LExportChoice::kBars;
  m_lengthKind->button(length)->setChecked(true);
  m_bars->setEnabled(length == LExportChoice::kBars);
  m_time->setEnabled(length == LExportChoice::kTime);
}

bool LExportDialog::Choice(LExportChoice& c, QString& why) const {
  c.file = m_file->text().trimmed().toStdString();
  if (c.file.empty()) return why = tr("Please choose the file to export to."), false;
  c.length = static_cast<LExportChoice::Length>(m_lengthKind->checkedId());
  c.bars = m_bars->value();
  std::string error;
  if (c.length == LExportChoice::kTime &&
      !LPracticePlan::ParseTimer(m_time->text().trimmed().toStdString(), c.seconds, error))
    return why = tr("The length \"%1\" is not a time from 0:01 to 24:00:00.").arg(m_time->text()), false;
  c.format = m_format->currentData().toString().toStdString();
  c.rate = m_rate->currentData().toInt();
  return true;
}

bool LExportDialog::KeepGoing(long long, long long) { return true; }

LExportDialog::Outcome LExportDialog::Export(QString& message) {
  LExportChoice choice;
  if (!Choice(choice, message)) return Outcome::Failed;
  const QString file = QString::fromStdString(choice.file);
  RenderOptions options;
  std::string error;
  if (!ParseRenderOptions(LExportArguments(m_track, m_plan, choice), options, error)) {
    message = tr("The click track could not be exported to \"%1\": %2").arg(file, QString::fromStdString(error));
    return Outcome::Failed;
  }
  LExportJob job;
  job.Start(options, GetProgramDataFolder() + "/" + kDefaultSoundFolder,
            [this](long long done, long long total) { return KeepGoing(done, total); });
  {
    QProgressDialog progress(tr("Exporting the click track to \"%1\"…").arg(QFileInfo(file).fileName()), tr("Cancel"),
                             0, kProgressSteps, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    connect(&progress, &QProgressDialog::canceled, &progress, [&job] { job.Cancel(); });
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
      if (job.Finished()) return loop.quit();
      progress.setValue(static_cast<int>(job.Share() * kProgressSteps));
    });
    poll.start(kProgressPollMs);
    if (!job.Finished()) loop.exec();
    // The loop ends early only when the program is quitting (SIGTERM ends
    // every loop): stop, leaving no file, rather than hold the exit.
    if (!job.Finished()) job.Cancel();
  }
  job.Wait();
  if (job.Written()) {
    Remember(choice);
    message = tr("The click track was exported to \"%1\".").arg(file);
    return Outcome::Written;
  }
  if (job.Cancelled()) {
    message = tr("The export was cancelled; \"%1\" was not written.").arg(file);
    return Outcome::Cancelled;
  }
  message = tr("The click track could not be exported to \"%1\": %2").arg(file, QString::fromStdString(job.Error()));
  return Outcome::Failed;
}

void LExportDialog::Remember(const LExportChoice& c) const {
  LUserSettingSetString(kSection, "Folder",
                        QFileInfo(QString::fromStdString(c.file)).absolutePath().toUtf8().constData());
  LUserSettingSetString(kSection, "Format", c.format.c_str());
  LUserSettingSet<int>(kSection, "Rate", c.rate);
  if (c.length != LExportChoice::kUntilTrainerStops) LUserSettingSet<int>(kSection, "Length", c.length);
  LUserSettingSet<int>(kSection, "Bars", c.bars);
  if (c.length == LExportChoice::kTime)
    LUserSettingSetString(kSection, "Time", LPracticePlan::FormatTime(c.seconds).c_str());
}

void LExportDialog::CmOk() {
  QString message;
  const Outcome outcome = Export(message);
  ShowResult(outcome, message);
  if (outcome == Outcome::Written) accept();
}

void LExportDialog::ShowResult(Outcome outcome, const QString& message) {
  if (outcome == Outcome::Failed)
    QMessageBox::critical(this, windowTitle(), message);
  else if (outcome == Outcome::Written)
    QMessageBox::information(this, windowTitle(), message);
}

QString LExportDialog::ChooseFile(const QString& start) {
  return QFileDialog::getSaveFileName(this, tr("Export Click Track"), start, tr("WAV files (*.wav)"));
}

void LExportDialog::Install(MainDialog& window) {
  QAction* action = window.AddMenuItem("File", tr("&Export Click Track…"));
  if (!action) return;
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  QObject::connect(action, &QAction::triggered, &window, [&window] {
    LMVModel& model = window.Model();
    const LClickTrackSettings track = LCurrentClickTrack(model.GetTempo(), model.GetSubDiv() + 1, model.GetRhythm());
    LExportDialog dialog(track, model.Practice().Plan(), &window);
    dialog.exec();
  });
}
