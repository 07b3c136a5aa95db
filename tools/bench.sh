#!/bin/sh
# Builds the benchmarks in Release and runs them:  tools/bench.sh [benchmark options]
# e.g. tools/bench.sh --benchmark_filter=Export --benchmark_repetitions=5
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBREVIK_BUILD_BENCH=ON \
  -DBREVIK_BUILD_TESTS=OFF -DBREVIK_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j2 --target brevik_bench
exec "$build/bench/brevik_bench" "$@"
