#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "soundfile/BufferUtils.h"
#include "soundfile/SoundProcess.h"
#include "soundfile/SoundSource.h"

namespace {
// Counts destructions so that handle lifetimes can be checked.
struct CountedSource : LSoundSourceBase {
  explicit CountedSource(int* deaths) : LSoundSourceBase(44100, 2, 524272), deaths(deaths) {}
  ~CountedSource() override { ++*deaths; }
  void Read(int*, int) override {}
  int GetPositionSample() const override { return 0; }
  int GetEndSample() const override { return 441; }
  int* deaths;
};
}  // namespace

TEST(SoundSource, HandleLifetimeAndCounting) {
  int deaths = 0;
  {
    LSoundSource a(new CountedSource(&deaths));
    EXPECT_EQ(a->GetRefCount(), 1);
    {
      LSoundSource b = a;
      EXPECT_EQ(a.Get(), b.Get());
      EXPECT_EQ(a->GetRefCount(), 2);
    }
    EXPECT_EQ(a->GetRefCount(), 1);
    LSoundSource& self = a;
    a = self;
    EXPECT_EQ(a->GetRefCount(), 1);
    EXPECT_EQ(deaths, 0);
    LSoundSource c;
    c = a;
    a.Close();
    EXPECT_EQ(a->GetError(), kSourceNone);
    EXPECT_EQ(deaths, 0);  // c still holds it
  }
  EXPECT_EQ(deaths, 1);
}

TEST(SoundSource, ErrorSourcesAreUsableSilence) {
  LSoundSource s(kSourceInvalid);
  EXPECT_EQ(s->GetError(), kSourceInvalid);
  std::vector<int> buf(64, 7);
  s->Read(buf.data(), 64);
  EXPECT_EQ(buf, std::vector<int>(64, 0));
  EXPECT_EQ(s.GetEnd().GetMilliseconds(), 0);
  s.Close();
  s.Close();
  EXPECT_EQ(s->GetError(), kSourceNone);
  EXPECT_EQ(LSoundSource(static_cast<LSoundSourceBase*>(nullptr))->GetError(), kSourceNone);
  // A processing stage over a failed input exists, reports code 2 and reads silence.
  struct Pass : LSoundProcessBase {
    using LSoundProcessBase::LSoundProcessBase;
    void Read(int* b, int n) override { m_input->Read(b, n); }
  };
  LSoundSource stage(new Pass(s));
  EXPECT_EQ(stage->GetError(), kSourceInputError);
  EXPECT_EQ(stage->GetEndSample(), 0);
}

TEST(SoundSource, SoundTimeSplitsToAvoidOverflow) {
  const struct {
    int samples, rate, ms;
  } cases[] = {{11069, 44100, 250},           {11070, 44100, 251}, {44100, 44100, 1000}, {0, 8000, 0}, {100, 0, 0},
               {2000000000, 48000, 41666666}, {7, -5, 0}};
  for (const auto& c : cases) {
    LSoundTime t;
    t.SetSamples(c.samples, c.rate);
    EXPECT_EQ(t.GetMilliseconds(), c.ms) << c.samples << " @ " << c.rate;
  }
}

TEST(BufferUtils, PeakAndGainEdges) {
  const int small[] = {5, -7, 3};
  EXPECT_EQ(GetBufferPeak(small, 3, 1), 7);
  EXPECT_EQ(GetBufferPeak(small, 0, 1), 0);
  const int positive[] = {1, 9, 4, 2};
  EXPECT_EQ(GetBufferPeak(positive, 2, 2), 9);
  // Lengths around any unrolling, with the peak in the last sample.
  for (int n : {1, 7, 8, 9, 33}) {
    std::vector<int> buf(static_cast<size_t>(n), 3);
    buf.back() = -1048576;
    EXPECT_EQ(GetBufferPeak(buf.data(), n, 1), 1048576) << n;
    GainAudioBufferQuick(1536, buf.data(), n);
    EXPECT_EQ(buf.back(), -3 * 1048576) << n;  // the largest product that fits
    if (n > 1) {
      EXPECT_EQ(buf[0], 9) << n;
    }
  }
  int neg[] = {-3, 3, -1};
  GainAudioBufferQuick(256, neg, 3);
  EXPECT_EQ(neg[0], -2);  // rounds toward minus infinity
  EXPECT_EQ(neg[1], 1);
  EXPECT_EQ(neg[2], -1);
}

TEST(BufferUtils, MeanSquareIsExactMeanOfScaledSquares) {
  std::mt19937 rng(2);
  std::uniform_int_distribution<int> dist(-524288, 524288);
  for (int frames : {1, 3, 4096}) {
    std::vector<int> buf(static_cast<size_t>(frames) * 2);
    for (int& v : buf) v = dist(rng);
    uint64_t sum = 0, sumLeft = 0;
    for (size_t i = 0; i < buf.size(); ++i) {
      const int64_t s = buf[i] >> 5;
      sum += static_cast<uint64_t>(s * s);
      if (i % 2 == 1) sumLeft += static_cast<uint64_t>(s * s);
    }
    // The low 13 bits of the sum are dropped: at most 8192 / n below the exact mean.
    const double n = static_cast<double>(buf.size());
    const double got = GetBufferMeanSquare(buf.data(), frames, 2);
    EXPECT_LE(got, sum / n);
    EXPECT_GE(got, sum / n - 8192.0 / n - 1);
    const double gotRight = GetBufferMeanSquareChan(1, buf.data(), frames, 2);
    EXPECT_LE(gotRight, sumLeft / double(frames));
    EXPECT_GE(gotRight, sumLeft / double(frames) - 8192.0 / frames - 1);
  }
  EXPECT_EQ(GetBufferMeanSquare(nullptr, 0, 2), 0u);
  EXPECT_EQ(GetBufferMeanSquareChan(0, nullptr, 0, 2), 0);
}
