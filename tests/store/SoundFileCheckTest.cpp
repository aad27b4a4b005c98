#include "store/SoundFileCheck.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "tests/store/StoreTestUtil.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

namespace {

std::string WriteMono(const std::string& path, int frames, int rate) {
  EXPECT_TRUE(test::WriteFile(path, test::PcmWav(std::vector<int32_t>(static_cast<size_t>(frames), 100), 1, rate, 16)));
  return path;
}

TEST(SoundFileCheck, LengthInWholeMillisecondsDecidesValidity) {
  test::TempDir dir;
  struct Case {
    int frames, rate;
    long long ms;
    bool valid;
  } cases[] = {
      {2000, 8000, 250, true},   // exactly 250 ms
      {2008, 8000, 251, false},  // 251 ms
      {2007, 8000, 250, true},   // 250.875 ms: the remainder is dropped
      {0, 8000, 0, true},        // an empty sound is short enough
  };
  for (const Case& c : cases) {
    const std::string path = WriteMono(dir.File("s.wav"), c.frames, c.rate);
    EXPECT_EQ(LSoundFileLengthMs(path.c_str()), c.ms) << c.frames;
    EXPECT_EQ(LTestValidSoundFile(path.c_str()), c.valid) << c.frames;
  }
  test::WriteText(dir.File("text.wav"), "hello");
  EXPECT_EQ(LSoundFileLengthMs(dir.File("text.wav").c_str()), -1);
  for (const std::string& bad : {dir.File("text.wav"), dir.File("missing.wav"), dir.Path()})
    EXPECT_FALSE(LTestValidSoundFile(bad.c_str())) << bad;
}

TEST(SoundFileCheck, CopyIntoTheSoundFolder) {
  test::TempDir shared, other;
  ::mkdir(shared.File("Sound").c_str(), 0777);
  WriteMono(shared.File("Sound/Snare.wav"), 10, 8000);
  const std::string chosen = WriteMono(other.File("Snare.wav"), 20, 8000);
  std::string name;
  ASSERT_EQ(LCopyUserSoundFile(shared.Path(), chosen, name), 0);  // replaces the file of that name
  EXPECT_EQ(name, "Snare.wav");
  EXPECT_EQ(test::ReadText(shared.File("Sound/Snare.wav")), test::ReadText(chosen));
  EXPECT_FALSE(test::FileExists(shared.File("Sound/Snare.wav.part")));
  // A file chosen from the Sound folder itself keeps its contents.
  ASSERT_EQ(LCopyUserSoundFile(shared.Path(), shared.File("Sound/Snare.wav"), name), 0);
  EXPECT_EQ(test::ReadText(shared.File("Sound/Snare.wav")), test::ReadText(chosen));
  EXPECT_EQ(LCopyUserSoundFile(shared.Path(), shared.File("missing.wav"), name), ENOENT);
  EXPECT_FALSE(test::FileExists(shared.File("Sound/missing.wav")));
  EXPECT_EQ(LCopyUserSoundFile(shared.Path(), "/tmp/", name), EINVAL);  // no file name at all
}

}  // namespace
