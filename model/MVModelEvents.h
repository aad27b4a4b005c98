// What the metronome model tells its listeners, always on the main thread.
#pragma once

#include "soundfile/DB.h"

struct LRhythm;

class LMVModelEvents {
 public:
  virtual ~LMVModelEvents() = default;
  // Names and markings point into the model's static tables.
  virtual void EvMeasureChanged(int index, const char* name) = 0;
  virtual void EvSubDivChanged(int index, const char* name) = 0;
  virtual void EvTempoChanged(int bpm, const char* marking) = 0;
  virtual void EvVolumeChanged(const LdBLevel& volume) = 0;
  virtual void EvPlayingStarted() = 0;
  virtual void EvPlayingStopped() = 0;
  // Position within the beat heard now (the output's clock less its latency).
  virtual void EvPlayingTime(int percent, int scale) = 0;
  // Once, a second after start-up.
  virtual void EvShowAudelleInfoBar() {}
  // Once per Play, after three minutes of uninterrupted playing.
  virtual void EvShowPractiqInfoBar() {}
  // The bar changed: measure, a beat's state or the swing (model/Rhythm.h).
  virtual void EvRhythmChanged(const LRhythm&) {}
  // The output ran dry count times since Play (the computer was too busy);
  // sent when the count grows. The clicks after each kept their places.
  virtual void EvUnderRuns(long /*count*/) {}
  // The tempo of the beat heard now changed (a speed trainer's step, a
  // change landing on its beat); sent from the playing-time ticks.
  virtual void EvHeardTempo(int /*bpm*/) {}
};

// Empty listener: override only what is needed.
class LMVModelEventsVoid : public LMVModelEvents {
 public:
  void EvMeasureChanged(int, const char*) override {}
  void EvSubDivChanged(int, const char*) override {}
  void EvTempoChanged(int, const char*) override {}
  void EvVolumeChanged(const LdBLevel&) override {}
  void EvPlayingStarted() override {}
  void EvPlayingStopped() override {}
  void EvPlayingTime(int, int) override {}
  void EvShowAudelleInfoBar() override {}
  void EvShowPractiqInfoBar() override {}
};

// Up to N listeners, filled from the front; the list ends at the first null.
template <typename T, int N>
class LMVNotifier {
 public:
  // False for null, a listener already present, or a full list.
  bool Add(T* listener) {
    if (!listener) return false;
    for (int i = 0; i < N; ++i) {
      if (m_slots[i] == listener) return false;
      if (!m_slots[i]) {
        m_slots[i] = listener;
        return true;
      }
    }
    return false;
  }
  void Clear() {
    for (T*& s : m_slots) s = nullptr;
  }
  template <typename F, typename... A>
  void Notify(F operation, const A&... args) {
    if (!m_enabled) return;
    for (int i = 0; i < N && m_slots[i]; ++i) (m_slots[i]->*operation)(args...);
  }
  void Enable(bool on) { m_enabled = on; }
  int Count() const {
    int n = 0;
    while (n < N && m_slots[n]) ++n;
    return n;
  }

 private:
  T* m_slots[N + 1] = {};  // the last stays null
  bool m_enabled = true;
};
