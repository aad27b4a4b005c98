// One-shot timers keyed by integer id that fire on the main thread. While
// timers are switched off (the main window building itself), requests are
// kept and armed when they are switched on again.
#pragma once

#include <map>
#include <mutex>

class QObject;

class LTimerHandler {
 public:
  LTimerHandler();
  virtual ~LTimerHandler();
  LTimerHandler(const LTimerHandler&) = delete;
  LTimerHandler& operator=(const LTimerHandler&) = delete;

  virtual void EvTimer(int id) = 0;

  // Arms id to fire once after ms; an armed id is moved to ms from now.
  void TimerSet(int id, unsigned int ms);
  void TimerReset(int id);
  // Removes all of this handler's timers.
  void TimerDestroy();
  bool IsTimerSet(int id) const;

  // Class-wide switch; switching on arms every kept request in order.
  static void Enable(bool on);
  static bool IsEnabled();

  // Called by the event loop when the platform timer fires.
  void Fire(int platformTimer);

 private:
  mutable std::recursive_mutex m_lock;
  // id -> platform timer id (0 once fired: stays mapped until reset).
  std::map<int, int> m_timers;
  QObject* m_target;  // owns the platform timers on the main thread
};
