// Lets any thread have an object's EvNotify() called on the main thread.
// Every post is one call, in posting order; posts still queued when the
// object goes away are removed, so a late call never reaches a dead object.
#pragma once

#include <atomic>
#include <mutex>

class QObject;
class LThreadQueuedNotify;

class LThreadRunOnMainThread {
 public:
  explicit LThreadRunOnMainThread(LThreadQueuedNotify* owner);
  ~LThreadRunOnMainThread();
  LThreadRunOnMainThread(const LThreadRunOnMainThread&) = delete;
  LThreadRunOnMainThread& operator=(const LThreadRunOnMainThread&) = delete;

  // Any thread except the audio device thread (it allocates the event).
  void Post();
  // Main thread: removes queued posts and ignores later ones.
  void Destroy();
  // Main-thread handler, before it touches a posted event: the event was
  // made under the same lock, which orders it for thread checkers that
  // cannot see Qt's own queue lock.
  void SyncWithPosters();
  // Called by the main-thread handler once a post has been delivered.
  void Delivered();
  int InFlight() const { return m_inFlight.load(std::memory_order_acquire); }
  bool IsAlive() const;

 private:
  mutable std::mutex m_lock;
  bool m_alive = true;
  bool m_destroying = false;
  std::atomic<int> m_inFlight{0};
  QObject* m_receiver;  // lives on the main thread; its queue holds our posts
};

class LThreadQueuedNotify {
 public:
  LThreadQueuedNotify() : m_poster(this) {}
  virtual ~LThreadQueuedNotify() = default;

  // Runs on the main thread once per post.
  virtual void EvNotify() = 0;
  void PostQueueNotify() { m_poster.Post(); }
  // From the owner's destructor, on the main thread.
  void ThreadQueuedNotifyDestroy() { m_poster.Destroy(); }
  int PostsInFlight() const { return m_poster.InFlight(); }

 private:
  LThreadRunOnMainThread m_poster;
};
