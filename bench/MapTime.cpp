// Time from exec to a program's first window mapped on the X display in
// DISPLAY, told by the X server itself (a MapNotify of a top-level window
// whose _NET_WM_PID is the program's), not by polling.
//
//   bench_map_time [--keep] [--log FILE] PROGRAM [ARGS...]
//
// Prints "<ms> <pid>" once the window is mapped. Without --keep the program
// is then ended (SIGTERM, then waited for); with --keep it is left running
// for the caller to measure further and end by its pid. The program's
// output goes to FILE (default /dev/null). Exit status 1 when the program
// ends or 30 s pass without a window. A program SIGTERM does not end within
// 2 s is killed.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr int kTimeoutMs = 30000;

double NowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(r);
  return atom;
}

// The _NET_WM_PID of a window, 0 when it has none.
pid_t WindowPid(xcb_connection_t* c, xcb_window_t window, xcb_atom_t pidAtom) {
  xcb_get_property_reply_t* r =
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
  pid_t pid = 0;
  if (r && xcb_get_property_value_length(r) == 4) pid = static_cast<pid_t>(*static_cast<uint32_t*>(xcb_get_property_value(r)));
  std::free(r);
  return pid;
}

// SIGTERM, and SIGKILL for a program still running 2 s later.
void End(pid_t pid) {
  kill(pid, SIGTERM);
  for (int i = 0; i < 200; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    usleep(10000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

pid_t Launch(char** argv, const char* log) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  const int out = open(log, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out >= 0) {
    dup2(out, 1);
    dup2(out, 2);
  }
  execvp(argv[0], argv);
  std::perror(argv[0]);
  _exit(127);
}

}  // namespace

int main(int argc, char** argv) {
  bool keep = false;
  const char* log = "/dev/null";
  int first = 1;
  for (; first < argc && argv[first][0] == '-'; ++first) {
    if (std::strcmp(argv[first], "--keep") == 0)
      keep = true;
    else if (std::strcmp(argv[first], "--log") == 0 && first + 1 < argc)
      log = argv[++first];
    else
      break;
  }
  if (first >= argc) {
    std::fputs("usage: bench_map_time [--keep] [--log FILE] PROGRAM [ARGS...]\n", stderr);
    return 2;
  }
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fputs("bench_map_time: cannot open the display in DISPLAY\n", stderr);
    return 2;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t pidAtom = Atom(c, "_NET_WM_PID");
  // Subscribed before the program starts, so no map can be missed.
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask));

  const double start = NowMs();
  const pid_t child = Launch(argv + first, log);
  double mapped = -1;
  pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
  while (mapped < 0 && NowMs() - start < kTimeoutMs) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) break;
    while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
      if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
        auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
        const double at = NowMs();
        if (!map->override_redirect && WindowPid(c, map->window, pidAtom) == child && mapped < 0) mapped = at;
      }
      std::free(e);
    }
    if (mapped < 0) poll(&fd, 1, 20);
  }
  xcb_disconnect(c);
  if (mapped < 0) {
    std::fprintf(stderr, "bench_map_time: %s mapped no window\n", argv[first]);
    End(child);
    return 1;
  }
  std::printf("%.1f %d\n", mapped - start, static_cast<int>(child));
  std::fflush(stdout);
  if (!keep) End(child);
  return 0;
}
