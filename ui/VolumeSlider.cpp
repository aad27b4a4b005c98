#include "ui/VolumeSlider.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

#include "ui/CommandTarget.h"
#include "ui/Icons.h"

namespace {

QLabel* Icon(QWidget* pane, int image) {
  auto* label = new QLabel(pane);
  label->setPixmap(LGetIcon(image).pixmap(14, 14));
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

void LVolumeSlider::Init(LCommandTarget& target, QWidget* pane, int id) {
  m_target = &target;
  m_pane = pane;
  m_id = id;
  m_quiet = Icon(pane, kIconVolumeQuiet);
  m_loud = Icon(pane, kIconVolumeLoud);
  m_trackBar = new QSlider(Qt::Horizontal, pane);
  m_trackBar->setRange(m_minimum.Get(), m_maximum.Get());
  m_trackBar->setValue(m_level.Get());
  m_trackBar->setTracking(true);  // a command for every step while the thumb is dragged
  m_trackBar->setPageStep(5);
  m_trackBar->setFocusPolicy(Qt::StrongFocus);
  m_trackBar->setAccessibleName(tr("Volume"));
  UpdateText();
  QObject::connect(m_trackBar, &QSlider::valueChanged, this, [this](int v) { ValueChanged(v); });
  auto* layout = new QHBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(m_quiet);
  layout->addWidget(m_trackBar, 1);
  layout->addWidget(m_loud);
}

// The tooltip and what a screen reader says: the percentage and the level.
void LVolumeSlider::UpdateText() {
  const int v = m_trackBar->value();
  const QString percent = PercentText(v, m_minimum.Get(), m_maximum.Get());
  m_trackBar->setToolTip(percent);
  m_trackBar->setAccessibleDescription(tr("%1, %2 dB").arg(percent).arg(v));
}

void LVolumeSlider::SetLevel(const LdBLevel& level) {
  m_level = level;
  if (!m_trackBar) return;
  const QSignalBlocker quiet(m_trackBar);
  m_trackBar->setValue(level.Get());
  UpdateText();
}

QString LVolumeSlider::PercentText(int level, int minimum, int maximum) {
  const int percent = static_cast<int>(float(level - minimum) / float(maximum - minimum) * 100.0f);
  return QStringLiteral("%1%").arg(percent);
}

void LVolumeSlider::ValueChanged(int position) {
  m_level = LdBLevel(position);
  UpdateText();
  const QString text = m_trackBar->toolTip();
  // Beside the thumb, so the figure follows the drag.
  QStyleOptionSlider option;
  option.initFrom(m_trackBar);
  option.orientation = Qt::Horizontal;
  option.minimum = m_trackBar->minimum();
  option.maximum = m_trackBar->maximum();
  option.sliderPosition = position;
  option.sliderValue = position;
  const QRect thumb =
      m_trackBar->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, m_trackBar);
  if (m_trackBar->isVisible()) QToolTip::showText(m_trackBar->mapToGlobal(thumb.bottomLeft()), text, m_trackBar);
  m_target->Command(m_id, 0);
}
