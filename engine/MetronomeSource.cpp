#include "engine/MetronomeSource.h"

#include <algorithm>

#include "soundfile/BufferUtils.h"

LMetronomeAdvancedSource::LMetronomeAdvancedSource(const LMetronomeAdvanced& metronome,
                                                   std::unique_ptr<LClickScore> score)
    : LSoundSourceBase(44100, 1, 0x200000), m_metronome(metronome), m_score(std::move(score)) {
  if (!m_score) {
    auto measure = std::make_unique<LMeasureScore>(m_metronome.m_measure);
    m_measureScore = measure.get();
    m_score = std::move(measure);
  }
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
  // The first beat: the bar's downbeat at frame 0.
  m_segment = LClickSegment::Make(0, m_metronome.m_tempo, m_metronome.m_subdivisions, m_sampleRate);
  m_beat.bpm = m_segment.bpm;
  m_beat.clicksPerBeat = m_segment.clicksPerBeat;
  m_beat.beatsPerBar = std::clamp(m_score->BeatsPerBar(), 1, LClickBeat::kMaxBeatsPerBar);
  m_beat.index = -1;
  m_beat.barBeat = -1;
  m_sub = m_segment.clicksPerBeat - 1;  // the first slot begins a beat
  m_click = -1;
  StartSlot();
}

void LMetronomeAdvancedSource::CheckSources() {
  // The last failing sound of beat, accent, click names the error.
  for (const LSoundSource* s : {&m_metronome.m_beatSound, &m_metronome.m_accentSound, &m_metronome.m_clickSound})
    if ((*s)->GetError() != 0) m_error = (*s)->GetError();
}

int LMetronomeAdvancedSource::GetPositionSample() const { return static_cast<int>(m_frame - m_beat.frame); }

int LMetronomeAdvancedSource::GetEndSample() const {
  // Never 0, so that a consumer asking for "end minus position" frames
  // always gets at least one.
  return static_cast<int>(std::max<int64_t>(m_beatEnd - m_beat.frame, m_frame - m_beat.frame + 1));
}

LSoundSource& LMetronomeAdvancedSource::SoundOf(LClickSound sound) {
  switch (sound) {
    case LClickSound::Accent: return m_metronome.m_accentSound;
    case LClickSound::Click: return m_metronome.m_clickSound;
    case LClickSound::Downbeat:
      return m_metronome.m_downbeatSound->GetError() == 0 ? m_metronome.m_downbeatSound : m_metronome.m_accentSound;
    case LClickSound::Beat:
    case LClickSound::None: break;
  }
  return m_metronome.m_beatSound;
}

void LMetronomeAdvancedSource::BeginBeat() {
  const int64_t at = m_segment.ClickFrame(m_click);
  m_beat.index += 1;
  m_beat.frame = at;
  m_beat.barBeat = (m_beat.barBeat + 1) % m_beat.beatsPerBar;
  m_score->BeginBeat(m_beat);
  // What a score hands back is distrusted like any input.
  m_beat.ChangeBar(m_beat.beatsPerBar);
  const LClickSegment next = LClickSegment::Make(at, m_beat.bpm, m_beat.clicksPerBeat, m_sampleRate);
  m_beat.bpm = next.bpm;
  m_beat.clicksPerBeat = next.clicksPerBeat;
  if (next.bpm != m_segment.bpm || next.clicksPerBeat != m_segment.clicksPerBeat) {
    // A change lands on this beat: the grid goes on from here, exact again.
    m_segment = next;
    m_click = 0;
  }
  m_beatEnd = m_segment.ClickFrame(m_click + m_segment.clicksPerBeat);
  m_beat.frames = m_beatEnd - at;
  m_log.Publish({m_beat.index, at, m_beat.frames, m_beat.bpm});
}

void LMetronomeAdvancedSource::StartSlot() {
  // Slots of zero frames (a rate of a few hertz) pass without a sound; the
  // loop ends because the grid always moves on within one beat's clicks.
  do {
    ++m_click;
    if (++m_sub >= m_segment.clicksPerBeat) {
      m_sub = 0;
      BeginBeat();
    }
    m_slotStart = m_segment.ClickFrame(m_click);
    m_slotEnd = m_segment.ClickFrame(m_click + 1);
  } while (m_slotEnd <= m_frame);
  const int64_t slot = m_slotEnd - m_slotStart;
  const LClickSound which = m_score->SoundAt(m_beat, m_sub);
  m_sound = &SoundOf(which);
  const int64_t delay =
      std::clamp<int64_t>(m_score->OnsetDelay(m_beat, m_sub, m_slotStart - m_beat.frame, slot), 0, slot);
  // A sound never plays for more than half of its slot; a short one plays whole.
  int64_t length = which == LClickSound::None ? 0 : (*m_sound)->GetEndSample();
  length = std::clamp<int64_t>(std::min(length, slot / 2), 0, slot - delay);
  m_soundFrom = m_slotStart + delay;
  m_soundTo = m_soundFrom + length;
  if (length > 0) (*m_sound)->Seek(0);
}

void LMetronomeAdvancedSource::ReadSound(int* out, int frames) {
  LSoundSource& sound = *m_sound;
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
  int remaining = samples;
  int* out = buffer;
  long peak = 0;  // silence adds nothing
  while (remaining > 0) {
    if (m_frame >= m_slotEnd) StartSlot();
    int n;
    if (m_frame >= m_soundFrom && m_frame < m_soundTo) {
      n = static_cast<int>(std::min<int64_t>({remaining, m_soundTo - m_frame, kMaxReadFrames}));
      ReadSound(out, n);
      long bound = 0;
      // Widening repeats samples: the sound's bound holds for the track.
      peak = peak >= 0 && (*m_sound)->ControlMessage(kMsgReadPeak, &bound) ? std::max(peak, bound) : -1;
    } else {
      const int64_t until = m_frame < m_soundFrom ? m_soundFrom : m_slotEnd;
      n = static_cast<int>(std::min<int64_t>(remaining, until - m_frame));
      ClearAudioBuffer(out, n, m_channels);
    }
    m_frame += n;
    remaining -= n;
    out += static_cast<long>(n) * m_channels;
  }
  m_readPeak = peak;
  m_rendered.store(m_frame, std::memory_order_relaxed);
}

bool LMetronomeAdvancedSource::ControlMessage(int message, long* value) {
  if (message != kMsgReadPeak || m_readPeak < 0) return false;
  *value = m_readPeak;
  return true;
}
