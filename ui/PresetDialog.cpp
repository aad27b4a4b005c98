#include "ui/PresetDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "model/MVModel.h"
#include "store/Presets.h"
#include "ui/DialogLayout.h"
#include "ui/HelpWindow.h"
#include "ui/ModelTexts.h"
#include "ui/Placement.h"
#include "ui/PracticePresets.h"
#include "ui/Prompts.h"

LPresetDialog::LPresetDialog(LProfile& profile, const char* oldName, int tempo, int measure, int subdiv,
                             QWidget* parent)
    : QDialog(parent),
      m_profile(profile),
      m_oldName(oldName ? oldName : ""),
      m_tempoValue(tempo),
      m_measureIndex(measure),
      m_subdivIndex(subdiv) {
  m_oldName.resize(LRecordCutText(m_oldName).size());
  m_name = LNamed(new QLineEdit, kIdName);
  m_name->setMaxLength(kRecordTextMax);
  m_tempo = LNamed(new QLineEdit, kIdTempo);
  m_tempo->setAccessibleDescription(
      tr("Beats per minute, %1 to %2").arg(LMVModel::GetTempoMin()).arg(LMVModel::GetTempoMax()));
  m_measure = LNamed(new QComboBox, kIdMeasure);
  m_subdiv = LNamed(new QComboBox, kIdSubDiv);
  // Labels on the left, fields on the right, in two equal columns.
  auto* grid = new QGridLayout;
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  const std::pair<QLabel*, QWidget*> rows[] = {
      {LLabel(tr("&Name:"), kIdNameLabel, m_name), m_name},
      {LLabel(tr("&Tempo:"), kIdTempoLabel, m_tempo), m_tempo},
      {LLabel(tr("&Measure:"), kIdMeasureLabel, m_measure), m_measure},
      {LLabel(tr("&SubDivs:"), kIdSubDivLabel, m_subdiv), m_subdiv},
  };
  for (int i = 0; i < 4; ++i) {
    grid->addWidget(rows[i].first, i, 0);
    grid->addWidget(rows[i].second, i, 1);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch(1);
  LAddButtonRow(
      this, layout, QString(), [this] { CmHelp(); }, [this] { CmOk(); });
  InitDialog();
}

void LPresetDialog::InitDialog() {
  for (const char* const* n = LMVModel::GetMeasureNames(); *n; ++n) m_measure->addItem(LModelNameText(*n));
  for (const char* const* n = LMVModel::GetSubDivNames(); *n; ++n) m_subdiv->addItem(LModelNameText(*n));
  if (!m_oldName.empty()) {
    setWindowTitle(tr("Change Preset"));
    m_name->setText(QString::fromStdString(m_oldName));
  } else {
    setWindowTitle(tr("New Preset"));
  }
  m_tempo->setText(QString::number(m_tempoValue));
  // An index outside the lists (a record edited by hand) leaves the list
  // without a selection rather than pointing past its end.
  m_measure->setCurrentIndex(m_measureIndex >= 0 && m_measureIndex < m_measure->count() ? m_measureIndex : -1);
  m_subdiv->setCurrentIndex(m_subdivIndex >= 0 && m_subdivIndex < m_subdiv->count() ? m_subdivIndex : -1);
}

void LPresetDialog::SetRhythm(const LRhythm& rhythm) {
  m_rhythm = rhythm;
  if (rhythm.measure.LegacyIndex() >= 0 && !rhythm.IsEdited()) return;
  if (m_rhythmItem < 0) m_rhythmItem = m_measure->count();
  m_measure->insertItem(m_rhythmItem, QString::fromStdString(rhythm.Describe()));
  m_measure->setCurrentIndex(m_rhythmItem);
}

bool LPresetDialog::Open(QWidget* parent) {
  if (parent) setParent(parent, windowFlags());
  adjustSize();
  LPlaceOver(this, parent);
  return exec() == QDialog::Accepted;
}

int LPresetDialog::ParseTempo(const QString& text) {
  int value = 0;
  for (QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
    value = value * 10 + (c.unicode() - '0');
    if (value > 100000) break;  // far outside the range already
  }
  return value;
}

bool LPresetDialog::CmOk() {
  const QString name = m_name->text().trimmed();
  if (name.isEmpty()) {
    LShowFieldMessage(m_name, tr(kNameMissing));
    return false;
  }
  const int tempo = ParseTempo(m_tempo->text().trimmed());
  if (tempo < LMVModel::GetTempoMin() || tempo > LMVModel::GetTempoMax()) {
    LShowFieldMessage(m_tempo, tr(kTempoInvalid));
    return false;
  }
  m_tempoValue = tempo;
  // No selection (an index the lists do not have) keeps the given index.
  const bool keepsRhythm = m_rhythm && m_measure->currentIndex() == m_rhythmItem;
  if (keepsRhythm)
    m_measureIndex = m_rhythm->LegacyIndex();
  else if (m_measure->currentIndex() >= 0)
    m_measureIndex = m_measure->currentIndex();
  if (m_subdiv->currentIndex() >= 0) m_subdivIndex = m_subdiv->currentIndex();
  {
    LUserPresetList list(m_profile);
    LUserPreset rec;
    // A changed preset whose name is gone writes nothing: the record stays
    // detached.
    if (!m_key.empty())
      list.Open(rec, m_key);
    else if (!m_oldName.empty())
      OpenPreset(list, rec, m_oldName.c_str());
    else
      list.CreateNewRecord(rec);
    if (rec.IsAttached()) {
      WritePreset(rec, name.toStdString(), {m_tempoValue, m_measureIndex, m_subdivIndex});
      // The bar and swing of the window; another measure chosen here plays
      // its own accents.
      if (m_rhythm) {
        LRhythm r = *m_rhythm;
        if (!keepsRhythm) r.measure = LMeasure::FromLegacyIndex(m_measureIndex), r.pattern = r.measure.Pattern();
        LWriteRhythm(rec, r);
      }
      // A new preset keeps the practice tools in force; a changed one keeps
      // its own.
      if (m_key.empty() && m_oldName.empty()) LPracticeWritePreset(rec);
      // The window stays open with the user's entries, so nothing is lost.
      if (!LSaveRecordOrTell(this, rec, tr("The preset"), list.Folder())) return false;
    }
  }
  accept();
  return true;
}

void LPresetDialog::CmHelp() { LShowHelp(this, QStringLiteral("userpreset")); }
