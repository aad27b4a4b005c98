// The main window's arrangement, and the hooks through which other
// features add their rows, buttons, panels and menu items.
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/MVDisplay.h"
#include "ui/MVLedLightBox.h"
#include "ui/MainDialog.h"
#include "ui/PatternStrip.h"
#include "ui/RhythmControls.h"
#include "ui/TempoField.h"

namespace {

// The controls' spacing, as it was drawn: 18 pixels at the sides and
// between the columns, 9 between rows.
constexpr int kSide = 18;
constexpr int kRow = 9;

}  // namespace

// Two columns as drawn: display, the three labelled controls and the light
// on the left; guide, Play/Stop and volume on the right; the panels that
// other features add below both. The display and the light share the
// height left over, the light taking the larger part.
void MainDialog::LayOut() {
  auto label = [this](int id, const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text);
    l->setBuddy(buddy);
    NameControl(id, l);
    return l;
  };
  m_rows = new QGridLayout;
  m_rows->setHorizontalSpacing(kRow);
  m_rows->setVerticalSpacing(kRow);
  m_rows->setColumnStretch(0, 1);
  m_rows->addWidget(label(kIdTempoLabel, tr("T&empo:"), m_tempo), 0, 0);
  m_rows->addWidget(m_tempo, 0, 1);
  m_rows->addWidget(label(kIdMeasureLabel, tr("&Measure:"), m_measure), 1, 0);
  m_rows->addWidget(m_measure, 1, 1);
  m_rows->addWidget(label(kIdSubDivLabel, tr("S&ubDivs:"), m_subdiv), 2, 0);
  m_rows->addWidget(m_subdiv, 2, 1);
  // The narrowest field that shows every tempo and list entry whole.
  const int fieldWidth =
      std::max({72, m_tempo->sizeHint().width(), m_measure->sizeHint().width(), m_subdiv->sizeHint().width()});
  m_rows->setColumnMinimumWidth(1, fieldWidth);

  if (!m_display->minimumSizeHint().isValid()) m_display->setMinimumHeight(63);
  if (!m_lights->minimumSizeHint().isValid()) m_lights->setMinimumSize(120, 60);
  auto* left = new QVBoxLayout;
  left->setSpacing(kRow);
  // The strip reads as part of the display: right under it (it has its own margin).
  auto* display = new QVBoxLayout;
  display->setSpacing(0);
  display->addWidget(m_display, 1);
  display->addWidget(m_rhythm->Strip());
  left->addLayout(display, 1);
  left->addLayout(m_rows);
  left->addWidget(m_lights, 3);

  // Every guide row in view, without a scroll bar.
  m_guide->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::MinimumExpanding);
  const int frame = 2 * m_guide->frameWidth();
  m_guide->setMinimumHeight(m_guide->header()->sizeHint().height() +
                            m_guide->topLevelItemCount() * m_guide->sizeHintForRow(0) + frame);
  const QAbstractItemView* view = m_guide;  // the columns' hints are public there
  m_guide->setMinimumWidth(std::max(view->sizeHintForColumn(0), m_guide->header()->sectionSizeHint(0)) +
                           std::max(view->sizeHintForColumn(1), m_guide->header()->sectionSizeHint(1)) + frame);
  m_playStop->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  m_playStop->setMinimumHeight(std::max(28, m_playStop->sizeHint().height()));
  m_buttons = new QHBoxLayout;
  m_buttons->setSpacing(kRow);
  m_buttons->addWidget(m_playStop, 1);
  auto* right = new QVBoxLayout;
  right->setSpacing(kRow);
  right->addWidget(m_guide, 1);
  right->addLayout(m_buttons);
  right->addWidget(m_volumePane);
  right->addStretch(0);

  auto* columns = new QHBoxLayout;
  columns->setSpacing(kSide);
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
  m_panels = new QVBoxLayout;
  m_panels->setSpacing(kRow);
  auto* body = new QVBoxLayout(Body());
  body->setContentsMargins(kSide, kRow, kSide, kRow);
  body->setSpacing(kRow);
  body->addLayout(columns, 1);
  body->addLayout(m_panels);
  AddControlRow(tr("S&wing:"), m_rhythm->Swing());
}

// Tempo, measure and its beats' strip, subdivision (and the rows added
// below them), Play/Stop and its neighbours, volume, guide, then the panels.
void MainDialog::UpdateTabOrder() {
  std::vector<QWidget*> chain{m_tempo, m_measure, m_rhythm->Strip(), m_subdiv};
  chain.insert(chain.end(), m_extraRows.begin(), m_extraRows.end());
  chain.push_back(m_playStop);
  chain.insert(chain.end(), m_extraButtons.begin(), m_extraButtons.end());
  chain.push_back(m_volume.TrackBar());
  chain.push_back(m_guide);
  for (QWidget* panel : m_extraPanels) {
    // A panel's own focusable controls, in their own order.
    for (QWidget* w = panel->nextInFocusChain(); w && w != panel && panel->isAncestorOf(w); w = w->nextInFocusChain())
      if (w->focusPolicy() & Qt::TabFocus) chain.push_back(w);
  }
  for (size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void MainDialog::AddControlRow(const QString& label, QWidget* control) {
  const int row = m_rows->rowCount();
  auto* l = new QLabel(label);
  l->setBuddy(control);
  m_rows->addWidget(l, row, 0);
  m_rows->addWidget(control, row, 1);
  m_extraRows.push_back(control);
  UpdateTabOrder();
}

void MainDialog::AddButton(QWidget* button) {
  m_buttons->addWidget(button);
  m_extraButtons.push_back(button);
  UpdateTabOrder();
}

void MainDialog::AddPanel(QWidget* panel) {
  m_panels->addWidget(panel);
  m_extraPanels.push_back(panel);
  UpdateTabOrder();
}

QAction* MainDialog::AddMenuItem(const char* menu, const QString& text) {
  auto* m = menuBar()->findChild<QMenu*>(QString::fromUtf8(menu), Qt::FindDirectChildrenOnly);
  if (!m) return nullptr;
  // Before the frame's own last items (the separator above Quit or
  // Preferences), when there are any.
  QAction* before = nullptr;
  const QList<QAction*> actions = m->actions();
  for (qsizetype i = actions.size() - 1; i >= 0; --i)
    if (actions[i]->isSeparator()) {
      before = actions[i];
      break;
    }
  auto* action = new QAction(text, m);
  m->insertAction(before, action);
  return action;
}
