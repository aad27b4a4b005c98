#include "soundfile/Resample.h"

#include <soxr.h>

#include <algorithm>
#include <vector>

#include "soundfile/MemorySound.h"

LSoundSource LResampleSound(const LSoundSource& sound, int rate) {
  const int from = sound->GetSampleRate();
  if (sound->GetError() != 0 || from == rate || from < 1 || rate < 1000 || rate > 384000) return sound;
  const int channels = std::max<int>(1, sound->GetChannels());
  const int frames = std::clamp(sound->GetEndSample(), 0, kResampleMaxSeconds * from);
  std::vector<int> in = LReadFrames(sound, frames, channels);
  // Samples are 32-bit ints at +-2^19 full scale: far inside soxr's int32
  // range, so no clipping on the filter's overshoot.
  const size_t outFrames = static_cast<size_t>(static_cast<long long>(frames) * rate / from) + 1;
  std::vector<int> out(outFrames * channels);
  const soxr_io_spec_t io = soxr_io_spec(SOXR_INT32_I, SOXR_INT32_I);
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  size_t done = 0;
  const soxr_error_t error =
      soxr_oneshot(from, rate, static_cast<unsigned>(channels), in.data(), static_cast<size_t>(frames), nullptr,
                   out.data(), outFrames, &done, &io, &quality, nullptr);
  if (error) return LSoundSource(kSourceInvalid);
  out.resize(done * channels);
  return LSoundSource(new LMemorySound(rate, static_cast<unsigned char>(channels), std::move(out)));
}
