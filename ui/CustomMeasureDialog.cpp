#include "ui/CustomMeasureDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/DialogLayout.h"
#include "ui/PatternStrip.h"

LCustomMeasureDialog::LCustomMeasureDialog(const LMeasure& start, QWidget* parent) : QDialog(parent), m_result(start) {
  setWindowTitle(QCoreApplication::translate("LCustomMeasureDialog", "Custom Measure"));
  m_beats = new QSpinBox;
  m_beats->setRange(1, LBeatPattern::kMaxBeats);
  m_beats->setValue(start.IsNone() ? 4 : start.GetBeats());
  m_grouping = new QComboBox;
  m_grouping->setEditable(true);
  m_grouping->setInsertPolicy(QComboBox::NoInsert);
  m_grouping->lineEdit()->setPlaceholderText(QCoreApplication::translate("LCustomMeasureDialog", "one group"));
  m_preview = new LPatternStrip;
  m_problem = new QLabel;
  m_problem->setWordWrap(true);
  m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

  auto* form = new QFormLayout;
  form->addRow(QCoreApplication::translate("LCustomMeasureDialog", "&Beats in the bar:"), m_beats);
  form->addRow(QCoreApplication::translate("LCustomMeasureDialog", "&Grouping:"), m_grouping);
  auto* box = new QVBoxLayout(this);
  box->addLayout(form);
  box->addWidget(new QLabel(QCoreApplication::translate(
      "LCustomMeasureDialog", "Every group begins with an accent; the first with the downbeat.")));
  box->addWidget(m_preview);
  box->addWidget(m_problem);
  box->addWidget(m_buttons);

  FillGroupings();
  m_grouping->setEditText(QString::fromStdString(start.Grouping()));
  connect(m_beats, &QSpinBox::valueChanged, this, [this] {
    FillGroupings();
    Check();
  });
  connect(m_grouping, &QComboBox::editTextChanged, this, [this] { Check(); });
  LAddCloseKey(this);
  connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
    QString why;
    if (Current(m_result, why)) accept();
  });
  Check();
}

void LCustomMeasureDialog::FillGroupings() {
  const QString typed = m_grouping->currentText();
  m_grouping->blockSignals(true);
  m_grouping->clear();
  for (const std::string& g : LCommonGroupings(m_beats->value())) m_grouping->addItem(QString::fromStdString(g));
  m_grouping->setEditText(typed);
  m_grouping->blockSignals(false);
}

bool LCustomMeasureDialog::Current(LMeasure& measure, QString& why) const {
  std::string error;
  if (LMeasure::FromGrouping(m_beats->value(), m_grouping->currentText().toStdString(), measure, error)) return true;
  why = QString::fromStdString(error);
  return false;
}

bool LCustomMeasureDialog::CanAccept() const { return m_buttons->button(QDialogButtonBox::Ok)->isEnabled(); }

void LCustomMeasureDialog::Check() {
  LMeasure measure;
  QString why;
  const bool ok = Current(measure, why);
  m_buttons->button(QDialogButtonBox::Ok)->setEnabled(ok);
  m_problem->setText(ok ? QString::fromStdString(measure.Name()) : why);
  m_problem->setForegroundRole(ok ? QPalette::WindowText : QPalette::LinkVisited);
  if (ok) m_preview->SetPattern(measure.Pattern(), measure);
}
