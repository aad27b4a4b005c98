#include "ui/PropertySheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/DialogLayout.h"
#include "ui/Placement.h"

LPropertySheet::LPropertySheet(QWidget* parent) : QDialog(parent), m_tabs(new QTabWidget(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Help | QDialogButtonBox::Cancel | QDialogButtonBox::Ok, this);
  connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, [this] { CmOk(); });
  connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this, &QDialog::reject);
  connect(buttons->button(QDialogButtonBox::Help), &QPushButton::clicked, this, [this] { CmHelp(); });
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  layout->addWidget(buttons);
  LAddCloseKey(this);
}

void LPropertySheet::AddPage(LPropertyPage* page, const QString& title) {
  m_tabs->addTab(page, title);
  m_pages.push_back(page);
}

void LPropertySheet::SetStartPage(int index) { m_startPage = index; }

int LPropertySheet::CurrentPage() const { return m_tabs->currentIndex(); }

void LPropertySheet::InitPages() {
  if (m_initialised) return;
  m_initialised = true;
  for (LPropertyPage* page : m_pages) page->InitDialog();
  if (m_startPage >= 0 && m_startPage < m_tabs->count()) m_tabs->setCurrentIndex(m_startPage);
}

bool LPropertySheet::Open(const QString& caption) {
  setWindowTitle(caption);
  InitPages();
  adjustSize();
  LPlaceOver(this, parentWidget());
  return exec() == QDialog::Accepted;
}

bool LPropertySheet::CmOk() {
  for (size_t i = 0; i < m_pages.size(); ++i) {
    if (!m_pages[i]->CmOk()) {
      m_tabs->setCurrentIndex(static_cast<int>(i));
      return false;
    }
  }
  accept();
  return true;
}

void LPropertySheet::CmHelp() {
  const int index = m_tabs->currentIndex();
  if (index >= 0 && index < static_cast<int>(m_pages.size())) m_pages[static_cast<size_t>(index)]->CmHelp();
}
