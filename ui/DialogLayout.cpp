#include "ui/DialogLayout.h"

#include <QFrame>
#include <QLabel>

QWidget* LPlaceWidget(QWidget* parent, QWidget* control, int id, int x, int y, int width, int height) {
  control->setParent(parent);
  if (id) control->setObjectName(QString::number(id));
  if (height < 0) height = control->sizeHint().height();
  control->setGeometry(x, y, width, height);
  return control;
}

QLabel* LPlaceLabel(QWidget* parent, const char* text, int id, int x, int y, int width, int height) {
  auto* label = new QLabel(QString::fromUtf8(text));
  label->setWordWrap(height > 24);
  return LPlace(parent, label, id, x, y, width, height);
}

void LPlaceSeparator(QWidget* parent, int x, int y, int width) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(x, y, width, 2);
}

QWidget* LFindControl(const QWidget* parent, int id) { return parent->findChild<QWidget*>(QString::number(id)); }
