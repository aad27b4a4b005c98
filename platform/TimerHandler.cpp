#include "platform/TimerHandler.h"

#include <QObject>
#include <QTimerEvent>
#include <vector>

namespace {

class TimerTarget : public QObject {
 public:
  explicit TimerTarget(LTimerHandler* handler) : m_handler(handler) {}

 protected:
  void timerEvent(QTimerEvent* e) override {
    // Qt timers repeat; ours fire once.
    const int platformTimer = e->timerId();
    killTimer(platformTimer);
    m_handler->Fire(platformTimer);
  }

 private:
  LTimerHandler* m_handler;
};

struct SuspendedRequest {
  LTimerHandler* handler;
  int id;
  unsigned int ms;
};

// Timers live on the main thread only; the mutex keeps the class-wide state
// coherent should a handler be made or destroyed elsewhere.
std::mutex g_classLock;
bool g_enabled = true;
std::vector<SuspendedRequest> g_suspended;

}  // namespace

LTimerHandler::LTimerHandler() : m_target(new TimerTarget(this)) {}

LTimerHandler::~LTimerHandler() {
  {
    // Takes the lock so that a firing in progress completes first.
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_timers.clear();
  }
  // A kept request must not outlive its handler: Enable() would call into it.
  {
    std::lock_guard<std::mutex> guard(g_classLock);
    std::erase_if(g_suspended, [this](const SuspendedRequest& r) { return r.handler == this; });
  }
  delete m_target;  // kills its remaining platform timers
}

void LTimerHandler::TimerSet(int id, unsigned int ms) {
  if (id < 0) return;
  {
    std::lock_guard<std::mutex> guard(g_classLock);
    if (!g_enabled) {
      for (const SuspendedRequest& r : g_suspended)
        if (r.id == id) return;
      g_suspended.push_back({this, id, ms});
      return;
    }
  }
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  auto it = m_timers.find(id);
  if (it != m_timers.end() && it->second != 0) m_target->killTimer(it->second);
  const int platformTimer =
      m_target->startTimer(static_cast<int>(ms > 0x7FFFFFFFu ? 0x7FFFFFFFu : ms), Qt::PreciseTimer);
  m_timers[id] = platformTimer;
}

void LTimerHandler::TimerReset(int id) {
  if (id < 0) return;
  {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    auto it = m_timers.find(id);
    if (it != m_timers.end()) {
      if (it->second != 0) m_target->killTimer(it->second);
      m_timers.erase(it);
      return;
    }
  }
  std::lock_guard<std::mutex> guard(g_classLock);
  for (auto r = g_suspended.begin(); r != g_suspended.end(); ++r) {
    if (r->id == id) {
      g_suspended.erase(r);
      return;
    }
  }
}

void LTimerHandler::TimerDestroy() {
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  for (const auto& [id, platformTimer] : m_timers)
    if (platformTimer != 0) m_target->killTimer(platformTimer);
  m_timers.clear();
}

bool LTimerHandler::IsTimerSet(int id) const {
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  return m_timers.count(id) != 0;
}

void LTimerHandler::Enable(bool on) {
  std::vector<SuspendedRequest> requests;
  {
    std::lock_guard<std::mutex> guard(g_classLock);
    g_enabled = on;
    if (!on) return;
    requests.swap(g_suspended);
  }
  for (const SuspendedRequest& r : requests) r.handler->TimerSet(r.id, r.ms);
}

bool LTimerHandler::IsEnabled() {
  std::lock_guard<std::mutex> guard(g_classLock);
  return g_enabled;
}

void LTimerHandler::Fire(int platformTimer) {
  int id = -1;
  {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    for (auto& [key, value] : m_timers) {
      if (value == platformTimer) {
        id = key;
        value = 0;
        break;
      }
    }
  }
  if (id >= 0) EvTimer(id);
}
