// The bytes of rendered files, pinned: each option family, format and rate,
// with the shipped sounds and with stereo, 8-bit, other-rate and full-scale
// ones that make the limiter work. The expected checksums are those of the
// files the renderer wrote before its export was made faster; a change of
// output shows here as a changed checksum.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"
#include "tools/ClickTrackRender.h"
#include "tools/RenderOptions.h"

namespace {

uint64_t Fnv1a(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  uint64_t h = 0xcbf29ce484222325ull;
  for (auto it = std::istreambuf_iterator<char>(in); it != std::istreambuf_iterator<char>(); ++it)
    h = (h ^ static_cast<uint8_t>(*it)) * 0x100000001b3ull;
  return h;
}

}  // namespace

TEST(RenderIdentity, FilesAreByteForByteAsBefore) {
  test::TempDir dir;
  std::vector<int32_t> full = test::PcmSine(3000, 1, 16, 0.05);
  std::vector<int32_t> edge = full;
  edge[50] = 32767, edge[100] = -32767;  // peaks at the limit
  full[100] = -32768;                    // 16 steps beyond it
  ASSERT_TRUE(test::WriteFile(dir.File("st.wav"), test::PcmWav(test::PcmSine(7200, 2, 24, 0.06), 2, 48000, 24)));
  ASSERT_TRUE(test::WriteFile(dir.File("lo.wav"), test::PcmWav(test::PcmSine(2205, 1, 8, 0.1), 1, 22050, 8)));
  ASSERT_TRUE(test::WriteFile(dir.File("full.wav"), test::PcmWav(full, 1, 44100, 16)));
  ASSERT_TRUE(test::WriteFile(dir.File("edge.wav"), test::PcmWav(edge, 1, 44100, 16)));
  const struct {
    const char* args;  // @ is the folder of the sounds above
    uint64_t fnv;
  } cases[] = {
      {"--seconds 7", 0x15dbec0f39278007ull},
      {"--tempo 133 --measure 4 --subdiv 2 --bars 6", 0x47a335673b63f01cull},
      {"--tempo 40 --measure 3 --bars 2", 0x8206ab6064004068ull},
      {"--tempo 280 --measure 7(3+4) --subdiv 8 --seconds 9", 0x90869321537a1527ull},
      {"--tempo 97 --measure 9(2+2+2+3) --subdiv 3 --bars 3", 0x38d063e05613661cull},
      {"--tempo 150 --measure 5(2+3) --subdiv 4 --swing 60 --bars 4", 0xb7ca8749b9e37627ull},
      {"--tempo 90 --measure 4 --subdiv 2 --swing 75 --bars 4", 0xa3fbe1e6de4e090dull},
      {"--tempo 110 --pattern DAb.bA --subdiv 2 --bars 5", 0xb8dbe1726026d369ull},
      {"--tempo 100 --measure 4 --count-in 2 --bars 3", 0x41b447036a9d0d88ull},
      {"--measure 4 --ramp 80:120:5:2 --subdiv 2", 0xfc1d28edaf15395aull},
      {"--measure 3 --gap 2:1 --bars 9", 0x10dfb47702c9f784ull},
      {"--measure 4 --random-mute 25:7 --subdiv 2 --bars 8", 0xece9dc1d95c985c8ull},
      {"--measure 4 --subdiv 2 --seconds 6 --format s24", 0x06060a17959a6b1aull},
      {"--measure 4 --subdiv 3 --seconds 6 --format s32", 0xc5180bf952aef6caull},
      {"--measure 4 --subdiv 4 --seconds 6 --format f32", 0x7efbffbd08d36c7cull},
      {"--measure 4 --subdiv 2 --seconds 6 --rate 48000", 0xfa58f105bbb2b8c5ull},
      {"--measure 7(4+3) --seconds 6 --rate 22050 --format s24", 0x905e479893f73a95ull},
      {"--measure 4 --accent-db 6 --downbeat-db 10 --beat-db 3 --click-db -10 --subdiv 2 --seconds 12",
       0xd9430ff246bac7e3ull},
      {"--measure 2 --accent @st.wav --beat @full.wav --click @lo.wav --subdiv 3 --seconds 8 --format f32",
       0x0c5857b288fe4d82ull},
      {"--measure 4 --beat @full.wav --click-db -127 --seconds 6", 0x3bf0cf5f024a2a93ull},
      // The beat alone, just above and at the limit: with and without the limiter.
      {"--beat @full.wav --accent-db -127 --downbeat-db 0 --click-db -127 --seconds 6", 0x62c88a39d71e4affull},
      {"--beat @edge.wav --accent-db -127 --downbeat-db 0 --click-db -127 --seconds 6", 0x266269b63da3ada3ull},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args;
    std::istringstream words(c.args);
    for (std::string w; words >> w;) args.push_back(w[0] == '@' ? dir.File(w.substr(1)) : w);
    args.insert(args.end(), {"-o", dir.File("out.wav")});
    RenderOptions o;
    RenderSummary summary;
    std::string error;
    ASSERT_TRUE(ParseRenderOptions(args, o, error)) << error;
    ASSERT_TRUE(RenderClickTrack(o, MORVANE_SOURCE_DATA_DIR "/metronome", summary, error)) << error;
    EXPECT_EQ(Fnv1a(dir.File("out.wav")), c.fnv) << c.args;
  }
}
