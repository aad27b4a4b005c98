#include "store/FileLock.h"

#include <sys/file.h>

#include <cerrno>
#include <ctime>

namespace {

void SleepMs(int ms) {
  timespec until{};
  clock_gettime(CLOCK_MONOTONIC, &until);
  until.tv_sec += ms / 1000;
  until.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
  if (until.tv_nsec >= 1000000000L) {
    until.tv_sec += 1;
    until.tv_nsec -= 1000000000L;
  }
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

// One non-blocking request; 1 locked, 0 held elsewhere, -1 other error.
int TryLock(int fd, int operation) {
  for (;;) {
    if (flock(fd, operation | LOCK_NB) == 0) return 1;
    if (errno == EWOULDBLOCK) return 0;
    if (errno != EINTR) return -1;
  }
}

}  // namespace

std::vector<int> LockWaitSchedule(int budgetMs) {
  std::vector<int> waits;
  if (budgetMs < 0) return waits;
  for (long long w = budgetMs / 32 + 1;; w *= 2) {
    waits.push_back(static_cast<int>(w));
    if (budgetMs <= 2 * w) break;
  }
  return waits;
}

bool flocktimed(int fd, int operation, int budgetMs) {
  int result = TryLock(fd, operation);
  if (result != 0) return result == 1;
  for (int wait : LockWaitSchedule(budgetMs)) {
    SleepMs(wait);
    // Asks once more after the last wait too: having slept, giving up
    // without looking would only make the caller write unlocked for nothing.
    result = TryLock(fd, operation);
    if (result != 0) return result == 1;
  }
  return false;
}
