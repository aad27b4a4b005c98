#include "ui/ToolBar.h"

#include <QAction>
#include <QMainWindow>
#include <QToolBar>

#include "store/Settings.h"

namespace {

bool IsDockArea(int area) {
  return area == Qt::TopToolBarArea || area == Qt::BottomToolBarArea || area == Qt::LeftToolBarArea ||
         area == Qt::RightToolBarArea;
}

}  // namespace

LToolBar::LToolBar(QMainWindow* window, const char* name)
    : m_window(window), m_bar(new QToolBar(QString::fromUtf8(name), window)), m_name(name) {
  m_bar->setObjectName(QString::fromUtf8(name));
  m_bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  m_bar->setIconSize(QSize(24, 24));
  window->addToolBar(Qt::TopToolBarArea, m_bar);
}

QString LToolBar::Identifier() const { return QStringLiteral("org.morvane.Morvane.") + QString::fromStdString(m_name); }

QAction* LToolBar::AddItem(int command, const QIcon& icon, const QString& label, const QString& tooltip) {
  QAction* action = m_bar->addAction(icon, label);
  action->setToolTip(tooltip);
  m_items.emplace_back(command, action);
  return action;
}

QAction* LToolBar::Action(int command) const {
  for (const auto& item : m_items)
    if (item.first == command) return item.second;
  return nullptr;
}

std::string LToolBar::Offer() const {
  std::string offer;
  for (const auto& item : m_items) {
    if (!offer.empty()) offer += ',';
    offer += std::to_string(item.first);
  }
  return offer;
}

void LToolBar::RestoreState() {
  char stored[kSettingTextSize];
  _LUserSettingGetString(kOfferSection, m_name.c_str(), "", stored);
  const std::string offer = Offer();
  if (offer != stored) {
    // The items changed since the arrangement was made: it may name items
    // that are gone, so start again from the default.
    LUserSettingDeleteItem(kAreaSection, m_name.c_str());
    LUserSettingSetString(kOfferSection, m_name.c_str(), offer.c_str());
  }
  const int area = LUserSettingGet<int>(kAreaSection, m_name.c_str(), Qt::TopToolBarArea);
  if (IsDockArea(area) && area != m_window->toolBarArea(m_bar))
    m_window->addToolBar(static_cast<Qt::ToolBarArea>(area), m_bar);
  m_bar->setVisible(LUserSettingGet<bool>(kShownSection, m_name.c_str(), true));
}

void LToolBar::StoreState() const {
  // isHidden, not isVisible: the window itself is hidden by the time it closes.
  LUserSettingSet<bool>(kShownSection, m_name.c_str(), !m_bar->isHidden());
  LUserSettingSet<int>(kAreaSection, m_name.c_str(), static_cast<int>(m_window->toolBarArea(m_bar)));
}
