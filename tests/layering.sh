#!/usr/bin/env bash
# Fails when a folder includes a header of a folder above it. Layers, bottom
# up; engine/DB.* (the decibel type) belongs with the bottom layer.
set -euo pipefail
root=$1
rank() {
  case $1 in
    soundfile|engine/DB) echo 0 ;; platform) echo 1 ;; store) echo 2 ;; audio) echo 3 ;;
    engine) echo 4 ;; ui) echo 5 ;; app|tools) echo 6 ;; *) echo 9 ;;
  esac
}
status=0
for dir in soundfile engine platform store audio ui app tools; do
  [[ -d $root/$dir ]] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    inc=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"${line#*:}")
    target=${inc%%/*}
    [[ $inc == engine/DB.h ]] && target=engine/DB
    [[ $inc == */* ]] || continue
    self=$dir
    [[ $file == */engine/DB.* ]] && self=engine/DB
    if (( $(rank "$target") > $(rank "$self") )); then
      echo "layering: $file includes $inc (a layer above $self)"
      status=1
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' '#include "' "$root/$dir" || true)
done
exit $status
