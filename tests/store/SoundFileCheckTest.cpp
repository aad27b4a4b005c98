#include "store/SoundFileCheck.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "store/DataFolders.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

namespace {

std::string WriteMono(const std::string& path, int frames, int rate) {
  std::vector<int32_t> samples(static_cast<size_t>(frames), 100);
  EXPECT_TRUE(test::WriteFile(path, test::PcmWav(samples, 1, rate, 16)));
  return path;
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct LengthCase {
  int frames;
  int rate;
  long long ms;
  bool valid;
};

TEST(SoundFileCheck, LengthInWholeMillisecondsDecidesValidity) {
  test::TempDir dir;
  const LengthCase cases[] = {
      {2000, 8000, 250, true},     // exactly 250 ms
      {2008, 8000, 251, false},    // 251 ms
      {2007, 8000, 250, true},     // 250.875 ms: the remainder is dropped
      {11025, 44100, 250, true},   //
      {0, 8000, 0, true},          // an empty sound is short enough
      {441000, 44100, 10000, false},
  };
  for (const LengthCase& c : cases) {
    const std::string path = WriteMono(dir.File("s.wav"), c.frames, c.rate);
    EXPECT_EQ(LSoundFileLengthMs(path.c_str()), c.ms) << c.frames << " at " << c.rate;
    EXPECT_EQ(LTestValidSoundFile(path.c_str()), c.valid) << c.frames << " at " << c.rate;
  }
}

TEST(SoundFileCheck, FilesThatAreNotWavSourcesAreRefused) {
  test::TempDir dir;
  test::WriteFile(dir.File("text.wav"), test::Bytes{'h', 'e', 'l', 'l', 'o'});
  EXPECT_EQ(LSoundFileLengthMs(dir.File("text.wav").c_str()), -1);
  EXPECT_FALSE(LTestValidSoundFile(dir.File("text.wav").c_str()));
  EXPECT_FALSE(LTestValidSoundFile(dir.File("missing.wav").c_str()));
  EXPECT_FALSE(LTestValidSoundFile(dir.Path().c_str()));
}

TEST(SoundFileCheck, BaseNameIsThePartAfterTheLastSlashOfEitherKind) {
  EXPECT_EQ(LSoundFileBaseName("/a/b/Snare.wav"), "Snare.wav");
  EXPECT_EQ(LSoundFileBaseName("C:\\x\\Snare.wav"), "Snare.wav");
  EXPECT_EQ(LSoundFileBaseName("Snare.wav"), "Snare.wav");
  EXPECT_EQ(LSoundFileBaseName("/a/"), "");
}

TEST(SoundFileCheck, CopyReplacesAFileOfTheSameNameInTheSoundFolder) {
  test::TempDir shared, other;
  ::mkdir(shared.File("Sound").c_str(), 0777);
  WriteMono(shared.File("Sound/Snare.wav"), 10, 8000);
  const std::string chosen = WriteMono(other.File("Snare.wav"), 20, 8000);
  std::string name;
  ASSERT_TRUE(LCopyUserSoundFile(shared.Path(), chosen, name));
  EXPECT_EQ(name, "Snare.wav");
  EXPECT_EQ(Contents(shared.File("Sound/Snare.wav")), Contents(chosen));
  EXPECT_FALSE(std::ifstream(shared.File("Sound/Snare.wav.part")).good());
}

TEST(SoundFileCheck, AFileChosenFromTheSoundFolderItselfKeepsItsContents) {
  test::TempDir shared;
  ::mkdir(shared.File("Sound").c_str(), 0777);
  const std::string path = WriteMono(shared.File("Sound/Own.wav"), 30, 8000);
  const std::string before = Contents(path);
  std::string name;
  ASSERT_TRUE(LCopyUserSoundFile(shared.Path(), path, name));
  EXPECT_EQ(Contents(path), before);
  EXPECT_FALSE(before.empty());
}

TEST(SoundFileCheck, CopyFailsForUnreadableSourcesAndUnusableNames) {
  test::TempDir shared;
  std::string name;
  EXPECT_FALSE(LCopyUserSoundFile(shared.Path(), shared.File("missing.wav"), name));
  EXPECT_FALSE(std::ifstream(shared.File("Sound/missing.wav")).good());
  EXPECT_FALSE(LCopyUserSoundFile(shared.Path(), "/tmp/", name));  // no file name at all
}

}  // namespace
