#!/usr/bin/env bash
# Fails when a file includes a header of a folder its layer may not use.
# The allowed folders come from cmake/layers.txt (the table CMake links by),
# closed over: a folder may use what its allowed folders may use.
#   layering.sh ROOT [TABLE]
set -euo pipefail
root=$1
table=${2:-$root/cmake/layers.txt}
declare -A direct
layers=()
while IFS= read -r line; do
  [[ $line =~ ^([a-z]+):(.*)$ ]] || continue
  layers+=("${BASH_REMATCH[1]}")
  direct[${BASH_REMATCH[1]}]=${BASH_REMATCH[2]}
done <"$table"

allowed() {  # the transitive closure of $1's direct folders
  local todo=(${direct[$1]:-}) seen=" " d
  while ((${#todo[@]})); do
    d=${todo[0]}; todo=("${todo[@]:1}")
    [[ $seen == *" $d "* ]] && continue
    seen+="$d "; todo+=(${direct[$d]:-})
  done
  echo "$seen"
}

status=0
for dir in "${layers[@]}"; do
  [[ -d $root/$dir ]] || continue
  ok=$(allowed "$dir")
  while IFS= read -r hit; do
    file=${hit%%:*}
    inc=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"${hit#*:}")
    [[ $inc == */* ]] || continue
    target=${inc%%/*}
    [[ -n ${direct[$target]+x} ]] || continue
    if [[ $target != "$dir" && $ok != *" $target "* ]]; then
      echo "layering: ${file#"$root"/} includes $inc, but $dir may not use $target"
      status=1
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' --include='*.inl' '#include "' "$root/$dir" | cut -d: -f1,3- || true)
done
exit $status
