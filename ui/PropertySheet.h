// A modal tabbed dialog of pages with OK, Cancel and Help below them. Each
// page lays out its controls, checks and stores its values on OK and shows
// its own help.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <vector>

#include "ui/CommandTarget.h"

class QTabWidget;

class LPropertyPage : public QWidget, public LCommandTarget {
 public:
  LPropertyPage() = default;
  // Once, when the sheet opens.
  virtual void InitDialog() {}
  // On OK, in page order; false keeps the sheet open on this page.
  virtual bool CmOk() { return true; }
  virtual void CmHelp() {}
  bool Command(int, int) override { return false; }
};

class LPropertySheet : public QDialog {
  Q_DECLARE_TR_FUNCTIONS(LPropertySheet)

 public:
  explicit LPropertySheet(QWidget* parent = nullptr);

  // A tab for the page, in the order added; the sheet owns the page.
  void AddPage(LPropertyPage* page, const QString& title);
  void SetStartPage(int index);
  int CurrentPage() const;
  // Runs every page's InitDialog, centres the sheet on its parent and runs
  // it modally; true when it closed with OK.
  bool Open(const QString& caption);
  // Runs the pages' InitDialog without showing the sheet (Open does it).
  void InitPages();

  // OK: every page's CmOk in order; the first refusing one is shown and the
  // sheet stays open. True when the sheet closed.
  bool CmOk();
  void CmHelp();

 private:
  QTabWidget* m_tabs;
  std::vector<LPropertyPage*> m_pages;
  int m_startPage = 0;
  bool m_initialised = false;
};
