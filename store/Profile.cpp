#include "store/Profile.h"

#include <langinfo.h>
#include <locale.h>

#include <climits>
#include <cstring>

#include "store/DataFolders.h"

LProfile::LProfile() : LProfile(GetSharedDataFolderApp()) {}

LProfile::LProfile(std::string sharedDataFolder)
    : m_store(std::make_unique<LFileStoreDataStore>(sharedDataFolder)), m_folder(std::move(sharedDataFolder)) {
  ReadLocale();
}

void LProfile::ReadLocale() {
  const lconv* lc = localeconv();
  if (!lc) return;
  if (lc->decimal_point && *lc->decimal_point) m_currency.decimalSymbol = lc->decimal_point;
  if (lc->thousands_sep && *lc->thousands_sep) m_currency.thousandsSymbol = lc->thousands_sep;
  if (lc->currency_symbol && *lc->currency_symbol) m_currency.currencySymbol = lc->currency_symbol;
  if (lc->frac_digits != CHAR_MAX) m_currency.currencyDigits = static_cast<unsigned char>(lc->frac_digits);
  m_dateOrder = DateOrderOf(nl_langinfo(D_FMT));
}

LDateOrder LProfile::DateOrderOf(const char* format) {
  // The first of day, month and year conversions decides; "%D" is %m/%d/%y.
  for (const char* p = format ? std::strchr(format, '%') : nullptr; p && p[1]; p = std::strchr(p + 2, '%')) {
    switch (p[1]) {
      case 'd':
      case 'e': return LDateOrder::DayMonthYear;
      case 'm':
      case 'b':
      case 'B':
      case 'D': return LDateOrder::MonthDayYear;
      case 'y':
      case 'Y':
      case 'F': return LDateOrder::YearMonthDay;
      default: break;
    }
  }
  return LDateOrder::MonthDayYear;
}
