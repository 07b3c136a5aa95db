#!/bin/sh
# The graph's speed in one command: builds kaldo and the graph benchmark in
# Release (with Qt), writes the four-bank benchmark file and the CSV of its
# plotted series, then times whole processes, several runs each (median):
#   kaldo graph FILE --png OUT            open, decimate, draw and write the PNG
#   bench/graph_matplotlib.py CSV OUT     the same decimated series in matplotlib
# It also reports kaldo's peak memory and runs the in-process benchmarks
# (open to first paint, zoom rebuild, a real-time reading's redraw).
#   tools/graph-speed.sh [--runs N] [--no-bench]
# Needs Qt 6 with QCustomPlot, and python3 with matplotlib (python3-matplotlib).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-graph-bench"
runs=7
bench=1
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --no-bench) bench=0; shift ;;
    *) echo "usage: tools/graph-speed.sh [--runs N] [--no-bench]" >&2; exit 2 ;;
  esac
done

"$root/tools/install-deps.sh" --bench
python=""
for candidate in /usr/bin/python3 python3; do
  if "$candidate" -c "import matplotlib" 2>/dev/null; then python=$candidate; break; fi
done
[ -n "$python" ] || { echo "graph-speed: no python3 with matplotlib (apt-get install python3-matplotlib)" >&2; exit 1; }

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBREVIK_BUILD_BENCH=ON \
  -DBREVIK_BUILD_TESTS=OFF -DBREVIK_BUILD_GUI=ON >/dev/null
cmake --build "$build" -j2 --target kaldo brevik_graph_bench >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/brevik-graph-speed.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work}"
"$build/bench/brevik_graph_bench" --write-inputs "$work" >/dev/null
mkdir -p "$work/home"
kaldo="$build/src/cli/kaldo"

# Milliseconds of wall time of one run of the command.
millis() {
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || { echo "graph-speed: failed: $*" >&2; exit 1; }
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}

# The median of `runs` runs (one warm-up run first, not counted).
median() {
  "$@" >/dev/null 2>&1 || { echo "graph-speed: failed: $*" >&2; exit 1; }
  i=0
  : >"$work/times"
  while [ $i -lt "$runs" ]; do
    millis "$@" >>"$work/times"
    i=$((i + 1))
  done
  sort -n "$work/times" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

kaldo_ms=$(median "$kaldo" --home "$work/home" graph "$work/four.QX1" --png "$work/kaldo.png")
mpl_ms=$(median "$python" "$root/bench/graph_matplotlib.py" "$work/four.csv" "$work/matplotlib.png")
echo "whole processes, median of $runs runs (958 x 678 PNG of the four-bank file):"
echo "  kaldo graph --png          ${kaldo_ms} ms"
echo "  matplotlib (same series)   ${mpl_ms} ms"
awk -v k="$kaldo_ms" -v m="$mpl_ms" 'BEGIN { if (k > 0) printf "  kaldo is %.1f times faster\n", m / k }'
if [ -x /usr/bin/time ]; then
  /usr/bin/time -v "$kaldo" --home "$work/home" graph "$work/four.QX1" --png "$work/kaldo.png" 2>"$work/rss" >/dev/null
  awk -F': ' '/Maximum resident set size/ { printf "  kaldo graph --png peak memory  %.1f MB\n", $2 / 1024 }' "$work/rss"
fi
if [ "$bench" -eq 1 ]; then
  echo
  "$build/bench/brevik_graph_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null |
    grep -E 'Benchmark|---|_median'
fi
