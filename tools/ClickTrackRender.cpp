#include "tools/ClickTrackRender.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

#include "engine/BeatPatternScore.h"
#include "engine/ClickScore.h"
#include "engine/MetronomeSource.h"
#include "soundfile/DB.h"
#include "soundfile/Gain.h"
#include "soundfile/MemorySound.h"
#include "soundfile/PeakLimit.h"
#include "soundfile/WaveFile.h"
#include "tools/PracticeRender.h"
#include "tools/RenderOutput.h"

namespace {

constexpr const char* kSoundNames[3] = {"accent", "beat", "click"};
constexpr int kPlayerLimit = 524272;  // just below 16-bit full scale, as the player limits
// Ints of one sound held in memory: far beyond any click (a slot is at most a
// minute long, half of it sounds); a longer sound is read from its file.
constexpr long kMaxHeldSamples = 1L << 22;

std::string SoundPath(const RenderOptions& o, const std::string& folder, int which) {
  return o.sound[which].empty() ? folder + "/" + kSoundNames[which] + ".wav" : o.sound[which];
}

// The files a render reads, which its output must not replace.
std::vector<std::string> RenderInputs(const RenderOptions& o, const std::string& folder) {
  return {SoundPath(o, folder, kAccent), SoundPath(o, folder, kBeat), SoundPath(o, folder, kClick)};
}

bool OpenSound(const RenderOptions& o, const std::string& folder, int which, int level, LSoundSource& out,
               std::string& error) {
  const std::string path = SoundPath(o, folder, which);
  LSoundSource raw = LWaveFile::OpenSource(path.c_str());
  if (raw->GetError() != 0) {
    error = std::string("cannot use the ") + kSoundNames[which] + " sound '" + path +
            "': " + LSoundSourceErrorText(raw->GetError()) + " (error " + std::to_string(raw->GetError()) + ")";
    return false;
  }
  LSPGain gain;
  gain.m_gain = LdBLevel(level).GetLin();
  out = gain.OpenSource(raw);
  return true;
}

// Reads every sound of the metronome into memory; the loudest one's peak, or
// INT_MAX when one stays as it was (too long to hold).
int HoldSounds(LMetronomeAdvanced& m) {
  int peak = 0;
  for (LSoundSource* s : {&m.m_accentSound, &m.m_beatSound, &m.m_clickSound, &m.m_downbeatSound}) {
    if ((*s)->GetError() != 0) continue;  // an unset downbeat: the accent plays instead
    const LSoundSourceBase* before = s->Get();
    *s = LHoldInMemory(*s, kMaxHeldSamples);
    peak = s->Get() == before ? INT_MAX : std::max(peak, (*s)->GetPeak());
  }
  return peak;
}

}  // namespace

LBeatPattern RenderedBar(const RenderOptions& o) {
  // Callers that set only the measure index (older code) get its bar.
  if (!o.rhythm.patternGiven && o.rhythm.measure.IsNone() && o.measure != 0)
    return LMeasure::FromLegacyIndex(o.measure).Pattern();
  return o.rhythm.Bar();
}

bool BuildClickTrack(const RenderOptions& o, const std::string& soundFolder, LSoundSource& track,
                     RenderSummary& summary, std::string& error) {
  // The window exports on a worker thread: the process-wide folder is only
  // written when it changes, never for the same folder again.
  if (LMetronomeAdvanced::GetDefaultSoundFolder() != soundFolder)
    LMetronomeAdvanced::SetDefaultSoundFolder(soundFolder);
  LMetronomeAdvanced metronome;
  // The downbeat is the accent sound, opened again at its own level.
  const int downbeat = std::clamp(o.level[kAccent] + o.rhythm.downbeatDb, -127, 127);
  if (!OpenSound(o, soundFolder, kAccent, o.level[kAccent], metronome.m_accentSound, error) ||
      !OpenSound(o, soundFolder, kBeat, o.level[kBeat], metronome.m_beatSound, error) ||
      !OpenSound(o, soundFolder, kClick, o.level[kClick], metronome.m_clickSound, error) ||
      !OpenSound(o, soundFolder, kAccent, downbeat, metronome.m_downbeatSound, error))
    return false;
  // Every sound is converted once to the track's rate, so each keeps its pitch.
  if (!metronome.ConvertSounds(o.rate)) {
    error = "cannot convert the sounds to " + std::to_string(o.rate) + " Hz";
    return false;
  }
  summary.peak = HoldSounds(metronome);
  metronome.m_measure = o.measure;
  metronome.SetTempo(o.tempo);
  metronome.SetSubDiv(o.subdivisions - 1);

  track = LSoundSource(new LMetronomeAdvancedSource(
      metronome, WrapPracticeScore(o, std::make_unique<LBeatPatternScore>(RenderedBar(o), o.rhythm.swing,
                                                                          metronome.m_beatSound->GetSampleRate()))));
  if (track->GetError() != 0) {
    error = std::string("cannot render: ") + LSoundSourceErrorText(track->GetError());
    return false;
  }
  summary.sampleRate = track->GetSampleRate();
  summary.channels = track->GetChannels();
  summary.clickInterval = metronome.ReCalculateInterval();
  summary.grid = metronome.Grid();
  return true;
}

bool RenderClickTrack(const RenderOptions& o, const std::string& soundFolder, RenderSummary& summary,
                      std::string& error, const RenderProgress& progress) {
  LSoundSource track;
  if (!BuildClickTrack(o, soundFolder, track, summary, error)) return false;
  // No sample louder than the limit reaches the limiter: every block's gain
  // is then unity and it passes every sample unchanged, so it is left out.
  LSoundSource limited = summary.peak <= kPlayerLimit ? track : LSPPeakLimit(kPlayerLimit).OpenSource(track);

  // A number of bars ends exactly on a bar line of the exact grid, so the
  // file loops seamlessly (within a frame of the exact bar length).
  const int beatsPerBar = RenderedBar(o).GetBeats();
  if (!PracticeRenderFrames(o, summary.grid, beatsPerBar, summary.frames))
    summary.frames = o.bars > 0 ? summary.grid.BeatFrame(static_cast<int64_t>(o.bars) * beatsPerBar)
                                : std::llround(o.seconds * summary.sampleRate);

  LRenderOutput output;
  if (!output.Open(o.output, RenderInputs(o, soundFolder), summary.sampleRate, summary.channels, o.format,
                   static_cast<uint64_t>(summary.frames), error))
    return false;
  LWaveWriter& writer = output.Writer();
  std::unique_ptr<int[]> block(new int[static_cast<size_t>(kMaxReadFrames) * summary.channels]);
  for (long long done = 0; done < summary.frames;) {
    // The output removes its unfinished file when it goes out of scope.
    if (progress && !progress(done, summary.frames)) {
      summary.cancelled = true;
      error = "cancelled";
      return false;
    }
    const int n = static_cast<int>(std::min<long long>(kMaxReadFrames, summary.frames - done));
    limited->Read(block.get(), n);
    if (!writer.Write(block.get(), n)) {
      error = writer.Error();
      return false;
    }
    done += n;
  }
  if (!output.Finish(error)) return false;
  if (progress) progress(summary.frames, summary.frames);
  return true;
}
