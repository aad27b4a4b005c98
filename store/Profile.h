// What record lists are made from: the data store in the shared data folder,
// and the locale's number, currency and date conventions used to sort lists
// for display.
#pragma once

#include <memory>
#include <string>

#include "store/FileStore.h"

struct LLocaleNumberProfile {
  std::string decimalSymbol = ".";
  std::string thousandsSymbol = ",";
  int decimalDigits = 2;
};

struct LLocaleCurrencyProfile : LLocaleNumberProfile {
  std::string currencySymbol = "$";
  int reserved = 0;
  int currencyDigits = 2;
};

enum class LDateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

class LProfile {
 public:
  // The shared data folder of the current user (created when missing).
  LProfile();
  // A profile over another folder, for tools and tests.
  explicit LProfile(std::string sharedDataFolder);

  const LLocaleNumberProfile& NumberProfile() const { return m_currency; }
  const LLocaleCurrencyProfile& CurrencyProfile() const { return m_currency; }
  LDateOrder DateOrder() const { return m_dateOrder; }
  LFileStoreDataStore& DataStore() { return *m_store; }
  const std::string& SharedDataFolder() const { return m_folder; }

  // The date order of a strftime-style format such as "%d/%m/%Y".
  static LDateOrder DateOrderOf(const char* format);

 private:
  void ReadLocale();

  LLocaleCurrencyProfile m_currency;
  LDateOrder m_dateOrder = LDateOrder::MonthDayYear;
  std::unique_ptr<LFileStoreDataStore> m_store;
  std::string m_folder;
};
