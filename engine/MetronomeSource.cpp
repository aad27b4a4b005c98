#include "engine/MetronomeSource.h"

#include <algorithm>

#include "soundfile/BufferUtils.h"

LMetronomeAdvancedSource::LMetronomeAdvancedSource(const LMetronomeAdvanced& metronome)
    : LSoundSourceBase(44100, 1, 0x200000), m_metronome(metronome) {
  CheckSources();
  if (m_error == kSourceOk) {
    const int beat = m_metronome.m_beatSound->GetChannels();
    m_channels =
        static_cast<unsigned char>(std::max({beat == 0 ? 1 : beat, int(m_metronome.m_accentSound->GetChannels()),
                                             int(m_metronome.m_clickSound->GetChannels())}));
    m_sampleRate = m_metronome.m_beatSound->GetSampleRate();
    if (m_sampleRate < 1) {
      m_sampleRate = 44100;
      m_error = kSourceInvalid;
    }
  }
  m_widen.reset(new int[static_cast<size_t>(kMaxReadFrames) * m_channels]);
}

void LMetronomeAdvancedSource::CheckSources() {
  // The last failing sound of beat, accent, click names the error.
  for (const LSoundSource* s : {&m_metronome.m_beatSound, &m_metronome.m_accentSound, &m_metronome.m_clickSound})
    if ((*s)->GetError() != 0) m_error = (*s)->GetError();
}

void LMetronomeAdvancedSource::Advance(int frames) {
  LMetronomeAdvanced& m = m_metronome;
  m.m_clickPosition += frames;
  m.m_beatPosition += frames;
  if (m.m_clickPosition >= m.m_clickInterval) m.m_clickPosition = 0;
  // A beat is not always a whole number of click slots, so its end may fall
  // inside a step: keep the overshoot so the reported position does not
  // depend on the consumer's block sizes.
  if (m.m_beatInterval > 0 && m.m_beatPosition >= m.m_beatInterval) m.m_beatPosition %= m.m_beatInterval;
}

void LMetronomeAdvancedSource::ReadSound(int* out, int frames) {
  LSoundSource& sound = m_metronome.CurrentSound();
  const int have = sound->GetChannels();
  const int want = m_channels;
  if (have == want) {
    sound->Read(out, frames);
    return;
  }
  // A sound with fewer channels than the track is widened by repeating its
  // channels (mono goes to every channel; stereo into four gives L R L R).
  sound->Read(m_widen.get(), frames);
  for (int f = 0; f < frames; ++f)
    for (int c = 0; c < want; ++c) out[f * want + c] = m_widen[f * have + c % have];
}

void LMetronomeAdvancedSource::Read(int* buffer, int samples) {
  // Worker-thread code: allocates nothing; copies through the sounds' own
  // Read and a zero fill.
  LMetronomeAdvanced& m = m_metronome;
  const int ch = m_channels;
  int remaining = samples;
  int* out = buffer;
  if (m.m_clickInterval <= 0) {
    // No click grid (a beat sound at an absurdly low rate): silence.
    ClearAudioBuffer(out, remaining, m_channels);
    return;
  }
  while (remaining > 0) {
    if (m.m_clickPosition == 0) {
      m.WhichClick();
      m.CurrentSound()->Seek(0);
    }
    int n = 0;
    if (m.m_clickPosition < m.m_clickLength) {
      n = std::min({remaining, m.m_clickLength - m.CurrentSound()->GetPositionSample(),
                    m.m_clickLength - m.m_clickPosition, kMaxReadFrames});
    }
    if (n > 0) {
      ReadSound(out, n);
    } else {
      // The silent rest of the slot; a slot whose sound has no frames is all silence.
      n = std::min(remaining, m.m_clickInterval - m.m_clickPosition);
      ClearAudioBuffer(out, n, m_channels);
    }
    Advance(n);
    remaining -= n;
    out += static_cast<long>(n) * ch;
  }
}
