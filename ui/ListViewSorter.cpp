#include "ui/ListViewSorter.h"

#include <QTreeWidget>

double LListViewSorterMoneyAndTime::ParseNumber(const QString& text, const LLocaleNumberProfile& format) {
  const QString thousands = QString::fromStdString(format.thousandsSymbol);
  const QString decimal = QString::fromStdString(format.decimalSymbol);
  QString plain;
  const QString t = text.trimmed();
  for (qsizetype i = 0; i < t.size();) {
    if (!decimal.isEmpty() && t.mid(i, decimal.size()) == decimal) {
      plain += QLatin1Char('.');
      i += decimal.size();
    } else if (!thousands.isEmpty() && t.mid(i, thousands.size()) == thousands) {
      i += thousands.size();
    } else if (t[i].isDigit() || (plain.isEmpty() && t[i] == QLatin1Char('-'))) {
      plain += t[i++];
    } else {
      break;
    }
  }
  bool ok = false;
  const double v = plain.toDouble(&ok);
  return ok ? v : 0.0;
}

bool LListViewSorterMoneyAndTime::Less(int column, const QString& a, const QString& b) const {
  if (IsNumeric(column)) {
    const LLocaleNumberProfile& format = m_profile.NumberProfile();
    return ParseNumber(a, format) < ParseNumber(b, format);
  }
  return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

bool LSortedListItem::operator<(const QTreeWidgetItem& other) const {
  const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
  return m_sorter.Less(column, text(column), other.text(column));
}
