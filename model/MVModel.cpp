#include "model/MVModel.h"

#include <time.h>

#include <algorithm>
#include <cstdio>

#include "audio/PlayDevice.h"
#include "engine/MetronomeSource.h"
#include "engine/PracticeScore.h"
#include "model/PracticeModel.h"
#include "soundfile/Gain.h"
#include "soundfile/WaveFile.h"
#include "store/DataFolders.h"
#include "store/Presets.h"
#include "store/Profile.h"
#include "store/Settings.h"

// Trace points of the model; they produce no output.
#define LMVMTRACE(name) ((void)0)

namespace {

// Marked for the translation catalogues, which the window looks them up in
// (context "LMVModel"); the model itself does not use Qt.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif
const char* const kSubDivNames[] = {QT_TRANSLATE_NOOP("LMVModel", "None"), "2", "3", "4", "5", "6", "7", "8", nullptr};

struct TempoMarking {
  const char* name;
  int from, to;
};
// Searched in order; the closing row's lower bound is 0.
const TempoMarking kMarkings[] = {{"Largo", 40, 59},    {"Larghetto", 60, 65},     {"Adagio", 66, 75},
                                  {"Andante", 76, 107}, {"Moderato", 108, 119},    {"Allegro", 120, 167},
                                  {"Presto", 168, 199}, {"Prestissimo", 200, 280}, {nullptr, 0, 0}};

const char kSettings[] = "Settings";
const char kSound[] = "Sound";

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

void CopyName(char* out, const char* name) {
  if (out) std::snprintf(out, 260, "%s", name);
}

}  // namespace

LMVModel& LMVModel::GetInstance() {
  static LMVModel model;
  return model;
}

LMVModel::LMVModel(std::unique_ptr<LAudioOutputUnit> unit)
    : m_player(unit ? std::move(unit) : LAudioOutputUnitCreate()) {
  m_player.GetOutput().SetPlayVolume(LdBLevel(Clamp(LUserSettingGet<int>(kSettings, "Volume", 0), -127, 127)));
  // The stored device is not looked up here: naming it asks every sound
  // server (and PortAudio's first use probes every sound system), which
  // would hold back the window. PrepareOutput or the first Play does it.
  m_practice = std::make_unique<LPracticeModel>(*this);
}

LMVModel::~LMVModel() { Destroy(); }

// A Play before it (a key pressed while the window came up) has looked the
// device up already.
void LMVModel::PrepareOutput() {
  if (!IsPlaying()) ApplyStoredOutputDevice();
}

// A stored name is looked up in every sound server's device list (a
// connection to each: tens of ms where a JACK server runs). While the device
// it found is open, Play keeps it without asking again; a name that found
// nothing (the default plays) is looked up at every Play, so the device is
// taken as soon as it is there.
void LMVModel::ApplyStoredOutputDevice() {
  char name[kSettingTextSize];
  _LUserSettingGetString(kSettings, "SoundOutDevice", "", name);
  LSoundPlayerLLCA& output = m_player.GetOutput();
  if (output.GetUnit().IsOpen() && output.GetDevice().m_index != 0 && m_appliedDevice == name) return;
  output.SetDevice(LSettingGetSoundPlayDevice(kSettings, "SoundOutDevice"));
  m_appliedDevice = name;
}

bool LMVModel::Init() {
  m_player.SetListener(this, 0);
  const bool ok = InitSounds();
  SetRhythm(LLoadRhythmSettings(3));
  SetSubDiv(LUserSettingGet<int>(kSettings, "SubDiv", 0));
  SetTempo(LUserSettingGet<int>(kSettings, "Tempo", 92));
  TimerSet(kTimerInfoBar, 1000);
  return ok;
}

void LMVModel::Destroy() {
  StopPlaying();
  m_player.SetListener(nullptr, 0);
  TimerDestroy();
  m_listeners.Clear();
}

bool LMVModel::SetNotify(LMVModelEvents* listener) {
  if (!m_listeners.Add(listener)) return false;
  char name[260];
  listener->EvMeasureChanged(GetMeasure(name), name);
  listener->EvSubDivChanged(GetSubDiv(name), name);
  listener->EvTempoChanged(GetTempo(), GetTempoMarking(GetTempo()));
  listener->EvVolumeChanged(GetVolume());
  if (IsPlaying())
    listener->EvPlayingStarted();
  else
    listener->EvPlayingStopped();
  return true;
}

int LMVModel::GetMeasure(char* name) const {
  // A measure outside today's list is named, at the index after the list.
  const int index = m_rhythm.measure.LegacyIndex();
  CopyName(name, m_rhythm.measure.Name().c_str());
  return index < 0 ? LMeasure::kLegacyCount : index;
}

int LMVModel::GetSubDiv(char* name) const {
  const int index = m_metronome.m_subdivisions - 1;
  CopyName(name, index >= 0 && index < 8 ? kSubDivNames[index] : "");
  return index;
}

const char* const* LMVModel::GetMeasureNames() { return LMetronomeAdvanced::MeasureNames(); }
const char* const* LMVModel::GetSubDivNames() { return kSubDivNames; }

const char* LMVModel::GetTempoMarking(int bpm) {
  for (const TempoMarking* m = kMarkings; m->from != 0; ++m)
    if (bpm >= m->from && bpm <= m->to) return m->name;
  return kMarkings[0].name;  // 10 to 39 bpm read as the slowest marking
}

LdBLevel LMVModel::GetVolume() const {
  return LdBLevel(Clamp(LUserSettingGet<int>(kSettings, "Volume", 0), -127, 127));
}

bool LMVModel::IsPlaying() const { return m_player.IsPlaying(); }

bool LMVModel::SetTempo(int bpm) {
  bpm = Clamp(bpm, GetTempoMin(), GetTempoMax());
  if (bpm == GetTempo()) return false;
  m_pendingTempo = bpm;
  m_metronome.SetTempo(bpm);
  LUserSettingSet<int>(kSettings, "Tempo", bpm);
  m_listeners.Notify(&LMVModelEvents::EvTempoChanged, bpm, GetTempoMarking(bpm));
  ApplyToTrack();
  return true;
}

bool LMVModel::SetTempoDelayed(int bpm) {
  if (!IsPlaying()) return SetTempo(bpm);
  bpm = Clamp(bpm, GetTempoMin(), GetTempoMax());
  if (bpm == m_pendingTempo) return false;
  // A run of changes (typing "133", an arrow held down, the wheel) settles
  // on its last value kTempoSettleMs after it, which then plays from the
  // next beat.
  m_pendingTempo = bpm;
  TimerSet(kTimerDelayedTempo, kTempoSettleMs);
  return true;
}

bool LMVModel::SetMeasure(int index) {
  // Choosing a measure again sets its accents back.
  if (index < 0 || index >= LMeasure::kLegacyCount) return false;
  LRhythm r = m_rhythm;
  r.measure = LMeasure::FromLegacyIndex(index);
  r.pattern = r.measure.Pattern();
  return SetRhythm(r);
}

bool LMVModel::SetSubDiv(int index) {
  if (index < 0 || index >= 8 || index == GetSubDiv()) return false;
  m_metronome.SetSubDiv(index);
  LUserSettingSet<int>(kSettings, "SubDiv", index);
  m_listeners.Notify(&LMVModelEvents::EvSubDivChanged, index, kSubDivNames[index]);
  ApplyToTrack();
  return true;
}

bool LMVModel::SetVolume(const LdBLevel& volume) {
  if (volume == GetVolume()) return false;
  m_player.GetOutput().SetPlayVolume(volume);
  LUserSettingSet<int>(kSettings, "Volume", volume.Get());
  m_listeners.Notify(&LMVModelEvents::EvVolumeChanged, volume);
  return true;
}

bool LMVModel::SetVolume(int db) { return SetVolume(LdBLevel(Clamp(db, -127, 127))); }

bool LMVModel::InitSounds() {
  LMVMTRACE("LMVModel::InitSounds");
  const std::string shared = GetSharedDataFolderApp();
  LSoundSource sounds[3];  // accent, beat, click: a user's sound that opened is kept, not opened again
  m_missingSounds.clear();
  {
    LProfile profile(shared);
    LOptionsList list(profile);
    LOptions options;
    if (!list.Open(options, options_field::kKey)) list.OpenAlways(options, options_field::kKey);
    const char* fields[3] = {options_field::kAccent, options_field::kBeat, options_field::kClick};
    for (int i = 0; i < 3; ++i) {
      const std::string name = options.GetString(fields[i]);
      if (name.empty()) continue;
      const std::string path = UserSoundFilePath(shared, name);
      if (!path.empty()) sounds[i] = LWaveFile::OpenSource(path.c_str());
      if (sounds[i]->GetError() == 0) continue;
      m_missingSounds.push_back({i, name});
      options.SetString(fields[i], "");  // saved when the record is released
    }
  }
  const char* levels[3] = {"AccentVolume", "BeatVolume", "ClickVolume"};
  LSoundSource* slots[3] = {&m_metronome.m_accentSound, &m_metronome.m_beatSound, &m_metronome.m_clickSound};
  for (int i = 0; i < 3; ++i) {
    LSoundSource& raw = sounds[i];
    if (raw->GetError() != 0) raw = LWaveFile::OpenSource(DefaultSoundFilePath(shared, kDefaultSoundFiles[i]).c_str());
    if (raw->GetError() != 0) return false;
    LSPGain gain;
    gain.m_gain = LdBLevel(static_cast<signed char>(LUserSettingGet<int>(kSound, levels[i], 0))).GetLin();
    *slots[i] = gain.OpenSource(raw);
  }
  m_metronome.m_downbeatSound =
      LRhythmDownbeatSound(sounds[0], static_cast<signed char>(LUserSettingGet<int>(kSound, levels[0], 0)));
  // Converted once, here, to the beat sound's rate, which the track runs at.
  return m_metronome.ConvertSounds();
}

bool LMVModel::StartPlaying() {
  if (IsPlaying()) return false;
  ApplyStoredOutputDevice();
  // The track runs at the rate the device plays (a JACK server's, say): the
  // sounds are converted when the device asks for another rate than theirs.
  const int rate = m_player.GetOutput().OpenDeviceRate(m_metronome.m_beatSound->GetSampleRate());
  if (rate > 0 && rate != m_metronome.m_beatSound->GetSampleRate()) m_metronome.ConvertSounds(rate);
  auto* track = new LMetronomeAdvancedSource(m_metronome, m_practice->Wrap(LRhythmScore(m_rhythm, m_metronome)));
  LSoundSource source(track);
  m_outputFailed = !m_player.Start(source, 0) && source->GetError() == 0;
  if (IsPlaying()) {
    m_track = source;
    m_trackSource = track;
  }
  return true;
}

bool LMVModel::StopPlaying() {
  if (!IsPlaying()) return false;
  m_player.Stop();
  return true;
}

void LMVModel::ApplyToTrack() {
  if (!IsPlaying()) return;
  LMeasureScore* score = m_trackSource ? m_trackSource->MeasureScore() : nullptr;
  if (!score) {
    // A practice plan plays over the bar's own score, which takes the
    // request; the plan keeps its count-in, trainer and gaps through it.
    LClickScore* voice = m_trackSource ? &m_trackSource->Score() : nullptr;
    if (auto* practice = dynamic_cast<LPracticeScore*>(voice)) voice = &practice->Inner();
    if (voice && LRhythmRequest(*voice, m_rhythm, m_metronome)) return;
    RestartPlaying();  // a track whose score takes no requests
    return;
  }
  // The worker renders ahead of the device, into the ring: the change lands
  // on the first beat not yet rendered, at most a ring (half a second) and a
  // beat after this call.
  score->Request(m_metronome.m_tempo, m_metronome.m_subdivisions, m_metronome.m_measure);
}

void LMVModel::ReleaseTrack() {
  m_trackSource = nullptr;
  m_track.Close();
}

bool LMVModel::RestartPlaying() {
  if (!IsPlaying()) return false;
  StopPlaying();
  return StartPlaying();
}

uint32_t LMVModel::MonotonicTicks() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

int LMVModel::PlayingTimePeriod(int bpm) {
  const double msPerBeat = 60000.0 / bpm;
  return std::max(static_cast<int>(msPerBeat / 94.0), 10);
}

void LMVModel::SetPlayingTimePace(int ms) {
  ms = std::max(ms, 0);
  const bool sooner = m_pace == 0 || (ms != 0 && ms < m_pace);
  m_pace = ms;
  if (sooner && IsPlaying() && IsTimerSet(kTimerPlayingTime)) TimerSet(kTimerPlayingTime, 0);
}

int LMVModel::PlayingTimeInterval(int bpm) const {
  int ms = std::max(PlayingTimePeriod(bpm), m_pace);
  // A practice timer stops the track from the ticks: one comes when it runs out.
  const long long left = m_practice->MsUntilTimerEnds(m_ticks());
  if (left >= 0) ms = static_cast<int>(std::min<long long>(ms, std::max(left, 10LL)));
  return ms;
}

void LMVModel::spntfPlay(long) {
  LMVMTRACE("LMVModel::spntfPlay");
  m_outputFailed = false;
  m_listeners.Notify(&LMVModelEvents::EvPlayingStarted);
  m_playStart = m_ticks();
  m_lastPercent = 0;
  m_underRuns = 0;
  m_heardTempo = 0;
  m_longPlayTold = false;
  m_practice->TrackStarted(m_player.GetSource(), m_playStart);
  TimerSet(kTimerPlayingTime, 0);
  m_practice->Ticked();
}

void LMVModel::spntfStop(long) {
  LMVMTRACE("LMVModel::spntfStop");
  // Listeners ask GetOutputFailed() on the stop to tell the user why.
  if (m_player.GetOutput().HasDeviceFailed()) m_outputFailed = true;
  m_practice->TrackStopped(m_ticks());
  ReleaseTrack();
  m_listeners.Notify(&LMVModelEvents::EvPlayingStopped);
  m_practice->Ticked();
}

void LMVModel::EvTimer(int id) {
  TimerReset(id);
  switch (id) {
    case kTimerPlayingTime: PlayingTimeTick(); break;
    case kTimerDelayedTempo: SetTempo(m_pendingTempo); break;
    case kTimerInfoBar: m_listeners.Notify(&LMVModelEvents::EvShowAudelleInfoBar); break;
    default: break;
  }
}

bool LMVModel::HeardFrame(int64_t& frame) const {
  if (!m_trackSource || !IsPlaying()) return false;
  const LSoundPlayerLLCA& output = m_player.GetOutput();
  return output.HeardFrame(output.Now(), frame);
}

void LMVModel::PlayingTimeTick() {
  // The light follows what is heard: the beat the listener hears now, as
  // the track rendered it (a change of tempo lands on a beat, so the phase
  // never jumps), not the time since Play at today's tempo.
  int64_t heard = 0;
  LLoggedBeat beat;
  if (HeardFrame(heard)) m_lastPercent = m_trackSource->Beats().Find(heard, beat) ? beat.Phase(heard, 100) : 0;
  if (beat.index >= 0 && beat.bpm != m_heardTempo) {
    m_heardTempo = beat.bpm;
    m_listeners.Notify(&LMVModelEvents::EvHeardTempo, beat.bpm);
  }
  m_listeners.Notify(&LMVModelEvents::EvPlayingTime, m_lastPercent, 100);
  if (IsPlaying()) {
    TimerSet(kTimerPlayingTime, static_cast<unsigned int>(PlayingTimeInterval(GetTempo())));
    const long underRuns = m_player.GetOutput().GetUnderRuns();
    if (underRuns > m_underRuns) m_listeners.Notify(&LMVModelEvents::EvUnderRuns, underRuns);
    m_underRuns = underRuns;
    const uint32_t elapsed = m_ticks() - m_playStart;  // wraps like the counter
    if (elapsed > 180000 && !m_longPlayTold) {
      m_longPlayTold = true;
      m_listeners.Notify(&LMVModelEvents::EvShowPractiqInfoBar);
    }
    m_practice->Ticked();  // may stop the track: the practice timer ran out
  } else {
    m_listeners.Notify(&LMVModelEvents::EvPlayingStopped);
  }
}
