// Another process using the settings: sets Section/Key=Value, says "set" on
// standard output, then either leaves main at once ("exit") or waits to be
// killed ("wait").
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "store/Settings.h"

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  LUserSettingSetString(argv[1], argv[2], argv[3]);
  std::puts("set");
  std::fflush(stdout);
  if (std::strcmp(argv[4], "wait") == 0)
    for (;;) pause();
  return 0;
}
