#include "platform/ThreadQueuedNotify.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>

namespace {

const QEvent::Type kNotifyEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// One per poster, so that removing its queued events touches no other's.
class NotifyReceiver : public QObject {
 public:
  explicit NotifyReceiver(LThreadRunOnMainThread* poster, LThreadQueuedNotify* owner)
      : m_poster(poster), m_owner(owner) {}

  bool event(QEvent* e) override {
    m_poster->SyncWithPosters();
    if (e->type() != kNotifyEvent) return QObject::event(e);
    m_poster->Delivered();
    m_owner->EvNotify();
    return true;
  }

 private:
  LThreadRunOnMainThread* m_poster;
  LThreadQueuedNotify* m_owner;
};

}  // namespace

LThreadRunOnMainThread::LThreadRunOnMainThread(LThreadQueuedNotify* owner)
    : m_receiver(new NotifyReceiver(this, owner)) {
  // Objects made on another thread still deliver on the main thread.
  if (QCoreApplication* app = QCoreApplication::instance()) {
    if (m_receiver->thread() != app->thread()) m_receiver->moveToThread(app->thread());
  }
}

LThreadRunOnMainThread::~LThreadRunOnMainThread() {
  Destroy();
  delete m_receiver;
}

void LThreadRunOnMainThread::Post() {
  std::lock_guard<std::mutex> guard(m_lock);
  if (!m_alive || m_destroying) return;
  if (!QCoreApplication::instance() || QCoreApplication::closingDown()) return;
  m_inFlight.fetch_add(1, std::memory_order_acq_rel);
  QCoreApplication::postEvent(m_receiver, new QEvent(kNotifyEvent), Qt::HighEventPriority);
}

void LThreadRunOnMainThread::Destroy() {
  std::lock_guard<std::mutex> guard(m_lock);
  if (!m_alive) return;
  m_destroying = true;
  QCoreApplication::removePostedEvents(m_receiver, kNotifyEvent);
  m_inFlight.store(0, std::memory_order_release);
  m_alive = false;
}

void LThreadRunOnMainThread::SyncWithPosters() { std::lock_guard<std::mutex> guard(m_lock); }

void LThreadRunOnMainThread::Delivered() { m_inFlight.fetch_sub(1, std::memory_order_acq_rel); }

bool LThreadRunOnMainThread::IsAlive() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_alive;
}
