#!/usr/bin/env bash
# The lint must pass on the real tree and reject each fixture tree with its
# exact message, so a lint that silently accepts everything fails here.
set -u
root=$1
lint="$root/tests/layering.sh"
fail=0
expect() {  # tree, expected output
  local out
  out=$(bash "$lint" "$root/tests/layering/$1" "$root/cmake/layers.txt")
  local rc=$?
  if [[ $rc -eq 0 || $out != "$2" ]]; then
    echo "fixture $1: exit $rc, output: $out"; fail=1
  fi
}
bash "$lint" "$root" || fail=1
expect upward "layering: engine/Click.cpp includes audio/Player.h, but engine may not use audio"
expect sideways "layering: engine/Click.cpp includes platform/Thread.h, but engine may not use platform"
exit $fail
