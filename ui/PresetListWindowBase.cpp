#include "ui/PresetListWindowBase.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "store/Settings.h"
#include "ui/DialogLayout.h"
#include "ui/HelpWindow.h"
#include "ui/Placement.h"
#include "ui/Prompts.h"

namespace {

const LKeyToCommandMap kListKeys[] = {
    {Qt::Key_Return, LKey::kOption, 0, LPresetListWindowBase::kCmdProperties},
    {Qt::Key_Delete, 0, 0, LPresetListWindowBase::kCmdDelete},
    {Qt::Key_Return, 0, 0, LPresetListWindowBase::kCmdSelect},
};
constexpr int kListKeyCount = sizeof(kListKeys) / sizeof(kListKeys[0]);

constexpr int kCharWidth = 8;
constexpr int kCharHeight = 17;
constexpr int kNominalWidth = 70 * kCharWidth;
constexpr int kNominalHeight = 20 * kCharHeight;
constexpr int kMinimumWidth = 60 * kCharWidth;
constexpr int kMinimumHeight = 15 * kCharHeight;

QString WithKey(const QString& text, int command) {
  QString result = text;
  if (const LKeyToCommandMap* entry = LFindCommandKey(kListKeys, kListKeyCount, command))
    result += QLatin1Char('\t') + entry->Key().GetDescription();
  return result;
}

}  // namespace

LPresetListWindowBase::LPresetListWindowBase(LProfile& profile, const char* windowName, const Words& words)
    : m_sorter(profile), m_windowName(windowName), m_words(words) {
  setSizeGripEnabled(true);
  LAddCloseKey(this);
}

void LPresetListWindowBase::Init() {
  if (m_initialised) return;
  m_initialised = true;
  InitDialog();
  EnableControls();
}

bool LPresetListWindowBase::Open(QWidget* parent) {
  if (parent) setParent(parent, Qt::Dialog);
  Init();
  RestorePlacement();
  return exec() == QDialog::Accepted && !m_chosenKey.empty();
}

void LPresetListWindowBase::InitDialog() { BuildFrame(); }

void LPresetListWindowBase::BuildFrame() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* menuBar = new QMenuBar(this);
  QMenu* menu = menuBar->addMenu(tr(m_words.menu));
  const std::pair<int, QString> items[] = {
      {kCmdSelect, tr(m_words.select)}, {kCmdDelete, tr("&Delete")}, {kCmdProperties, tr("&Edit...")}};
  for (const auto& [command, text] : items) {
    QAction* action = menu->addAction(WithKey(text, command));
    const int id = command;
    connect(action, &QAction::triggered, this, [this, id] { Command(id, 0); });
    m_menuActions[command] = action;
  }
  layout->setMenuBar(menuBar);

  m_toolBar = new QToolBar(this);
  m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  struct Tool {
    int command;
    QStyle::StandardPixmap icon;
    QString label;
    QString tooltip;
  };
  const Tool tools[] = {
      {kCmdSelect, QStyle::SP_DialogApplyButton, tr("Select"), tr(m_words.selectTip)},
      {kCmdDelete, QStyle::SP_TrashIcon, tr("Delete"), tr(m_words.deleteTip)},
      {kCmdProperties, QStyle::SP_FileDialogDetailedView, tr("Edit"), tr(m_words.editTip)},
  };
  for (const Tool& t : tools) {
    QAction* action = m_toolBar->addAction(style()->standardIcon(t.icon), t.label);
    QString tip = t.tooltip;
    if (const LKeyToCommandMap* entry = LFindCommandKey(kListKeys, kListKeyCount, t.command))
      tip += QStringLiteral(" (%1)").arg(entry->Key().GetDescription());
    action->setToolTip(tip);
    const int id = t.command;
    connect(action, &QAction::triggered, this, [this, id] { Command(id, 0); });
    m_toolActions[t.command] = action;
  }
  layout->addWidget(m_toolBar);

  m_list = new QTreeWidget(this);
  m_list->setObjectName(QString::number(kIdList));
  m_list->setRootIsDecorated(false);
  m_list->setUniformRowHeights(true);
  m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_list->setContextMenuPolicy(Qt::CustomContextMenu);
  m_list->header()->setStretchLastSection(false);
  m_list->header()->setSortIndicatorShown(true);
  connect(m_list, &QWidget::customContextMenuRequested, this, [this] { Command(kCmdRightClick, 0); });
  connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { Command(kCmdSelectDouble, 0); });
  connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { Command(kCmdSelectionChanged, 0); });
  connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { Command(kCmdSelectionChanged, 0); });
  m_list->installEventFilter(this);
  m_list->viewport()->installEventFilter(this);
  layout->addWidget(m_list, 1);

  m_status = new QStatusBar(this);
  m_status->setSizeGripEnabled(false);
  layout->addWidget(m_status);
  installEventFilter(this);
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  resize(kNominalWidth, kNominalHeight);
}

// The list windows read their size but never write it back; they open
// over the window that asked for them.
void LPresetListWindowBase::RestorePlacement() {
  const char* s = m_windowName;
  const QSize size(LUserSettingGetInt(s, "Width", kNominalWidth, kMinimumWidth, 16000),
                   LUserSettingGetInt(s, "Height", kNominalHeight, kMinimumHeight, 16000));
  resize(size.expandedTo(minimumSizeHint()));
  LPlaceOver(this, parentWidget());
}

void LPresetListWindowBase::SetColumns(const Column* columns, int count) {
  m_columns.assign(columns, columns + count);
  QStringList titles;
  for (const Column& c : m_columns) titles << tr(c.title);
  m_list->setColumnCount(count);
  m_list->setHeaderLabels(titles);
  // The last column holds the record key: there, but never seen.
  m_list->setColumnHidden(count - 1, true);
  m_list->setSortingEnabled(true);
  m_list->sortByColumn(0, Qt::AscendingOrder);
  LayoutColumns();
}

// The first column takes whatever width the others leave, never less than
// its own.
void LPresetListWindowBase::LayoutColumns() {
  if (m_columns.empty()) return;
  int others = 0;
  // A character as wide as the font's, and never narrower than the title.
  const int charWidth = std::max(kCharWidth, m_list->fontMetrics().averageCharWidth());
  auto width = [&](size_t i) {
    return std::max(m_columns[i].width * charWidth, m_list->header()->sectionSizeHint(static_cast<int>(i)));
  };
  for (size_t i = 1; i + 1 < m_columns.size(); ++i) {
    m_list->setColumnWidth(static_cast<int>(i), width(i));
    others += width(i);
  }
  m_list->setColumnWidth(0, std::max(width(0), m_list->viewport()->width() - others));
}

bool LPresetListWindowBase::eventFilter(QObject* watched, QEvent* event) {
  if (m_list && watched == m_list->viewport() && event->type() == QEvent::Resize) LayoutColumns();
  if (event->type() == QEvent::KeyPress && (watched == m_list || watched == this))
    if (DispatchKeyEvent(*static_cast<QKeyEvent*>(event))) return true;
  return QDialog::eventFilter(watched, event);
}

bool LPresetListWindowBase::EvKeyDown(const LKey& key) {
  if (const int command = LMapKeyToCommand(kListKeys, kListKeyCount, key)) {
    Command(command, 0);
    return true;
  }
  if (key == LKey(Qt::Key_F1, 0, 0)) {
    CmHelp();
    return true;
  }
  return false;
}

bool LPresetListWindowBase::Command(int id, int) {
  switch (id) {
    case kCmdDelete: CmDelete(); break;
    case kCmdProperties: CmProperties(); break;
    case kCmdSelectDouble:
    case kCmdSelect: CmSelect(); break;
    case kCmdRightClick: EvRightClickMenu(); break;
    case kCmdSelectionChanged: break;
    default: return false;
  }
  if (m_initialised) EnableControls();
  return true;
}

int LPresetListWindowBase::SelectedCount() const { return static_cast<int>(m_list->selectedItems().size()); }

// One rule for the menu, the toolbar and the context menu: Delete takes any
// selection, Select and Edit exactly one entry.
bool LPresetListWindowBase::IsCommandEnabled(int command) const {
  if (command == kCmdDelete) return m_list->currentItem() != nullptr;
  return SelectedCount() == 1;
}

void LPresetListWindowBase::EnableControls() {
  for (auto* actions : {&m_menuActions, &m_toolActions})
    for (int command : {kCmdDelete, kCmdSelect, kCmdProperties})
      (*actions)[command]->setEnabled(IsCommandEnabled(command));
  const int rows = m_list->topLevelItemCount();
  m_status->showMessage(rows == 1 ? tr("1 entry") : tr("%1 entries").arg(rows));
}

QAction* LPresetListWindowBase::MenuAction(int command) const {
  auto it = m_menuActions.find(command);
  return it == m_menuActions.end() ? nullptr : it->second;
}

QAction* LPresetListWindowBase::ToolBarAction(int command) const {
  auto it = m_toolActions.find(command);
  return it == m_toolActions.end() ? nullptr : it->second;
}

QMenu* LPresetListWindowBase::CreateRightClickMenu() {
  if (!m_list->currentItem()) return nullptr;
  auto* menu = new QMenu(this);
  const std::pair<int, QString> items[] = {
      {kCmdSelect, tr("Select")}, {kCmdDelete, tr("Delete this")}, {kCmdProperties, tr("Edit this")}};
  for (const auto& [command, text] : items) {
    QAction* action = menu->addAction(WithKey(text, command));
    action->setData(command);
    action->setEnabled(IsCommandEnabled(command));
  }
  return menu;
}

void LPresetListWindowBase::EvRightClickMenu() {
  QMenu* menu = CreateRightClickMenu();
  if (!menu) return;
  QAction* chosen = menu->exec(QCursor::pos());
  const int command = chosen ? chosen->data().toInt() : 0;
  delete menu;
  if (command) Command(command, 0);
}

std::string LPresetListWindowBase::CurrentKey() const {
  const QTreeWidgetItem* item = m_list->currentItem();
  if (!item || m_columns.empty()) return {};
  return item->text(static_cast<int>(m_columns.size()) - 1).toStdString();
}

void LPresetListWindowBase::CmSelect() {
  const std::string key = CurrentKey();
  if (key.empty()) return;
  m_chosenKey = key;
  accept();
}

void LPresetListWindowBase::CmDelete() {
  if (!m_list->currentItem()) return;
  const int count = SelectedCount();
  const QString question = count <= 1 ? tr(m_words.deleteOne) : tr(m_words.deleteMany).arg(count);
  if (!LAskYesNo(this, tr(m_words.deleteTitle), question, tr("Delete"), tr("Cancel"))) return;
  const int keyColumn = static_cast<int>(m_columns.size()) - 1;
  std::vector<std::string> keys;
  for (const QTreeWidgetItem* item : m_list->selectedItems()) keys.push_back(item->text(keyColumn).toStdString());
  int failed = 0;
  for (const std::string& key : keys)
    if (!key.empty() && !DeleteRecord(key)) ++failed;
  FillList();
  // The list shows what is still there; the message says why.
  if (failed) LShowMessage(this, tr("Not deleted"), tr(m_words.notDeleted).arg(failed));
}

void LPresetListWindowBase::CmHelp() { LShowHelp(this, QStringLiteral("presetlist")); }

void LPresetListWindowBase::AddRow(const QStringList& texts) {
  m_list->addTopLevelItem(new LSortedListItem(m_sorter, texts));
}

int LPresetListWindowBase::BeginRefill() {
  const QTreeWidgetItem* current = m_list->currentItem();
  const int row = current ? m_list->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(current)) : -1;
  m_list->clear();
  return row;
}

// The same position, not the same record: after a delete the row that
// moved up into the place is the one the user sees there.
void LPresetListWindowBase::EndRefill(int oldRow) {
  m_list->sortItems(m_list->sortColumn() < 0 ? 0 : m_list->sortColumn(), m_list->header()->sortIndicatorOrder());
  // With no row current yet (the first fill) the first row is, selected,
  // so Return picks it at once; otherwise the list would make it current
  // on focus without selecting it, and Select would look unavailable.
  if (oldRow < 0 && !m_list->currentItem()) oldRow = 0;
  if (oldRow < m_list->topLevelItemCount()) m_list->setCurrentItem(m_list->topLevelItem(oldRow));
  if (m_initialised) EnableControls();
}

void LPresetListWindowBase::SelectRows(const std::vector<int>& rows) {
  m_list->clearSelection();
  bool first = true;
  for (int row : rows) {
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    if (!item) continue;
    if (first) m_list->setCurrentItem(item);
    item->setSelected(true);
    first = false;
  }
  EnableControls();
}
