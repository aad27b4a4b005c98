// Sorting of list rows by one column: text columns without regard to case,
// numeric columns by the number they show, read with the number format of
// the profile's locale.
#pragma once

#include <QString>
#include <QTreeWidgetItem>
#include <set>

#include "store/Profile.h"

class LListViewSorterMoneyAndTime {
 public:
  explicit LListViewSorterMoneyAndTime(LProfile& profile) : m_profile(profile) {}
  LProfile& Profile() const { return m_profile; }

  void SetNumeric(int column) { m_numeric.insert(column); }
  bool IsNumeric(int column) const { return m_numeric.count(column) != 0; }
  bool Less(int column, const QString& a, const QString& b) const;

  // The number text shows in that format: thousands separators skipped, the
  // decimal symbol read as the point; text without a number reads as 0.
  static double ParseNumber(const QString& text, const LLocaleNumberProfile& format);

 private:
  LProfile& m_profile;
  std::set<int> m_numeric;
};

// A list row that sorts through the window's sorter.
class LSortedListItem : public QTreeWidgetItem {
 public:
  LSortedListItem(const LListViewSorterMoneyAndTime& sorter, const QStringList& texts)
      : QTreeWidgetItem(texts), m_sorter(sorter) {}
  bool operator<(const QTreeWidgetItem& other) const override;

 private:
  const LListViewSorterMoneyAndTime& m_sorter;
};
