#include "ui/VolumeSlider.h"

#include <QEvent>
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
  return label;
}

}  // namespace

void LVolumeSlider::Init(LCommandTarget& target, QWidget* pane, int id) {
  m_target = &target;
  m_pane = pane;
  m_id = id;
  pane->installEventFilter(this);
  m_quiet = Icon(pane, kIconVolumeQuiet);
  m_loud = Icon(pane, kIconVolumeLoud);
  m_trackBar = new QSlider(Qt::Horizontal, pane);
  m_trackBar->setRange(m_minimum.Get(), m_maximum.Get());
  m_trackBar->setValue(m_level.Get());
  m_trackBar->setTracking(true);  // a command for every step while the thumb is dragged
  m_trackBar->setToolTip(PercentText(m_level.Get(), m_minimum.Get(), m_maximum.Get()));
  QObject::connect(m_trackBar, &QSlider::valueChanged, this, [this](int v) { ValueChanged(v); });
  RelayoutControls();
}

void LVolumeSlider::RelayoutControls() {
  if (!m_pane) return;
  const int pw = m_pane->width();
  m_quiet->setGeometry(1, 1, 14, 14);
  m_trackBar->setGeometry(16, 1, pw - 32, 20);
  m_loud->setGeometry(pw - 15, 1, 14, 14);
}

void LVolumeSlider::SetLevel(const LdBLevel& level) {
  m_level = level;
  if (!m_trackBar) return;
  const QSignalBlocker quiet(m_trackBar);
  m_trackBar->setValue(level.Get());
  m_trackBar->setToolTip(PercentText(m_trackBar->value(), m_minimum.Get(), m_maximum.Get()));
}

QString LVolumeSlider::PercentText(int level, int minimum, int maximum) {
  const int percent = static_cast<int>(float(level - minimum) / float(maximum - minimum) * 100.0f);
  return QStringLiteral("%1%").arg(percent);
}

void LVolumeSlider::ValueChanged(int position) {
  m_level = LdBLevel(position);
  const QString text = PercentText(position, m_minimum.Get(), m_maximum.Get());
  m_trackBar->setToolTip(text);
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

bool LVolumeSlider::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pane && event->type() == QEvent::Resize) RelayoutControls();
  return QObject::eventFilter(watched, event);
}
