#include "store/StoredValues.h"

#include <gtest/gtest.h>

#include "store/Settings.h"
#include "tests/support/TempDir.h"

namespace {

// Each stored text: what it reads as afterwards and how it was repaired.
TEST(StoredValues, ClampedOrResetToTheDefault) {
  test::IsolatedHome home;
  const LStoredRange range = {"Settings", "Tempo", 10, 280, 92};
  const struct {
    const char* stored;  // nullptr: absent
    int reads;
    int repaired;  // 0 none, 1 clamped, 2 reset (not a number)
  } cases[] = {
      {nullptr, 92, 0}, {"", 92, 0},     {"120", 120, 0},  {" 10 ", 10, 0},
      {"300", 280, 1},  {"-999", 10, 1}, {"9", 10, 1},     {"abc", 92, 2},
      {"12abc", 92, 2}, {"1e3", 92, 2},  {"+281", 280, 1}, {"99999999999999999999", 92, 2},
  };
  for (const auto& c : cases) {
    const char* label = c.stored ? c.stored : "(absent)";
    LUserSettingDeleteItem("Settings", "Tempo");
    if (c.stored) LUserSettingSetString("Settings", "Tempo", c.stored);
    const std::vector<LStoredRepair> repairs = LRepairStoredValues(&range, 1);
    EXPECT_EQ(LUserSettingGet<int>("Settings", "Tempo", 92), c.reads) << label;
    ASSERT_EQ(repairs.size(), c.repaired ? 1u : 0u) << label;
    if (!c.repaired) continue;
    EXPECT_EQ(repairs[0].was, c.stored);
    EXPECT_EQ(repairs[0].now, c.reads);
    EXPECT_EQ(repairs[0].unreadable, c.repaired == 2) << label;
  }
}

}  // namespace
