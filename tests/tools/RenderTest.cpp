#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/MetronomeAdvanced.h"
#include "soundfile/WaveFile.h"
#include "tests/support/SourceReader.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"
#include "tools/ClickTrackRender.h"
#include "tools/RenderOptions.h"

namespace {

test::Bytes Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return test::Bytes(std::istreambuf_iterator<char>(in), {});
}

bool Parse(std::vector<std::string> args, RenderOptions& o, std::string& error) {
  return ParseRenderOptions(args, o, error);
}

std::vector<int> ReadWhole(const std::string& path, int& channels, int& rate) {
  LSoundSource s = LWaveFile::OpenSource(path.c_str());
  EXPECT_EQ(s->GetError(), 0) << path;
  channels = s->GetChannels();
  rate = s->GetSampleRate();
  return test::ReadFrames(s, s->GetEndSample(), 8192);
}

}  // namespace

// Tempos beyond the range are clamped as the model clamps them; a pattern
// overrides the measure's bar.
TEST(RenderOptions, ClampsTheTempoAndThePatternOverridesTheMeasure) {
  RenderOptions o;
  std::string error;
  for (const auto& [tempo, clamped] : {std::pair{"300", 280}, {"3", 10}}) {
    ASSERT_TRUE(Parse({"--tempo", tempo, "-o", "x"}, o, error)) << error;
    EXPECT_EQ(o.tempo, clamped) << tempo;
  }
  ASSERT_TRUE(Parse({"--measure", "9(2+2+2+3)", "--pattern", "DbA.", "-o", "x"}, o, error)) << error;
  EXPECT_EQ(o.rhythm.measure.Name(), "9(2+2+2+3)");
  EXPECT_EQ(o.rhythm.Bar().ToString(), "DbA.");
}

TEST(RenderOptions, RefusesBadArgumentsWithAReason) {
  const struct {
    std::vector<std::string> args;
    const char* reason;
  } cases[] = {
      {{"--tempo", "fast", "-o", "x"}, "not a number"},
      {{"--tempo", "nan", "-o", "x"}, "not a number"},
      {{"--downbeat-db", "200", "-o", "x"}, "--downbeat-db: '200'"},
      {{"--subdiv", "9", "-o", "x"}, "unknown subdivision"},
      {{"--seconds", "0", "-o", "x"}, "seconds"},
      {{"--bars", "2.5", "-o", "x"}, "bars"},
      {{"--beat-db", "128", "-o", "x"}, "-127 to 127"},
      {{"--format", "s8", "-o", "x"}, "unknown format"},
      {{"--colour", "3", "-o", "x"}, "unknown option"},
      {{"--play", "--volume", "128"}, "-127 to 127"},
      {{"-o"}, "needs a value"},
      {{"stray"}, "unexpected argument"},
      {{"--tempo", "120"}, "no output file"},
  };
  for (const auto& c : cases) {
    RenderOptions o;
    std::string error;
    EXPECT_FALSE(Parse(c.args, o, error)) << c.args[0];
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
}

// Every format renders; the shipped sounds are 16-bit at 0 dB, so every
// format carries them exactly.
TEST(Render, EveryFormatCarriesTheShippedSoundsExactly) {
  const std::string folder = MORVANE_SOURCE_DATA_DIR "/metronome";
  test::TempDir dir;
  std::vector<int> reference;
  for (const char* name : {"s16", "s24", "s32", "f32"}) {
    RenderOptions o;
    std::string error;
    ASSERT_TRUE(ParseRenderOptions(
        {"--measure", "4", "--downbeat-db", "0", "--seconds", "2", "--format", name, "-o", dir.File("t.wav")}, o,
        error));
    RenderSummary summary;
    ASSERT_TRUE(RenderClickTrack(o, folder, summary, error)) << error;
    int channels = 0, rate = 0;
    std::vector<int> got = ReadWhole(dir.File("t.wav"), channels, rate);
    ASSERT_EQ(got.size(), 88200u) << name;
    if (reference.empty()) reference = got;
    EXPECT_EQ(got, reference) << name;
  }
}

// The output goes to a new file beside the target, renamed at the end: an
// attacker's link or FIFO in a shared folder is never written through, a
// device is never replaced, an input sound never overwritten; a sound that
// cannot be used is named, and a refused render leaves no file behind.
TEST(Render, RefusesTargetsThatAreNotRegularFilesOrNewNamesAndBadSounds) {
  test::TempDir dir;
  const std::string sounds = MORVANE_SOURCE_DATA_DIR "/metronome";
  ASSERT_TRUE(test::WriteFile(dir.File("victim.wav"), test::Bytes(10, 'v')));
  std::filesystem::create_symlink(dir.File("victim.wav"), dir.File("link.wav"));
  ASSERT_EQ(mkfifo(dir.File("fifo.wav").c_str(), 0600), 0);
  std::filesystem::copy_file(sounds + "/beat.wav", dir.File("accent.wav"));
  std::filesystem::create_hard_link(dir.File("accent.wav"), dir.File("same.wav"));
  ASSERT_TRUE(test::WriteFile(dir.File("text.wav"), test::Bytes(50, 'x')));
  const struct {
    std::string output;
    const char* reason;
    std::string click = "";  // empty: the shipped sound
  } cases[] = {
      {dir.File("link.wav"), "is a symbolic link"},
      {dir.File("fifo.wav"), "is a FIFO"},
      {dir.Path(), "is a folder"},
      {"/dev/null", "is a device"},
      {dir.File("same.wav"), "itself"},
      {sounds + "/beat.wav", "itself"},
      {dir.File("new.wav"), "click sound", dir.File("nope.wav")},
      {dir.File("new.wav"), "could not be opened", dir.File("nope.wav")},
      {dir.File("new.wav"), "not a valid sound file", dir.File("text.wav")},
  };
  for (const auto& c : cases) {
    RenderOptions o;
    o.seconds = 1;
    o.sound[kAccent] = dir.File("accent.wav");
    o.sound[kClick] = c.click;
    o.output = c.output;
    std::string error;
    RenderSummary summary;
    EXPECT_FALSE(RenderClickTrack(o, sounds, summary, error)) << c.output;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
  EXPECT_EQ(Slurp(dir.File("victim.wav")), test::Bytes(10, 'v'));
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  // A regular file is replaced, a new name created, and nothing else is left.
  for (const char* name : {"victim.wav", "new.wav"}) {
    RenderOptions o;
    o.seconds = 1;
    o.output = dir.File(name);
    std::string error;
    RenderSummary summary;
    ASSERT_TRUE(RenderClickTrack(o, sounds, summary, error)) << error;
    EXPECT_EQ(LWaveFile::OpenSource(o.output.c_str())->GetEndSample(), summary.frames);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.wav")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 7);
}

// Lengths a WAV header cannot describe are refused at once, before a byte is
// rendered; the longest that fit still start.
TEST(Render, RefusesLengthsAWavFileCannotHold) {
  test::TempDir dir;
  const struct {
    double seconds;
    const char* format;
    bool fits;
  } cases[] = {{86400, "s16", false}, {48000, "s16", true}, {24000, "f32", true}, {25000, "f32", false}};
  for (const auto& c : cases) {
    RenderOptions o;
    std::string error;
    ASSERT_TRUE(ParseRenderOptions({"--seconds", std::to_string(c.seconds), "--format", c.format, "-o",
                                    c.fits ? "/nonexistent-folder/x.wav" : dir.File("x.wav")},
                                   o, error));
    RenderSummary summary;
    EXPECT_FALSE(RenderClickTrack(o, MORVANE_SOURCE_DATA_DIR "/metronome", summary, error));
    // Those that fit get as far as creating the file.
    EXPECT_NE(error.find(c.fits ? "cannot create" : "at most 4095 MiB"), std::string::npos) << error;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 0);
}

// "-o -" streams the same bytes a file gets, with the sizes in the header.
TEST(Render, StreamsToStandardOutput) {
  test::TempDir dir;
  const std::string args = " --measure 3 --bars 2 --format s24 -o ";
  ASSERT_EQ(std::system((MORVANE_RENDER " " + args + dir.File("file.wav") + " >/dev/null").c_str()), 0);
  ASSERT_EQ(std::system((MORVANE_RENDER " " + args + "- 2>/dev/null | cat >" + dir.File("pipe.wav")).c_str()), 0);
  const test::Bytes piped = Slurp(dir.File("pipe.wav"));
  EXPECT_EQ(piped, Slurp(dir.File("file.wav")));
  ASSERT_GT(piped.size(), 44u);
  EXPECT_EQ(piped[4] | piped[5] << 8 | piped[6] << 16 | piped[7] << 24, static_cast<int>(piped.size() - 8));
}

// Sounds at three rates, each converted once to the track's rate (by default
// the beat sound's): every slot sounds at its own pitch (zero crossings over
// the sound, +-1 %).
TEST(Render, SoundsAtOtherRatesKeepTheirPitch) {
  test::TempDir dir;
  const struct {
    int rate;
    double hz;
  } sounds[3] = {{48000, 1000}, {32000, 1500}, {22050, 700}};  // accent, beat, click
  for (int i = 0; i < 3; ++i) {
    const int frames = sounds[i].rate / 5;  // 200 ms
    ASSERT_TRUE(test::WriteFile(
        dir.File(std::string("s") + char('0' + i) + ".wav"),
        test::PcmWav(test::PcmSine(frames, 1, 16, 2 * M_PI * sounds[i].hz / sounds[i].rate), 1, sounds[i].rate, 16)));
  }
  for (int trackRate : {0, 96000, 22050}) {
    RenderOptions o;
    o.tempo = 60;
    o.measure = LMetronomeAdvanced::MeasureIndex("2");
    o.subdivisions = 2;
    o.bars = 1;
    o.rate = trackRate;
    for (int i = 0; i < 3; ++i) o.sound[i] = dir.File(std::string("s") + char('0' + i) + ".wav");
    o.output = dir.File("out.wav");
    RenderSummary summary;
    std::string error;
    ASSERT_TRUE(RenderClickTrack(o, dir.Path(), summary, error)) << error;
    int channels = 0, rate = 0;
    const std::vector<int> out = ReadWhole(o.output, channels, rate);
    EXPECT_EQ(rate, trackRate ? trackRate : 32000);
    const int which[4] = {0, 2, 1, 2};  // A c B c
    for (int slot = 0; slot < 4; ++slot) {
      const size_t start = static_cast<size_t>(slot) * rate / 2;
      const size_t length = static_cast<size_t>(rate) / 5 - 200;  // within the sound, past its ends
      int crossings = 0;
      for (size_t f = start + 100; f < start + length; ++f) crossings += (out[f] < 0) != (out[f + 1] < 0);
      const double hz = crossings / 2.0 * rate / (length - 100);
      EXPECT_NEAR(hz, sounds[which[slot]].hz, sounds[which[slot]].hz / 100) << "slot " << slot << " at " << rate;
    }
  }
}
