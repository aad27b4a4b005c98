// Template bodies of DialogLayout.h.
#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>

template <class OnHelp, class OnOk>
QDialogButtonBox* LAddButtonRow(QDialog* dialog, QVBoxLayout* layout, const QString& okText, OnHelp onHelp,
                                OnOk onOk) {
  layout->addWidget(LSeparator());
  auto* box = new QDialogButtonBox(QDialogButtonBox::Help | QDialogButtonBox::Cancel | QDialogButtonBox::Ok, dialog);
  QPushButton* ok = box->button(QDialogButtonBox::Ok);
  ok->setObjectName(QStringLiteral("OK"));
  if (!okText.isEmpty()) ok->setText(okText);
  ok->setDefault(true);
  QObject::connect(box->button(QDialogButtonBox::Help), &QPushButton::clicked, dialog, onHelp);
  QObject::connect(box->button(QDialogButtonBox::Cancel), &QPushButton::clicked, dialog, &QDialog::reject);
  QObject::connect(ok, &QPushButton::clicked, dialog, onOk);
  layout->addWidget(box);
  LAddCloseKey(dialog);
  return box;
}
