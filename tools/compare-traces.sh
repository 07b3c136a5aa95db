#!/usr/bin/env bash
# Compares two folders of exchange traces recorded by the test suite
# (BREVIK_TRACE_RECORD=DIR ctest ...), ignoring the process numbers in the
# names of the tests' temporary folders. Prints the differences; exit 0 when
# every trace is the same.
set -euo pipefail
if [ $# -ne 2 ] || [ "${1:-}" = "--help" ]; then
  echo "usage: tools/compare-traces.sh BEFORE_DIR AFTER_DIR" >&2
  exit 2
fi
normalise() { sed -E 's/-[0-9]+-[0-9]+(\/|$)/-N-N\1/g; s/\.tmp-[0-9]+-/.tmp-N-/g' "$1"; }
status=0
for before in "$1"/*.trace; do
  name=$(basename "$before")
  after="$2/$name"
  if [ ! -f "$after" ]; then echo "only before: $name"; status=1; continue; fi
  if ! diff <(normalise "$before") <(normalise "$after") >/dev/null; then
    echo "differs: $name"; diff <(normalise "$before") <(normalise "$after") | head -20; status=1
  fi
done
for after in "$2"/*.trace; do
  [ -f "$1/$(basename "$after")" ] || { echo "only after: $(basename "$after")"; status=1; }
done
[ $status -eq 0 ] && echo "$(ls "$1"/*.trace | wc -l) traces, all the same"
exit $status
