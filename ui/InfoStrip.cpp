#include "ui/InfoStrip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

LInfoStrip::LInfoStrip(QWidget* parent) : QWidget(parent), m_label(new QLabel(this)) {
  m_label->setWordWrap(true);
  m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // Dark ink on the strip's own pale yellow, under light and dark themes alike.
  QPalette ink = m_label->palette();
  ink.setColor(QPalette::WindowText, QColor(48, 38, 0));
  ink.setColor(QPalette::Text, QColor(48, 38, 0));
  m_label->setPalette(ink);
  auto* close = new QToolButton(this);
  close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
  close->setAutoRaise(true);
  close->setToolTip(tr("Close this message"));
  close->setAccessibleName(tr("Close this message"));
  connect(close, &QToolButton::clicked, this, [this] {
    Clear();
    if (onClosed) onClosed();
  });
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 2, 4, 2);
  layout->addWidget(m_label, 1);
  layout->addWidget(close);
  hide();
}

void LInfoStrip::AddMessage(const QString& text) {
  if (!m_messages.contains(text)) m_messages << text;
  Update();
}

bool LInfoStrip::RemoveMessage(const QString& text) {
  if (m_messages.removeAll(text) == 0) return false;
  Update();
  return true;
}

void LInfoStrip::Clear() {
  m_messages.clear();
  Update();
}

void LInfoStrip::Update() {
  m_label->setText(Text());
  setVisible(!m_messages.isEmpty());
  if (isVisible()) raise();
}

QString LInfoStrip::Text() const { return m_messages.join(QLatin1Char('\n')); }

void LInfoStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(255, 244, 206));
  p.setPen(QColor(214, 190, 120));
  p.drawLine(0, 0, width(), 0);
}
