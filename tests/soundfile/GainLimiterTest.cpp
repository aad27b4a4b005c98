#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "soundfile/BufferUtils.h"
#include "soundfile/Gain.h"
#include "soundfile/PeakLimit.h"
#include "soundfile/SDF.h"
#include "tests/support/SourceReader.h"

namespace {

// A source over a fixed buffer, with a peak bound of our choosing; when
// knowsPeaks, it answers kMsgReadPeak with the true peak of each read.
class BufferSource : public LSoundSourceBase {
 public:
  BufferSource(std::vector<int> samples, int rate, unsigned char channels, int peak, bool knowsPeaks = false)
      : LSoundSourceBase(rate, channels, peak), m_samples(std::move(samples)), m_knowsPeaks(knowsPeaks) {}
  void Read(int* buffer, int n) override {
    for (int f = 0; f < n; ++f, ++m_pos)
      for (int c = 0; c < m_channels; ++c) {
        const long i = static_cast<long>(m_pos) * m_channels + c;
        buffer[f * m_channels + c] = m_pos >= 0 && i < static_cast<long>(m_samples.size()) ? m_samples[i] : 0;
      }
    m_readPeak = GetBufferPeak(buffer, n, m_channels);
  }
  bool ControlMessage(int message, long* value) override {
    if (message != kMsgReadPeak || !m_knowsPeaks) return false;
    *value = m_readPeak;
    return true;
  }
  int GetPositionSample() const override { return m_pos; }
  int GetEndSample() const override { return static_cast<int>(m_samples.size() / m_channels); }
  void Seek(int s) override { m_pos = s; }

 private:
  std::vector<int> m_samples;
  bool m_knowsPeaks;
  int m_pos = 0;
  int m_readPeak = 0;
};

std::vector<int> Noise(int count, int amplitude, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> d(-amplitude, amplitude);
  std::vector<int> v(static_cast<size_t>(count));
  for (int& x : v) x = d(rng);
  return v;
}

}  // namespace

TEST(Gain, FactorsPeakBoundsAndScaling) {
  const struct {
    int gain, factor, peak;
  } cases[] = {{16777216, 512, 524272},
               {8388608, 256, 524272},
               {32767, 0, 524272},
               {16777217, 512, 0x200000},
               {33554432, 1024, 0x200000}};
  for (const auto& c : cases) {
    LSoundSource in(new BufferSource({1000, -1000, 3, -3}, 44100, 1, 524272));
    LSPGain gain;
    gain.m_gain = c.gain;
    LSoundSource out = gain.OpenSource(in);
    auto* src = static_cast<LSRCGain*>(out.Get());
    EXPECT_EQ(src->GetFactor(), c.factor) << c.gain;
    EXPECT_EQ(out->GetPeak(), c.peak) << c.gain;
    const std::vector<int> got = test::ReadFrames(out, 4, 4);
    const int f = c.factor;
    EXPECT_EQ(got, (std::vector<int>{(f * 1000) >> 9, (f * -1000) >> 9, (f * 3) >> 9, (f * -3) >> 9})) << c.gain;
    EXPECT_EQ(out->GetPositionSample(), 4);
    EXPECT_EQ(out->GetEndSample(), 4);
  }
}

TEST(Gain, ParameterSaturatesAndChunksAreBounded) {
  LSPGain gain;
  int16_t big = 32767;  // far beyond what 8.24 can hold: saturates
  gain.SetParameterByIndex(0, &big);
  EXPECT_EQ(gain.m_gain, INT32_MAX);
  gain.SetPreset(2);

  // Save and load through the chunk store, with an unknown chunk in between.
  gain.m_option = true;
  LSDFWriter w;
  w.WriteInt(0x7777, 5);
  gain.SaveToSDF(w);
  ASSERT_TRUE(w.IsOk());
  LSPGain loaded;
  LSDFReader r(w.Bytes().data(), w.Bytes().size());
  LSDFReaderChunkIterator it(r);
  loaded.LoadFromSDF(r, it);
  EXPECT_EQ(loaded.m_gain, gain.m_gain);
  EXPECT_TRUE(loaded.m_option);

  // A full medium clears the writer's ok flag.
  LSDFWriter small(20);
  gain.SaveToSDF(small);
  EXPECT_FALSE(small.IsOk());
  // A container claiming more bytes than the store holds is bounded.
  std::vector<uint8_t> bad = w.Bytes();
  bad[12 + 4 + 4] = 0xFF;  // size of the 0x1000 container, high byte
  LSDFReader br(bad.data(), bad.size());
  LSDFReaderChunkIterator bit(br);
  LSPGain junk;
  junk.LoadFromSDF(br, bit);  // must not read out of bounds
}

TEST(PeakLimit, OnlyWhatCanExceedTheLimitIsLimited) {
  LSoundSource in(new BufferSource({}, 44100, 1, 0x200000));
  EXPECT_EQ(LSRCPeakLimit(in, 0x7FFFFFFF).GetPeak(), 0x3FFFFF);
  LSoundSource pcm(new BufferSource({}, 44100, 1, 524272));
  LSPPeakLimit effect(524272);
  EXPECT_EQ(effect.OpenSource(pcm).Get(), pcm.Get());  // nothing to limit: same object
  EXPECT_NE(effect.OpenSource(in).Get(), in.Get());
}

// Material within the limit passes bit-exact; loud material never exceeds
// the limit; the result is the same for every consumer block size.
TEST(PeakLimit, LimitsLoudAndPassesQuietMaterial) {
  for (int channels : {1, 2, 3}) {
    const int frames = 44100;
    std::vector<int> quiet = Noise(frames * channels, 524272, 7);
    LSoundSource qin(new BufferSource(quiet, 44100, static_cast<unsigned char>(channels), 0x200000));
    LSoundSource q = LSPPeakLimit(524272).OpenSource(qin);
    EXPECT_EQ(test::ReadFrames(q, frames, 1000), quiet);

    // Loud bursts between quiet stretches.
    std::vector<int> loud = Noise(frames * channels, 300000, 8);
    for (int i = 10000 * channels; i < 14000 * channels; ++i) loud[i] *= 7;
    for (int i = 30000 * channels; i < 30050 * channels; ++i) loud[i] = 2000000;
    std::vector<int> reference;
    for (int block : {1, 7, 512, 8192}) {
      LSoundSource lin(new BufferSource(loud, 44100, static_cast<unsigned char>(channels), 0x200000));
      LSoundSource l = LSPPeakLimit(524272).OpenSource(lin);
      const std::vector<int> got = test::ReadFrames(l, frames, block);
      EXPECT_LE(GetBufferPeak(got.data(), frames, static_cast<unsigned char>(channels)), 524272) << block;
      if (reference.empty())
        reference = got;
      else
        EXPECT_EQ(got, reference) << "block " << block << " channels " << channels;
    }
    // Quiet material well before the first burst is untouched.
    for (int i = 0; i < 4000 * channels; ++i) ASSERT_EQ(reference[i], loud[i]);
  }
}

// The gain starts to fall while the block two before a loud block plays and
// has reached the loud block's level when that block begins.
TEST(PeakLimit, RampsDownAheadOfALoudBlock) {
  const int block = 1260;
  std::vector<int> samples(block * 10, 100000);
  for (int i = 5 * block; i < 6 * block; ++i) samples[i] = 1048576;
  LSoundSource in(new BufferSource(samples, 44100, 1, 0x200000));
  LSoundSource l = LSPPeakLimit(524272).OpenSource(in);
  const std::vector<int> out = test::ReadFrames(l, block * 10, 333);
  EXPECT_EQ(out[2 * block + block / 2], 100000);  // before the ramp
  EXPECT_LT(out[3 * block + block / 2], 100000);  // falling two blocks ahead
  EXPECT_LE(out[5 * block], static_cast<int>(1048576LL * 8387584 / 16777216));
  EXPECT_EQ(out[9 * block + 10], 100000);  // recovered afterwards
}

TEST(PeakLimit, PositionSeekAndMessages) {
  std::vector<int> samples(44100);
  for (int i = 0; i < 44100; ++i) samples[i] = i;
  LSoundSource in(new BufferSource(samples, 44100, 1, 0x200000));
  LSoundSource l = LSPPeakLimit(524272).OpenSource(in);
  EXPECT_EQ(l->GetPositionSample(), 0);
  test::ReadFrames(l, 100, 100);
  EXPECT_EQ(l->GetPositionSample(), 100);  // the input is three blocks ahead
  EXPECT_EQ(in->GetPositionSample(), 3 * 1260);
  long held = 0;
  EXPECT_TRUE(l->ControlMessage(LSoundSourceBase::kMsgBufferedFrames, &held));
  EXPECT_EQ(held, 3 * 1260 - 100);
  l->Seek(20000);
  EXPECT_EQ(l->GetPositionSample(), 20000);
  EXPECT_EQ(test::ReadFrames(l, 1, 1)[0], 20000);
  EXPECT_EQ(l->GetEndSample(), 44100);
}

// A block whose known peak cannot reach the limit is not scanned; the samples
// are those of scanning every block, for blocks peaking just below, at and
// just above the limit. A gain does not pass the bound of what it amplifies.
TEST(PeakLimit, KnownBlockPeaksGiveTheSameSamples) {
  const int block = 1260, frames = 12 * block;
  for (int top : {524271, 524272, 524273}) {
    std::vector<int> samples = Noise(frames, 400000, 9);
    samples[6 * block + 100] = -top;
    std::vector<int> out[2];
    for (bool knows : {false, true}) {
      LSoundSource in(new BufferSource(samples, 44100, 1, 0x200000, knows));
      LSoundSource limited = LSPPeakLimit(524272).OpenSource(in);
      out[knows] = test::ReadFrames(limited, frames, 1000);
    }
    EXPECT_EQ(out[1], out[0]) << top;
    EXPECT_EQ(out[1] == samples, top <= 524272) << top;  // only a block above the limit changes anything
  }
  LSoundSource known(new BufferSource({1, 2}, 44100, 1, 0x200000, true));
  LSPGain louder;
  louder.m_gain = 33554432;
  long bound = 0;
  EXPECT_FALSE(louder.OpenSource(known)->ControlMessage(LSoundSourceBase::kMsgReadPeak, &bound));
}
