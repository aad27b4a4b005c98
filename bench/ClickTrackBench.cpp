// Throughput of the click-track chain and of PCM decoding, reported as
// "realtime" = audio seconds produced per second of CPU at 44100 Hz.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/MetronomeSource.h"
#include "soundfile/Gain.h"
#include "soundfile/PeakLimit.h"
#include "soundfile/WaveFile.h"
#include "soundfile/WaveWriter.h"

namespace {

std::string Folder() {
  static std::string folder = [] {
    char templ[] = "/tmp/morvane-bench-XXXXXX";
    return std::string(mkdtemp(templ));
  }();
  return folder;
}

std::string WriteSound(const char* name, int frames, int channels, LWaveWriter::Format format) {
  const std::string path = Folder() + "/" + name;
  std::vector<int> s(static_cast<size_t>(frames) * channels);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int>(400000 * std::sin(0.05 * i) * std::exp(-1e-4 * i));
  LWaveWriter w;
  if (!w.Open(path, 44100, channels, format) || !w.Write(s.data(), frames) || !w.Finish()) std::abort();
  return path;
}

void SetRealtime(benchmark::State& state, int64_t frames) {
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(frames) / 44100.0, benchmark::Counter::kIsRate);
  state.SetItemsProcessed(frames);
}

// Stereo sounds at +6 dB, so the limiter really works, 180 bpm in eighths.
void BM_ClickTrackThroughLimiter(benchmark::State& state) {
  WriteSound("accent.wav", 4000, 2, LWaveWriter::Format::S16);
  WriteSound("beat.wav", 3500, 2, LWaveWriter::Format::S16);
  WriteSound("click.wav", 1500, 2, LWaveWriter::Format::S16);
  LMetronomeAdvanced::SetDefaultSoundFolder(Folder());
  LMetronomeAdvanced m;
  LSPGain gain;
  gain.m_gain = 33474947;  // +6 dB
  m.m_accentSound = gain.OpenSource(m.m_accentSound);
  m.m_beatSound = gain.OpenSource(m.m_beatSound);
  m.m_clickSound = gain.OpenSource(m.m_clickSound);
  m.m_measure = 10;
  m.SetTempo(180);
  m.SetSubDiv(1);
  LSoundSource track(new LMetronomeAdvancedSource(m));
  LSoundSource limited = LSPPeakLimit(524272).OpenSource(track);
  const int block = static_cast<int>(state.range(0));
  std::vector<int> buf(static_cast<size_t>(block) * 2);
  for (auto _ : state) {
    limited->Read(buf.data(), block);
    benchmark::DoNotOptimize(buf.data());
  }
  SetRealtime(state, state.iterations() * block);
}
BENCHMARK(BM_ClickTrackThroughLimiter)->Arg(512)->Arg(8192);

template <LWaveWriter::Format F>
void BM_PcmDecodeStereo(benchmark::State& state) {
  const std::string path = WriteSound("decode.wav", 441000, 2, F);
  LSoundSource s = LWaveFile::OpenSource(path.c_str());
  std::vector<int> buf(8192 * 2);
  int64_t frames = 0;
  for (auto _ : state) {
    if (s->GetPositionSample() >= s->GetEndSample()) s->Seek(0);
    s->Read(buf.data(), 8192);
    benchmark::DoNotOptimize(buf.data());
    frames += 8192;
  }
  SetRealtime(state, frames);
}
BENCHMARK(BM_PcmDecodeStereo<LWaveWriter::Format::S16>)->Name("BM_PcmDecodeStereo/s16");
BENCHMARK(BM_PcmDecodeStereo<LWaveWriter::Format::S24>)->Name("BM_PcmDecodeStereo/s24");
BENCHMARK(BM_PcmDecodeStereo<LWaveWriter::Format::F32>)->Name("BM_PcmDecodeStereo/f32");

}  // namespace
