// The tempo guide: a list of tempo markings with their ranges that sets
// the tempo of the row chosen and shows the row of the tempo set.
#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

#include "ui/MVDisplay.h"
#include "ui/MainDialog.h"
#include "ui/TempoField.h"

namespace {

// Guide text only: the marking the model reports uses its own ranges.
struct GuideRow {
  const char* type;
  int from, to;  // the range shown
  int value;     // what choosing the row sets
};
const GuideRow kGuide[] = {
    {QT_TRANSLATE_NOOP("MainDialog", "Largo"), 40, 60, 50},
    {QT_TRANSLATE_NOOP("MainDialog", "Larghetto"), 60, 66, 63},
    {QT_TRANSLATE_NOOP("MainDialog", "Adagio"), 66, 76, 71},
    {QT_TRANSLATE_NOOP("MainDialog", "Andante"), 76, 108, 92},
    {QT_TRANSLATE_NOOP("MainDialog", "Moderato"), 108, 120, 114},
    {QT_TRANSLATE_NOOP("MainDialog", "Allegro"), 120, 168, 144},
    {QT_TRANSLATE_NOOP("MainDialog", "Presto"), 168, 200, 184},
    {QT_TRANSLATE_NOOP("MainDialog", "Prestissimo"), 200, 208, 204},
};
constexpr int kGuideRows = sizeof(kGuide) / sizeof(kGuide[0]);

// The leading decimal digits of text; none gives 0.
int LeadingNumber(const QString& text) {
  long long v = 0;
  for (QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
    v = v * 10 + (c.unicode() - '0');
    if (v > 1000000) break;  // far past any tempo; the field clamps it
  }
  return static_cast<int>(v);
}

}  // namespace

void MainDialog::CreateGuide() {
  m_guide = new QTreeWidget;
  m_guide->setAccessibleName(tr("Tempo guide"));
  m_guide->setAccessibleDescription(tr("Choosing a row sets its tempo"));
  m_guide->setColumnCount(3);
  m_guide->setHeaderLabels({tr("Type"), tr("BPM"), tr("Value")});
  m_guide->setColumnHidden(2, true);
  m_guide->setRootIsDecorated(false);
  m_guide->setUniformRowHeights(true);
  m_guide->setSelectionMode(QAbstractItemView::SingleSelection);
  m_guide->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_guide->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  m_guide->header()->setSectionResizeMode(1, QHeaderView::Stretch);
  m_guide->header()->setStretchLastSection(false);
  for (const GuideRow& row : kGuide)
    m_guide->addTopLevelItem(new QTreeWidgetItem(
        {tr(row.type), QStringLiteral("%1-%2").arg(row.from).arg(row.to), QString::number(row.value)}));
  connect(m_guide, &QTreeWidget::itemSelectionChanged, this, [this] { DispatchCommand(kCmdGuide); });
  // Choosing the row already selected applies it again.
  connect(m_guide, &QTreeWidget::itemClicked, this, [this] { DispatchCommand(kCmdGuide); });
  NameControl(kIdGuide, m_guide);
}

int MainDialog::GuideRowOf(int bpm) {
  for (int i = 0; i < kGuideRows; ++i)
    if (bpm >= kGuide[i].from && (bpm < kGuide[i].to || (i + 1 == kGuideRows && bpm == kGuide[i].to))) return i;
  return -1;
}

// The guide shows where the tempo is, whoever set it; showing is not
// choosing, so no command follows.
void MainDialog::ShowGuideRow(int bpm) {
  const int row = GuideRowOf(bpm);
  const QSignalBlocker quiet(m_guide);
  if (row < 0) {
    m_guide->clearSelection();
    m_guide->setCurrentItem(nullptr);
  } else {
    m_guide->setCurrentItem(m_guide->topLevelItem(row));
  }
}

void MainDialog::CmSetGuideValue() {
  const QList<QTreeWidgetItem*> selected = m_guide->selectedItems();
  if (selected.isEmpty()) return;
  SetTempoField(LeadingNumber(selected.first()->text(2)));
}

// Inside the guide's ranges the status names the guide's own row, so the
// two never disagree; outside them the model's marking.
void MainDialog::EvTempoChanged(int bpm, const char* marking) {
  m_lastTempo = bpm;
  const int row = GuideRowOf(bpm);
  const QString name = row >= 0 ? tr(kGuide[row].type) : tr(marking ? marking : "");
  m_status->setText(tr("%1 bpm, %2").arg(bpm).arg(name));
  ShowGuideRow(bpm);
  m_display->setAccessibleDescription(m_status->text());
  QAccessibleValueChangeEvent changed(m_tempo, bpm);
  QAccessible::updateAccessibility(&changed);
  QAccessibleEvent described(m_display, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&described);
}
