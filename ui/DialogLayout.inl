// Template bodies of DialogLayout.h.
#include <QDialog>
#include <QPushButton>

template <class T>
T* LPlace(QWidget* parent, T* control, int id, int x, int y, int width, int height) {
  LPlaceWidget(parent, control, id, x, y, width, height);
  return control;
}

template <class OnHelp, class OnOk>
void LPlaceButtonRow(QDialog* dialog, int y, const char* okText, OnHelp onHelp, OnOk onOk) {
  auto* help = new QPushButton(QStringLiteral("Help"), dialog);
  help->setAutoDefault(false);
  help->move(18, y);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
  cancel->setAutoDefault(false);
  cancel->setGeometry(308, y, 100, cancel->sizeHint().height());
  auto* ok = new QPushButton(QString::fromUtf8(okText), dialog);
  ok->setObjectName(QStringLiteral("OK"));
  ok->setDefault(true);
  ok->setGeometry(422, y, 100, ok->sizeHint().height());
  QObject::connect(help, &QPushButton::clicked, dialog, onHelp);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  QObject::connect(ok, &QPushButton::clicked, dialog, onOk);
}
