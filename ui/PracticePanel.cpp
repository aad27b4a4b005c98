#include "ui/PracticePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/MVModel.h"
#include "ui/MainDialog.h"
#include "ui/PracticeKeys.h"
#include "ui/PracticePresets.h"

namespace {

QString Time(long long seconds) { return QString::fromStdString(LPracticePlan::FormatTime(seconds)); }

QSpinBox* Spin(int lo, int hi, const QString& suffix, const QString& tip) {
  auto* s = new QSpinBox;
  s->setRange(lo, hi);
  s->setSuffix(suffix);
  s->setToolTip(tip);
  s->setKeyboardTracking(false);
  return s;
}

}  // namespace

LPracticePanel* LPracticePanel::Install(MainDialog& window) {
  LPracticeModel& practice = window.Model().Practice();
  auto* panel = new LPracticePanel(practice);
  window.AddPanel(panel);
  new LPracticeKeys(&window, practice);
  return panel;
}

LPracticePanel::LPracticePanel(LPracticeModel& practice, QWidget* parent) : QWidget(parent), m_practice(practice) {
  Build();
  ShowPlan(m_practice.Plan());
  // A preset's plan comes back into the fields.
  m_practice.SetListener([this] {
    ShowPlan(m_practice.Plan());
    Refresh();
  });
  LPracticePresetsUse(&m_practice);
  // The status line follows the model's playing-time ticks: no timer of
  // its own, and nothing to do while stopped.
  m_practice.SetTickListener([this] { Show(false); });
  Refresh();
}

LPracticePanel::~LPracticePanel() {
  m_practice.SetTickListener(nullptr);
  m_practice.SetListener(nullptr);
  LPracticePresetsUse(nullptr);
}

void LPracticePanel::Build() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* header = new QHBoxLayout;
  m_toggle = new QToolButton;
  m_toggle->setText(tr("&Practice"));
  m_toggle->setCheckable(true);
  m_toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  m_toggle->setArrowType(Qt::RightArrow);
  m_toggle->setToolTip(tr("Count-in, speed trainer, gap trainer, random mute and practice timer"));
  m_status = new QLabel;
  m_status->setTextFormat(Qt::PlainText);
  QFont bold = m_status->font();
  bold.setBold(true);
  m_status->setFont(bold);
  auto* tap = new QToolButton;
  tap->setText(tr("Tap"));
  tap->setToolTip(tr("Tap the tempo: two taps or more set it (T)"));
  tap->setFocusPolicy(Qt::NoFocus);  // Space keeps playing and stopping
  connect(tap, &QToolButton::pressed, this, [this] { m_practice.Tap(LPracticeKeys::NowUs()); });
  header->addWidget(m_toggle);
  header->addWidget(m_status, 1);
  header->addWidget(tap);
  outer->addLayout(header);

  m_body = new QWidget;
  auto* grid = new QGridLayout(m_body);
  grid->setContentsMargins(12, 0, 0, 0);
  const QString bars = tr(" bars");
  m_countIn =
      Spin(0, LPracticePlan::kMaxCountIn, tr(" bar(s)"), tr("Bars of beats before the first bar, on every Play"));
  m_countIn->setSpecialValueText(tr("Off"));
  grid->addWidget(new QLabel(tr("Count-in:")), 0, 0);
  grid->addWidget(m_countIn, 0, 1, Qt::AlignLeft);

  m_rampOn = new QCheckBox(tr("Speed trainer:"));
  const QString bpm = tr(" bpm");
  m_rampStart = Spin(10, 280, bpm, tr("Tempo of the first bars (and of the count-in)"));
  m_rampEnd = Spin(10, 280, bpm, tr("Tempo to reach; below the start, the tempo falls"));
  m_rampStep = Spin(1, 270, bpm, tr("Change at each step"));
  m_rampBars = Spin(1, LPracticePlan::kMaxRampBars, bars, tr("Bars at each tempo"));
  m_rampEndAction = new QComboBox;
  m_rampEndAction->addItems({tr("then hold"), tr("then stop")});
  m_rampEndAction->setToolTip(tr("At the end tempo: keep playing, or stop after its bars"));
  grid->addWidget(m_rampOn, 1, 0);
  auto* ramp = new QHBoxLayout;
  ramp->addWidget(m_rampStart);
  ramp->addWidget(new QLabel(tr("to")));
  ramp->addWidget(m_rampEnd);
  ramp->addWidget(new QLabel(tr("by")));
  ramp->addWidget(m_rampStep);
  ramp->addWidget(new QLabel(tr("every")));
  ramp->addWidget(m_rampBars);
  ramp->addWidget(m_rampEndAction);
  ramp->addStretch();
  grid->addLayout(ramp, 1, 1);

  m_gapOn = new QCheckBox(tr("Gap trainer:"));
  m_gapPlay = Spin(1, LPracticePlan::kMaxGapBars, tr(" played"), tr("Bars heard"));
  m_gapMute = Spin(1, LPracticePlan::kMaxGapBars, tr(" muted"), tr("Bars silent, while the light and counter go on"));
  grid->addWidget(m_gapOn, 2, 0);
  auto* gap = new QHBoxLayout;
  gap->addWidget(m_gapPlay);
  gap->addWidget(m_gapMute);
  gap->addStretch();
  grid->addLayout(gap, 2, 1);

  m_randomMute =
      Spin(0, LPracticePlan::kMaxRandomMute, tr(" %"), tr("Chance that a beat after the count-in is silent"));
  m_randomMute->setSpecialValueText(tr("Off"));
  grid->addWidget(new QLabel(tr("Random mute:")), 3, 0);
  grid->addWidget(m_randomMute, 3, 1, Qt::AlignLeft);

  m_timerOn = new QCheckBox(tr("Stop after:"));
  m_timer = new QTimeEdit;
  m_timer->setDisplayFormat(QStringLiteral("H:mm:ss"));
  m_timer->setMinimumTime(QTime(0, 0, 1));
  m_timer->setMaximumTime(QTime(23, 59, 59));
  m_timer->setToolTip(tr("Practice time after which playing stops (hours:minutes:seconds)"));
  m_timer->setKeyboardTracking(false);
  grid->addWidget(m_timerOn, 4, 0);
  grid->addWidget(m_timer, 4, 1, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);
  outer->addWidget(m_body);
  m_body->setVisible(false);

  connect(m_toggle, &QToolButton::toggled, this, [this](bool open) {
    m_body->setVisible(open);
    m_toggle->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
  });
  for (QSpinBox* s : {m_countIn, m_rampStart, m_rampEnd, m_rampStep, m_rampBars, m_gapPlay, m_gapMute, m_randomMute})
    connect(s, &QSpinBox::valueChanged, this, [this] { Apply(); });
  for (QCheckBox* c : {m_rampOn, m_gapOn, m_timerOn}) connect(c, &QCheckBox::toggled, this, [this] { Apply(); });
  connect(m_rampEndAction, &QComboBox::currentIndexChanged, this, [this] { Apply(); });
  connect(m_timer, &QTimeEdit::timeChanged, this, [this] { Apply(); });
}

void LPracticePanel::ShowPlan(const LPracticePlan& p) {
  m_showing = true;
  m_countIn->setValue(p.countInBars);
  m_rampOn->setChecked(p.ramp.On());
  // An off trainer shows the values it last had, or a useful start.
  m_rampStart->setValue(p.ramp.start > 0 ? p.ramp.start : 80);
  m_rampEnd->setValue(p.ramp.end > 0 ? p.ramp.end : 120);
  m_rampStep->setValue(p.ramp.step > 0 ? p.ramp.step : 4);
  m_rampBars->setValue(p.ramp.bars > 0 ? p.ramp.bars : 4);
  m_rampEndAction->setCurrentIndex(p.ramp.stopAtEnd ? 1 : 0);
  m_gapOn->setChecked(p.gap.On());
  m_gapPlay->setValue(p.gap.On() ? p.gap.play : 3);
  m_gapMute->setValue(p.gap.On() ? p.gap.mute : 1);
  m_randomMute->setValue(p.randomMutePercent);
  m_timerOn->setChecked(p.timerSeconds > 0);
  const int t = p.timerSeconds > 0 ? std::min(p.timerSeconds, 86399) : 600;
  m_timer->setTime(QTime(t / 3600, t / 60 % 60, t % 60));
  m_showing = false;
}

void LPracticePanel::Apply() {
  if (m_showing) return;
  LPracticePlan p = m_practice.Plan();
  p.countInBars = m_countIn->value();
  p.ramp = {m_rampStart->value(), m_rampEnd->value(), m_rampStep->value(),
            m_rampOn->isChecked() ? m_rampBars->value() : 0, m_rampEndAction->currentIndex() == 1};
  p.gap = m_gapOn->isChecked() ? LPracticeGap{m_gapPlay->value(), m_gapMute->value()} : LPracticeGap{};
  p.randomMutePercent = m_randomMute->value();
  p.timerSeconds = m_timerOn->isChecked() ? QTime(0, 0).secsTo(m_timer->time()) : 0;
  m_practice.SetPlan(p);
  Refresh();
}

void LPracticePanel::Refresh() { Show(true); }

// Ticks come once a display frame; the text changes once a beat or a
// second, so unless forced it is written only when what it says changed.
void LPracticePanel::Show(bool force) {
  const LPracticeModel::Status s = m_practice.Poll(LMVModel::MonotonicTicks());
  if (!force && Key(s) == m_shown) return;
  m_shown = Key(s);
  const QString text = s.playing ? Live(m_practice.Plan(), s) : Summary(m_practice.Plan());
  if (text != m_status->text()) m_status->setText(text);
}

std::array<long long, 9> LPracticePanel::Key(const LPracticeModel::Status& s) {
  const long long beat = s.heard ? s.beat.frame * 2 + (s.beat.muted ? 1 : 0) : -2;
  return {s.playing ? 1 : 0, beat,           s.changeAhead ? 1 : 0, s.barsLeft, s.nextTempo,
          s.elapsed,         s.remaining,    s.session,             s.heard ? s.beat.bpm : 0};
}

QString LPracticePanel::StatusText() const { return m_status->text(); }

QString LPracticePanel::Summary(const LPracticePlan& p) {
  QStringList on;
  if (p.countInBars > 0) on << tr("Count-in %1").arg(p.countInBars);
  if (p.ramp.On())
    on << tr("Speed %1\u2192%2 by %3 every %4").arg(p.ramp.start).arg(p.ramp.end).arg(p.ramp.step).arg(p.ramp.bars);
  if (p.gap.On()) on << tr("Gap %1:%2").arg(p.gap.play).arg(p.gap.mute);
  if (p.randomMutePercent > 0) on << tr("Random mute %1 %").arg(p.randomMutePercent);
  if (p.timerSeconds > 0) on << tr("Stop after %1").arg(Time(p.timerSeconds));
  return on.isEmpty() ? tr("Off") : on.join(QStringLiteral("  \u00b7  "));
}

QString LPracticePanel::Live(const LPracticePlan& p, const LPracticeModel::Status& s) {
  QStringList parts;
  if (s.heard) {
    const LPracticeBeat& b = s.beat;
    if (b.countIn)
      parts << tr("Count-in %1 of %2").arg(b.barBeat + 1).arg(b.beatsPerBar);
    else
      parts << tr("Bar %1  Beat %2").arg(b.bar - p.countInBars + 1).arg(b.barBeat + 1) +
                   (b.muted ? tr(" (muted)") : QString());
    if (p.ramp.On())
      parts << (!s.changeAhead    ? tr("%1 bpm").arg(b.bpm)
                : s.barsLeft == 1 ? tr("%1 \u2192 %2 next bar").arg(b.bpm).arg(s.nextTempo)
                                  : tr("%1 \u2192 %2 in %3 bars").arg(b.bpm).arg(s.nextTempo).arg(s.barsLeft));
  }
  if (s.remaining >= 0)
    parts << tr("%1 of %2, %3 left").arg(Time(s.elapsed), Time(p.timerSeconds), Time(s.remaining));
  else
    parts << Time(s.elapsed);
  parts << tr("Session %1").arg(Time(s.session));
  return parts.join(QStringLiteral("  \u00b7  "));
}
