#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/MetronomeAdvanced.h"
#include "soundfile/WaveFile.h"
#include "tests/support/ExactGrid.h"
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

TEST(RenderOptions, AcceptsMusiciansArguments) {
  RenderOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"--tempo", "300", "--measure", "7(3+4)", "--subdiv", "None", "--bars", "4", "--accent", "a.wav",
                     "--click-db", "-127", "--format", "f32", "-o", "out.wav"},
                    o, error))
      << error;
  EXPECT_EQ(o.tempo, 280);  // clamped like the model
  EXPECT_EQ(o.measure, 10);
  EXPECT_EQ(o.subdivisions, 1);
  EXPECT_EQ(o.bars, 4);
  EXPECT_EQ(o.sound[kAccent], "a.wav");
  EXPECT_EQ(o.level[kClick], -127);
  EXPECT_EQ(o.format, LWaveWriter::Format::F32);
  ASSERT_TRUE(Parse({"--tempo", "3", "--subdiv", "8", "-o", "x"}, o, error));
  EXPECT_EQ(o.tempo, 10);
  EXPECT_EQ(o.subdivisions, 8);
  ASSERT_TRUE(Parse(
      {"--measure", "9(2+2+2+3)", "--pattern", "DbA.", "--swing", "66%", "--downbeat-db", "-3", "-o", "x"}, o, error))
      << error;
  EXPECT_EQ(o.rhythm.measure.Name(), "9(2+2+2+3)");
  EXPECT_EQ(o.rhythm.Bar().ToString(), "DbA.");  // the pattern overrides the measure's bar
  EXPECT_EQ(o.rhythm.swing, 66);
  EXPECT_EQ(o.rhythm.downbeatDb, -3);
  RenderOptions help;
  EXPECT_TRUE(Parse({"--help"}, help, error));
  EXPECT_TRUE(help.help);
}

TEST(RenderOptions, RefusesBadArgumentsWithAReason) {
  const struct {
    std::vector<std::string> args;
    const char* reason;
  } cases[] = {
      {{"--tempo", "fast", "-o", "x"}, "not a number"},
      {{"--tempo", "nan", "-o", "x"}, "not a number"},
      {{"--measure", "9(2+2)", "-o", "x"}, "--measure: the grouping '2+2' adds up to 4, not 9 beats"},
      {{"--pattern", "DAxb", "-o", "x"}, "--pattern: the beat pattern 'DAxb' has 'x' at beat 3"},
      {{"--swing", "80", "-o", "x"}, "--swing: the swing '80' is not a whole percentage from 50"},
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
      {{"--count-in", "5", "-o", "x"}, "--count-in '5': bars"},
      {{"--random-mute", "60:1", "-o", "x"}, "--random-mute '60:1': percent"},
  };
  for (const auto& c : cases) {
    RenderOptions o;
    std::string error;
    EXPECT_FALSE(Parse(c.args, o, error)) << c.args[0];
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
}

// Device mode needs no output file.
TEST(RenderOptions, DeviceModes) {
  RenderOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"--play", "--device", "USB Headset", "--volume", "-6", "--seconds", "2"}, o, error)) << error;
  EXPECT_TRUE(o.play);
  EXPECT_EQ(o.device, "USB Headset");
  EXPECT_EQ(o.volume, -6);
  RenderOptions l;
  ASSERT_TRUE(Parse({"--list-devices"}, l, error)) << error;
  EXPECT_TRUE(l.listDevices);
  EXPECT_FALSE(l.play);
}

// The rendered file holds every onset on the exact grid,
// with the measure's sounds at their levels, and ends on a bar line.
TEST(Render, WritesExactClickTrack) {
  test::TempDir dir;
  const int values[3] = {1000, 2000, 3000};  // accent, beat, click as 16-bit values
  for (int i = 0; i < 3; ++i) {
    std::vector<int32_t> s(200, values[i]);
    ASSERT_TRUE(test::WriteFile(dir.File(std::string("snd") + char('0' + i) + ".wav"), test::PcmWav(s, 1, 48000, 16)));
  }
  RenderOptions o;
  o.tempo = 133;
  o.measure = LMetronomeAdvanced::MeasureIndex("5(2+3)");
  o.subdivisions = 2;
  o.bars = 2;
  for (int i = 0; i < 3; ++i) o.sound[i] = dir.File(std::string("snd") + char('0' + i) + ".wav");
  o.level[kAccent] = -6;  // 8.24 factor 8408526 -> 256/512
  o.output = dir.File("out.wav");
  RenderSummary summary;
  std::string error;
  ASSERT_TRUE(RenderClickTrack(o, dir.Path(), summary, error)) << error;
  auto slotAt = [](int k) { return static_cast<size_t>(test::ExactClick(k, 48000, 133, 2)); };
  EXPECT_EQ(summary.clickInterval, static_cast<int>(slotAt(1)));
  EXPECT_EQ(summary.frames, static_cast<long long>(slotAt(2 * 5 * 2)));

  int channels = 0, rate = 0;
  const std::vector<int> out = ReadWhole(o.output, channels, rate);
  EXPECT_EQ(rate, 48000);
  EXPECT_EQ(channels, 1);
  ASSERT_EQ(static_cast<long long>(out.size()), summary.frames);
  // The downbeat plays the accent sound 4 dB above the accent's -6 dB.
  const int downbeat = static_cast<int>(std::lround(values[0] * std::pow(10.0, -2.0 / 20)));
  const std::string bar = "DcBcAcBcBc";
  for (size_t slot = 0; slot < 20; ++slot) {
    const char kind = bar[slot % bar.size()];
    const int expected = kind == 'D' ? downbeat : kind == 'A' ? values[0] / 2 : kind == 'B' ? values[1] : values[2];
    const int tolerance = kind == 'D' ? 2 : 0;  // the gain's 1/512 steps
    const size_t start = slotAt(static_cast<int>(slot));
    EXPECT_NEAR(out[start] / 16, expected, tolerance) << slot;
    EXPECT_NEAR(out[start + 199] / 16, expected, tolerance) << slot;
    EXPECT_EQ(out[start + 200], 0) << slot;
    if (slot > 0) {
      EXPECT_EQ(out[start - 1], 0) << slot;
    }
  }
}

TEST(Render, FailsCleanlyWithoutLeavingAFile) {
  test::TempDir dir;
  RenderOptions o;
  o.seconds = 1;
  std::string error;
  RenderSummary summary;
  o.output = dir.File("missing-folder/out.wav");
  EXPECT_FALSE(RenderClickTrack(o, MORVANE_SOURCE_DATA_DIR "/metronome", summary, error));
  EXPECT_NE(error.find("cannot create"), std::string::npos) << error;

  o.output = dir.File("out.wav");
  o.sound[kClick] = dir.File("nope.wav");
  EXPECT_FALSE(RenderClickTrack(o, MORVANE_SOURCE_DATA_DIR "/metronome", summary, error));
  EXPECT_NE(error.find("click sound"), std::string::npos) << error;
  EXPECT_NE(error.find("could not be opened"), std::string::npos) << error;
  ASSERT_TRUE(test::WriteFile(dir.File("text.wav"), test::Bytes(50, 'x')));
  o.sound[kClick] = dir.File("text.wav");
  EXPECT_FALSE(RenderClickTrack(o, MORVANE_SOURCE_DATA_DIR "/metronome", summary, error));
  EXPECT_NE(error.find("not a valid sound file"), std::string::npos) << error;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}),
            1);  // only text.wav: no output, no .part
}

// The shipped sounds: mono 16-bit 44100 Hz, within 250 ms, accent the
// loudest and click the softest and shortest; all formats render.
TEST(Render, ShippedSoundsAndFormats) {
  const std::string folder = MORVANE_SOURCE_DATA_DIR "/metronome";
  int peaks[3] = {};
  int lengths[3] = {};
  for (int i = 0; i < 3; ++i) {
    const std::string path = folder + "/" + (i == 0 ? "accent" : i == 1 ? "beat" : "click") + ".wav";
    LSoundSource s = LWaveFile::OpenSource(path.c_str());
    ASSERT_EQ(s->GetError(), 0) << path;
    EXPECT_EQ(s->GetSampleRate(), 44100);
    EXPECT_EQ(s->GetChannels(), 1);
    EXPECT_LE(s.GetEnd().GetMilliseconds(), 250);
    lengths[i] = s->GetEndSample();
    std::vector<int> buf(static_cast<size_t>(lengths[i]));
    s->Read(buf.data(), lengths[i]);
    for (int v : buf) peaks[i] = std::max(peaks[i], std::abs(v));
  }
  EXPECT_GT(peaks[0], peaks[1]);
  EXPECT_GT(peaks[1], peaks[2]);
  EXPECT_LT(lengths[2], lengths[1]);

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
    // Shipped sounds are 16-bit at 0 dB: every format carries them exactly.
    EXPECT_EQ(got, reference) << name;
  }
}

// The output goes to a new file beside the target, renamed at the end: an
// attacker's link or FIFO in a shared folder is never written through, a
// device is never replaced, an input sound never overwritten.
TEST(Render, RefusesTargetsThatAreNotRegularFilesOrNewNames) {
  test::TempDir dir;
  const std::string sounds = MORVANE_SOURCE_DATA_DIR "/metronome";
  ASSERT_TRUE(test::WriteFile(dir.File("victim.wav"), test::Bytes(10, 'v')));
  std::filesystem::create_symlink(dir.File("victim.wav"), dir.File("link.wav"));
  ASSERT_EQ(mkfifo(dir.File("fifo.wav").c_str(), 0600), 0);
  std::filesystem::copy_file(sounds + "/beat.wav", dir.File("accent.wav"));
  std::filesystem::create_hard_link(dir.File("accent.wav"), dir.File("same.wav"));
  const struct {
    std::string output;
    const char* reason;
  } cases[] = {
      {dir.File("link.wav"), "is a symbolic link"},
      {dir.File("fifo.wav"), "is a FIFO"},
      {dir.Path(), "is a folder"},
      {"/dev/null", "is a device"},
      {dir.File("same.wav"), "itself"},
      {sounds + "/beat.wav", "itself"},
  };
  for (const auto& c : cases) {
    RenderOptions o;
    o.seconds = 1;
    o.sound[kAccent] = dir.File("accent.wav");
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
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 6);
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

// Sounds at three rates, each converted once to the track's rate: every
// slot sounds at its own pitch (zero crossings over the sound, +-1 %).
TEST(Render, SoundsAtOtherRatesKeepTheirPitch) {
  test::TempDir dir;
  const struct {
    int rate;
    double hz;
  } sounds[3] = {{48000, 1000}, {44100, 1500}, {22050, 700}};  // accent, beat, click
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
    EXPECT_EQ(rate, trackRate ? trackRate : 44100);
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
