#include "ui/SetListDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "store/Presets.h"
#include "ui/DialogLayout.h"
#include "ui/HelpWindow.h"
#include "ui/Placement.h"
#include "ui/PresetListWindow.h"
#include "ui/Prompts.h"

LSetListDialog::LSetListDialog(LProfile& profile, const std::string& key, QWidget* parent)
    : QDialog(parent), m_profile(profile), m_key(key) {
  setWindowTitle(key.empty() ? tr("New Set List") : tr("Change Set List"));
  m_name = new QLineEdit;
  m_name->setMaxLength(kRecordTextMax);
  m_presets = new QListWidget;
  m_presets->setAccessibleName(tr("Presets in playing order"));
  auto* add = new QPushButton(tr("&Add Preset…"));
  auto* remove = new QPushButton(tr("&Remove"));
  auto* up = new QPushButton(tr("Move &Up"));
  auto* down = new QPushButton(tr("Move &Down"));
  connect(add, &QPushButton::clicked, this, [this] {
    std::string chosen;
    if (ChoosePreset(chosen)) AddPreset(chosen);
  });
  connect(remove, &QPushButton::clicked, this, [this] { RemoveCurrent(); });
  connect(up, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
  connect(down, &QPushButton::clicked, this, [this] { MoveCurrent(1); });

  auto* grid = new QGridLayout;
  grid->addWidget(LLabel(tr("&Name:"), 0, m_name), 0, 0);
  grid->addWidget(m_name, 0, 1);
  grid->addWidget(LLabel(tr("&Presets:"), 0, m_presets), 1, 0, Qt::AlignTop);
  grid->addWidget(m_presets, 1, 1);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {add, remove, up, down}) buttons->addWidget(b);
  buttons->addStretch(1);
  grid->addLayout(buttons, 1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid, 1);
  LAddButtonRow(
      this, layout, QString(), [this] { LShowHelp(this, QStringLiteral("setlist")); }, [this] { CmOk(); });

  if (key.empty()) return;
  LSetListList list(m_profile);
  LSetListRecord rec;
  if (!list.Open(rec, key)) return;
  const LSetList value = ReadSetList(rec);
  rec.Discard();
  m_name->setText(QString::fromStdString(value.name));
  for (const std::string& preset : value.presets) AddPreset(preset);
}

bool LSetListDialog::Open(QWidget* parent) {
  adjustSize();
  LPlaceOver(this, parent);
  return exec() == QDialog::Accepted;
}

void LSetListDialog::AddPreset(const std::string& key) {
  LUserPresetList list(m_profile);
  LUserPreset rec;
  const QString name =
      list.Open(rec, key) ? QString::fromStdString(rec.GetString(preset_field::kName)) : tr("(deleted preset)");
  rec.Discard();
  auto* item = new QListWidgetItem(name);
  item->setData(Qt::UserRole, QString::fromStdString(key));
  m_presets->addItem(item);
  m_presets->setCurrentItem(item);
}

void LSetListDialog::MoveCurrent(int delta) {
  const int row = m_presets->currentRow();
  const int to = row + delta;
  if (row < 0 || to < 0 || to >= m_presets->count()) return;
  m_presets->insertItem(to, m_presets->takeItem(row));
  m_presets->setCurrentRow(to);
}

void LSetListDialog::RemoveCurrent() {
  const int row = m_presets->currentRow();
  if (row >= 0) delete m_presets->takeItem(row);
}

LSetList LSetListDialog::Value() const {
  LSetList value;
  value.name = m_name->text().trimmed().toStdString();
  for (int i = 0; i < m_presets->count(); ++i)
    value.presets.push_back(m_presets->item(i)->data(Qt::UserRole).toString().toStdString());
  return value;
}

bool LSetListDialog::CmOk() {
  const LSetList value = Value();
  if (value.name.empty()) {
    LShowFieldMessage(m_name, tr(kNameMissing));
    return false;
  }
  {
    LSetListList list(m_profile);
    LSetListRecord rec;
    // A changed set list that was deleted meanwhile writes nothing.
    if (m_key.empty())
      list.CreateNewRecord(rec);
    else
      list.Open(rec, m_key);
    if (rec.IsAttached()) {
      WriteSetList(rec, value);
      if (!LSaveRecordOrTell(this, rec, tr("The set list"), list.Folder())) return false;
      m_key = rec.Key();
    }
  }
  accept();
  return true;
}

bool LSetListDialog::ChoosePreset(std::string& key) {
  LPresetListWindow window(m_profile);
  if (!window.Open(this)) return false;
  key = window.ChosenKey();
  return !key.empty();
}
