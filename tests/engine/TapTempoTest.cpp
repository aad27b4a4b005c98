#include <gtest/gtest.h>

#include <vector>

#include "engine/TapTempo.h"

namespace {

// Tap times in milliseconds; the expected tempo after the last tap is worked
// out by hand from the intervals each case lists.
struct TapCase {
  const char* name;
  std::vector<long long> ms;
  int tempo;
};

}  // namespace

TEST(TapTempo, TempoFromTapTimes) {
  const TapCase cases[] = {
      {"one tap gives no tempo", {1000}, 0},
      {"two taps", {0, 500}, 120},
      {"steady 500 ms", {0, 500, 1000, 1500, 2000}, 120},
      // intervals 480 520 500 510 490 520 480: mean 500
      {"jittered +-20 ms", {0, 480, 1000, 1500, 2010, 2500, 3020, 3500}, 120},
      // intervals 600 x4 and 900 (beyond +30 % of 600): 100 bpm from the rest
      {"one late outlier dropped", {0, 600, 1200, 1800, 2700, 3300}, 100},
      // 300 (below -30 % of 600) dropped
      {"one early outlier dropped", {0, 600, 1200, 1500, 2100, 2700}, 100},
      // intervals 500 and 1000: both beyond 30 % of their median 750, the latest wins
      {"two unlike intervals", {0, 500, 1500}, 60},
      // only the last 8 intervals count: four of 1000 ms, then eight of 400 ms
      {"last eight intervals", {0, 1000, 2000, 3000, 4000, 4400, 4800, 5200, 5600, 6000, 6400, 6800, 7200}, 150},
      // a pause over 2 s restarts: only 300 ms intervals after it
      {"pause restarts", {0, 1000, 2000, 4001, 4301, 4601}, 200},
      {"pause of exactly 2 s continues", {0, 2000, 4000}, 30},
      {"clock going backwards restarts", {5000, 5500, 6000, 1000, 1250, 1500}, 240},
      {"repeat at the same time ignored", {0, 500, 500, 1000}, 120},
      {"clamped to 280", {0, 100, 200, 300}, 280},
      // 60000 / 1999 = 30.015: rounded
      {"slowest taps", {0, 1999, 3998}, 30},
      // intervals 473 ms: 126.85 bpm rounds to 127
      {"rounded to whole bpm", {0, 473, 946, 1419}, 127},
      // 30 % of the median 500 is 150: 650 stays, 651 goes
      {"edge of the outlier band kept", {0, 500, 1000, 1500, 2150}, 112},  // (500*3+650)/4 = 537.5 ms
      {"just beyond the band dropped", {0, 500, 1000, 1500, 2151}, 120},
  };
  for (const TapCase& c : cases) {
    LTapTempo tap;
    int tempo = -1;
    for (long long t : c.ms) tempo = tap.Tap(t * 1000);
    EXPECT_EQ(tempo, c.tempo) << c.name;
    EXPECT_EQ(tap.Tempo(), c.tempo) << c.name;
  }
}

TEST(TapTempo, ResetStartsANewSeries) {
  LTapTempo tap;
  tap.Tap(0);
  tap.Tap(500000);
  tap.Reset();
  EXPECT_EQ(tap.Taps(), 0);
  EXPECT_EQ(tap.Tap(600000), 0);
  EXPECT_EQ(tap.Tap(1000000), 150);
}
