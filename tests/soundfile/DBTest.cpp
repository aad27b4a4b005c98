#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "soundfile/DB.h"

TEST(Decibel, TableEntries) {
  const struct {
    int db, amplitude;
  } cases[] = {{0, 16777216}, {-6, 8408526},    {6, 33474947},     {42, 2112126356}, {-127, 0},
               {-128, 0},     {43, 2147483647}, {127, 2147483647}, {-126, 8},        {-20, 1677722}};
  for (const auto& c : cases) EXPECT_EQ(LdBLevel(c.db).GetLin(), c.amplitude) << c.db;
  const LdBTablesClass& t = LdBLevel::GetTable();
  // A power ratio of d dB is the amplitude ratio of 2d dB; amplitudes rise
  // over the whole range below the cap.
  for (int d = -63; d <= 63; ++d) EXPECT_EQ(t.Power(d), t.Amplitude(2 * d)) << d;
  for (int d = -126; d < 42; ++d) EXPECT_LT(t.Amplitude(d), t.Amplitude(d + 1)) << d;
}

TEST(Decibel, LinearFactorsToLevels) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double x;
    int db;
  } cases[] = {{0.5, -6},
               {1.0, 0},
               {2.0, 6},
               {0, -127},
               {-1, -127},
               {1e7, 127},
               {1e-9, -127},
               {nan, -127},
               {std::pow(10.0, -2.6 / 20), -3},
               {std::pow(10.0, 2.6 / 20), 3},
               {std::pow(10.0, -2.4 / 20), -2}};
  for (const auto& c : cases) {
    LdBLevel l;
    l.SetLinFloat(c.x);
    EXPECT_EQ(l.Get(), c.db) << c.x;
  }
  EXPECT_NEAR(LdBLevel(-127).GetLinFloat(), 4.47e-7, 1e-9);
  EXPECT_DOUBLE_EQ(LdBLevel(0).GetLinFloat(), 1.0);
}

TEST(Decibel, MultiChannelCopyKeepsOnlyCountLevels) {
  LDBMultiChannel<LdBLevel> a;
  a.SetCount(4);
  a[0] = -10;
  a[1] = -20;
  a[2] = -30;
  a[3] = -40;
  a.SetCount(2);
  LDBMultiChannel<LdBLevel> b(a);
  EXPECT_EQ(b.GetCount(), 2);
  EXPECT_EQ(b[0].Get(), -10);
  EXPECT_EQ(b[1].Get(), -20);
  EXPECT_EQ(b[2].Get(), 0);
  EXPECT_EQ(b[3].Get(), 0);
}
