#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehavior-
# Sanitizer in a build directory of its own and runs it. Any undefined
# behaviour, bad memory access or leak fails the test it happens in.
#
#   tools/sanitizer-suite.sh [CTEST ARGS...]     e.g. -R Settings
#
# Environment: BREVIK_SANITIZE_BUILD_DIR (build-asan), BREVIK_SANITIZE_CXX
# (the compiler; default clang++-16, which compiles these sources with the
# sanitizers in about half the CPU time g++ 12 takes; g++ when clang 16 is
# missing).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BREVIK_SANITIZE_BUILD_DIR:-build-asan}
cxx=${BREVIK_SANITIZE_CXX:-clang++-16}
command -v "$cxx" >/dev/null || cxx=g++
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/CMakeCache.txt" ]; then
  CXX=$cxx cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" "${launcher[@]}" >/dev/null
fi
started=$SECONDS
cmake --build "$build" -j "$(nproc)"
echo "sanitizer-suite: built with $cxx in $((SECONDS - started)) s" >&2
export QT_QPA_PLATFORM=offscreen
symbolizer=$(command -v llvm-symbolizer-16 || command -v llvm-symbolizer || true)
[ -n "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH="$symbolizer"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tools/lsan-suppressions.txt:print_suppressions=0}
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"
