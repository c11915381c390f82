#!/usr/bin/env bash
# The core's folders are layers: a file may include its own folder and those
# before it in this order, never one after it.
set -u
core=${1:?usage: layers.sh CORE_FOLDER}
order=(text table search edit files)
status=0
for i in "${!order[@]}"; do
  later=("${order[@]:i+1}")
  [ ${#later[@]} -eq 0 ] && continue
  pattern="#include \"($(IFS='|'; echo "${later[*]}"))/"
  if grep -rnE "$pattern" "$core/${order[i]}"; then
    echo "${order[i]}/ must not include a later layer (${later[*]})"
    status=1
  fi
done
exit $status
