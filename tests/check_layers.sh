#!/usr/bin/env bash
# The layering of src/: prints every include that runs against it and fails when there is one.
#   core/   includes no other folder of src/
#   data/   includes only core/ and itself
#   state/  includes only core/, data/ and itself
#   nothing outside app/, ui/ and a widgets/ folder includes from them
#   nothing outside app/ includes from app/
set -uo pipefail
src=${1:?usage: check_layers.sh SRC_DIR}
cd "$src" || exit 2
faults=0
while IFS= read -r line; do
  file=${line%%:*}
  [[ ${line#*:} =~ \#include\ \"([^\"]+)\" ]] || continue
  target=${BASH_REMATCH[1]}
  [[ $target == */* ]] || continue          # generated headers such as ztfi_version.h
  layer=${target%%/*}
  case $file in
    core/*) allowed=core ;;
    data/*) allowed="core data" ;;
    state/*) allowed="core data state" ;;
    *) allowed="" ;;
  esac
  fault=""
  if [[ -n $allowed && " $allowed " != *" $layer "* ]]; then
    fault="$file may include only from: $allowed"
  elif [[ $file != app/* && $layer == app ]]; then
    fault="only app/ includes from app/"
  elif [[ $file != app/* && $file != ui/* && $file != */widgets/* ]] &&
       [[ $layer == ui || $target == */widgets/* ]]; then
    fault="widget-free code includes no widgets"
  fi
  if [[ -n $fault ]]; then
    echo "$file: #include \"$target\": $fault"
    faults=$((faults + 1))
  fi
done < <(grep -rn --include='*.h' --include='*.cpp' -E '^#include "' . | sed -E 's#^\./##; s#:[0-9]+:#:#')
((faults == 0))
