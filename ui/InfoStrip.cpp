#include "ui/InfoStrip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

LInfoStrip::LInfoStrip(QWidget* parent) : QWidget(parent), m_label(new QLabel(this)) {
  m_label->setWordWrap(true);
  m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* close = new QToolButton(this);
  close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
  close->setAutoRaise(true);
  close->setToolTip(QStringLiteral("Close this message"));
  connect(close, &QToolButton::clicked, this, [this] {
    hide();
    if (onClosed) onClosed();
  });
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 2, 4, 2);
  layout->addWidget(m_label, 1);
  layout->addWidget(close);
  hide();
}

void LInfoStrip::ShowMessage(const QString& text) {
  m_label->setText(text);
  show();
  raise();
}

QString LInfoStrip::Text() const { return m_label->text(); }

int LInfoStrip::HeightForWidth(int width) const { return layout()->totalHeightForWidth(width); }

void LInfoStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(255, 244, 206));
  p.setPen(QColor(214, 190, 120));
  p.drawLine(0, 0, width(), 0);
}
