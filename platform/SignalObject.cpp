#include "platform/SignalObject.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <cerrno>
#include <climits>

int PollTimeout(unsigned int ms) {
  if (ms == kWaitForever) return -1;
  return ms > static_cast<unsigned int>(INT_MAX) ? INT_MAX : static_cast<int>(ms);
}

void LSignalObjectRef::Set() const {
  const char byte = 1;
  // A full pipe already means "set"; EAGAIN is therefore success.
  ssize_t r;
  do {
    r = ::write(m_write, &byte, 1);
  } while (r < 0 && errno == EINTR);
}

void LSignalObjectRef::Reset() const {
  char scratch[64];
  for (;;) {
    const ssize_t r = ::read(m_read, scratch, sizeof scratch);
    if (r > 0) continue;
    if (r < 0 && errno == EINTR) continue;
    break;  // empty (EAGAIN), closed or failed
  }
}

bool LSignalObjectRef::IsSignaled() const { return WaitSignal(0); }

bool LSignalObjectRef::WaitSignal(unsigned int ms) const {
  pollfd p{m_read, POLLIN, 0};
  const int r = ::poll(&p, 1, PollTimeout(ms));
  if (r < 0) return errno == EINTR;
  return r > 0 && (p.revents & POLLIN);
}

bool LSignalObjectRef::WaitSignalDual(const LSignalObjectRef& other, unsigned int ms) const {
  pollfd p[2] = {{m_read, POLLIN, 0}, {other.m_read, POLLIN, 0}};
  const int r = ::poll(p, 2, PollTimeout(ms));
  if (r < 0) return errno == EINTR;
  return r > 0 && ((p[0].revents | p[1].revents) & POLLIN);
}

LSignalObject::LSignalObject() {
  int fds[2];
  if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
    m_read = fds[0];
    m_write = fds[1];
  }
}

LSignalObject::~LSignalObject() {
  if (m_read >= 0) ::close(m_read);
  if (m_write >= 0) ::close(m_write);
}

bool LSignalObjectGroup::Add(const LSignalObjectRef& signal) {
  if (m_count >= kMaxSignals) return false;
  m_signals[m_count++] = signal;
  return true;
}

int LSignalObjectGroup::Wait(unsigned int ms) const {
  pollfd p[kMaxSignals];
  for (int i = 0; i < m_count; ++i) p[i] = {m_signals[i].ReadFd(), POLLIN, 0};
  if (::poll(p, static_cast<nfds_t>(m_count), PollTimeout(ms)) <= 0) return -1;
  for (int i = 0; i < m_count; ++i)
    if (p[i].revents & POLLIN) return i;
  return -1;
}
