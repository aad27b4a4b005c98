// Advisory whole-file locks with a bounded wait, shared by every reader and
// writer of record files (also across processes).
#pragma once

#include <vector>

// Lock budget of record file reads and saves.
inline constexpr int kRecordLockBudgetMs = 10000;

// The waits, in ms, between the lock requests for a budget: budget/32 + 1
// first, doubling, until the next wait would not fit in the budget. 10000
// gives 313, 626, 1252, 2504, 5008.
std::vector<int> LockWaitSchedule(int budgetMs);

// Takes a flock (LOCK_SH or LOCK_EX) on fd, retrying on the schedule above
// on the monotonic clock. False when the lock could not be had within the
// budget or flock failed otherwise; callers go on without the lock then.
bool flocktimed(int fd, int operation, int budgetMs);
