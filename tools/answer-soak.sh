#!/bin/sh
# Builds the auto-answer soak in Release and runs it: a thousand answered
# calls in virtual time, every kind of call of the virtual modem in turn.
#   tools/answer-soak.sh [--calls N] [--keep DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-soak"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBREVIK_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j2 --target brevik_answer_soak
exec "$build/brevik_answer_soak" "$@"
