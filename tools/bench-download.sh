#!/bin/sh
# Builds the real-time download benchmark in Release and runs it: a full bank
# from the virtual logger over a pseudo-terminal at 57600 and 9600 baud,
# against the line's limit. About 90 seconds for one run at each baud.
#   tools/bench-download.sh [--baud 57600|9600|all] [--runs N]
# Needs Qt 6 (Core, SerialPort) and a system with pseudo-terminals.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench-download"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBREVIK_BUILD_BENCH=ON \
  -DBREVIK_BUILD_TESTS=OFF -DBREVIK_BUILD_GUI=ON >/dev/null
cmake --build "$build" -j2 --target brevik_download_bench
exec "$build/bench/brevik_download_bench" "$@"
