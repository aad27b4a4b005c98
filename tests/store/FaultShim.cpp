// Preloaded into the save helper: counts the calls that create, write, sync
// or rename files once armed, and at the chosen one kills the process or
// fails the call with the chosen errno (MORVANE_FAULT_AT, MORVANE_FAULT_MODE:
// "kill", "enospc", "eio"; no mode only counts).
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

extern "C" {

static int g_armed;
static long g_count, g_at = -1;
static int g_error;  // 0 = kill

void morvane_fault_arm(void) {
  const char* at = getenv("MORVANE_FAULT_AT");
  const char* mode = getenv("MORVANE_FAULT_MODE");
  g_at = at ? atol(at) : -1;
  g_error = !mode || !strcmp(mode, "kill") ? 0 : !strcmp(mode, "enospc") ? ENOSPC : EIO;
  g_count = 0;
  g_armed = 1;
}

long morvane_fault_disarm(void) {
  g_armed = 0;
  return g_count;
}

// True when this call is to fail (errno set); never returns at a kill.
static int Hit(void) {
  if (!g_armed || ++g_count != g_at) return 0;
  if (!g_error) kill(getpid(), SIGKILL);
  errno = g_error;
  return 1;
}

#define NEXT(name) (reinterpret_cast<decltype(&name)>(dlsym(RTLD_NEXT, #name)))

static int Writes(int flags) { return (flags & (O_WRONLY | O_RDWR | O_CREAT)) != 0; }

// The mode is read whatever the flags: harmless where it was not passed.
#define UNPAREN(...) __VA_ARGS__
#define FAULT_OPEN(name, params, args)            \
  int name(UNPAREN params, int flags, ...) {      \
    va_list ap;                                   \
    va_start(ap, flags);                          \
    const mode_t mode = va_arg(ap, mode_t);       \
    va_end(ap);                                   \
    if (Writes(flags) && Hit()) return -1;        \
    return NEXT(name)(UNPAREN args, flags, mode); \
  }
FAULT_OPEN(open, (const char* path), (path))
FAULT_OPEN(open64, (const char* path), (path))
FAULT_OPEN(openat, (int dir, const char* path), (dir, path))
ssize_t write(int fd, const void* buf, size_t n) { return Hit() ? -1 : NEXT(write)(fd, buf, n); }
ssize_t pwrite(int fd, const void* buf, size_t n, off_t at) { return Hit() ? -1 : NEXT(pwrite)(fd, buf, n, at); }
ssize_t pwrite64(int fd, const void* buf, size_t n, off_t at) { return Hit() ? -1 : NEXT(pwrite64)(fd, buf, n, at); }
int ftruncate(int fd, off_t size) { return Hit() ? -1 : NEXT(ftruncate)(fd, size); }
int fsync(int fd) { return Hit() ? -1 : NEXT(fsync)(fd); }
int fdatasync(int fd) { return Hit() ? -1 : NEXT(fdatasync)(fd); }
int fchmod(int fd, mode_t mode) { return Hit() ? -1 : NEXT(fchmod)(fd, mode); }
int rename(const char* from, const char* to) { return Hit() ? -1 : NEXT(rename)(from, to); }
int renameat(int a, const char* from, int b, const char* to) { return Hit() ? -1 : NEXT(renameat)(a, from, b, to); }
int renameat2(int a, const char* from, int b, const char* to, unsigned flags) {
  return Hit() ? -1 : NEXT(renameat2)(a, from, b, to, flags);
}
int link(const char* from, const char* to) { return Hit() ? -1 : NEXT(link)(from, to); }

}  // extern "C"
