#include <gtest/gtest.h>

#include <vector>

#include "audio/RingBuffer.h"
#include "tests/audio/AudioTestSupport.h"

namespace {

TEST(RingBuffer, CapacityIsHalfASecondAndAtLeastTheMinimum) {
  struct Case {
    int rate;
    unsigned char channels;
    int capacity;
    int size;
  } cases[] = {
      {22050, 2, 16384, 32770},
      {96000, 1, 48000, 48001},
      {44101, 1, 22051, 22052},
  };
  for (const Case& c : cases) {
    LCARingBuffer ring(c.rate, c.channels);
    EXPECT_EQ(ring.Capacity(), c.capacity) << c.rate;
    EXPECT_EQ(ring.Size(), c.size) << c.rate;
    EXPECT_EQ(ring.FreeFrames(), c.capacity);
  }
}

// Reads everything queued and checks it continues the counting sequence.
void Drain(LCARingBuffer& ring, int& nextFrame, int frames) {
  std::vector<int> out(static_cast<size_t>(frames) * 2);
  unsigned long bytes = 0;
  LdBLevel l0, l1;
  ring.Read(out.data(), &bytes, frames, 512, l0, l1);
  ASSERT_EQ(bytes, static_cast<unsigned long>(frames) * 2 * 4);
  for (int s = 0; s < frames * 2; ++s)
    ASSERT_EQ(out[s], test::CountingSource::Value(nextFrame + s / 2, s % 2) * 4096) << s;
  nextFrame += frames;
}

TEST(RingBuffer, WrapsAroundWithoutLosingOrder) {
  LCARingBuffer ring(22050, 2);  // 16385 frames of room, 16384 usable
  LSoundSource source = test::Counting(200000);
  int next = 0;
  for (int round = 0; round < 7; ++round) {
    ring.Write(source, 8192);
    ring.Write(source, 5000);
    EXPECT_EQ(ring.FilledFrames(), 13192);
    EXPECT_EQ(ring.FreeFrames(), 16384 - 13192);
    EXPECT_EQ(ring.FilledEntries() + ring.FreeEntries() + 2, ring.Size());
    Drain(ring, next, 13192);
  }
  ring.Write(source, 16384);
  EXPECT_EQ(ring.FreeFrames(), 0) << "full is told apart from empty";
  ring.Discard();
  EXPECT_EQ(ring.FilledFrames(), 0);
}

TEST(RingBuffer, LevelFigures) {
  struct Case {
    int sample;
    int level;
  } cases[] = {
      {0, -127},       {2896 << 5, 0},  // mean square 8386816
      {916 << 5, -10},                  // 839056
      {29 << 5, -40},                   // 841
      {524287, 15},
  };
  for (const Case& c : cases) {
    std::vector<int> buffer(256, c.sample);
    LdBLevel level;
    GetBufferRMSDBChan(level, 0, buffer.data(), 128, 2);
    EXPECT_EQ(level.Get(), c.level) << c.sample;
  }
  // Channel 1 of a stereo block; a mono block measures its only channel.
  std::vector<int> stereo = {0, 916 << 5, 0, 916 << 5};
  LdBLevel l1;
  GetBufferRMSDBChan(l1, 1, stereo.data(), 2, 2);
  EXPECT_EQ(l1.Get(), -10);
  GetBufferRMSDBChan(l1, 1, stereo.data() + 1, 1, 1);
  EXPECT_EQ(l1.Get(), -10);
}

}  // namespace
