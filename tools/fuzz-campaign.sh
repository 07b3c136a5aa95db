#!/usr/bin/env bash
# Builds every libFuzzer target (clang 16, ASan and UBSan) and runs each for
# SECONDS on a working copy of its seeds, then writes a table of executions,
# speed, coverage and findings.
#
#   tools/fuzz-campaign.sh SECONDS [TARGET...]     (default: every target)
#
# Environment: BREVIK_FUZZ_BUILD_DIR (build-fuzz), FUZZ_JOBS (targets run at
# once, default 1), FUZZ_RSS_MB (memory limit of one target, default 2048),
# FUZZ_SEED (libFuzzer's seed; CI fixes it so that a run can be repeated).
# The table goes to standard output and to $BUILD/fuzz-campaign.md; a
# target's working corpus stays in $BUILD/fuzz-work/TARGET (delete it to
# start from the seeds again), and every finding in $BUILD/fuzz-findings/.
# Exit status: 0 no finding, 1 a finding (or a target that did not run),
# 2 bad usage.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; }
if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]] || [ "$1" -lt 1 ]; then
  usage >&2
  exit 2
fi
seconds=$1
shift
build=${BREVIK_FUZZ_BUILD_DIR:-build-fuzz}
jobs=${FUZZ_JOBS:-1}
rss=${FUZZ_RSS_MB:-2048}

cxx=${BREVIK_FUZZ_CXX:-clang++-16}
if ! command -v "$cxx" >/dev/null; then
  echo "fuzz-campaign: $cxx not found (tools/install-deps.sh installs clang-16 and libclang-rt-16-dev)" >&2
  exit 1
fi
symbolizer=$(dirname "$(readlink -f "$(command -v "$cxx")")")/llvm-symbolizer
[ -x "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH="$symbolizer"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/CMakeCache.txt" ]; then
  CXX=$cxx cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVIK_BUILD_FUZZ=ON \
    -DBREVIK_BUILD_GUI=OFF -DBREVIK_BUILD_TESTS=ON "${launcher[@]}" >/dev/null
fi

if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < <(sed -n 's/^ *brevik_fuzz_target(\([a-z0-9_]*\).*/\1/p; s/^ *brevik_fuzz_entry(\([a-z0-9_]*\) .*/\1_fuzz/p' \
                          fuzz/CMakeLists.txt)
fi
build_started=$(date +%s)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
echo "fuzz-campaign: built ${#targets[@]} targets in $(( $(date +%s) - build_started )) s" >&2

work="$build/fuzz-work"
findings="$build/fuzz-findings"
logs="$build/fuzz-logs"
mkdir -p "$work" "$findings" "$logs"

run_one() {
  local t=$1
  mkdir -p "$work/$t"
  [ -d "fuzz/corpus/$t" ] && cp -n fuzz/corpus/"$t"/* "$work/$t/" 2>/dev/null || true
  # One target's own scratch folder, so no two runs share temporary files.
  local status=0
  (cd "$logs" && "../fuzz/$t" -max_total_time="$seconds" -rss_limit_mb="$rss" -timeout=25 ${FUZZ_SEED:+-seed="$FUZZ_SEED"} \
     -print_final_stats=1 -artifact_prefix="../fuzz-findings/$t-" "../fuzz-work/$t") \
    >"$logs/$t.log" 2>&1 || status=$?
  echo "$status" >"$logs/$t.status"
}

running=0
for t in "${targets[@]}"; do
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

table="$build/fuzz-campaign.md"
{
  echo "| target | seconds | executions | per second | coverage (edges) | features | corpus | finding |"
  echo "|---|---|---|---|---|---|---|---|"
  for t in "${targets[@]}"; do
    log="$logs/$t.log"
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    last=$(grep -E '^#[0-9]+' "$log" | grep -E 'cov: ' | tail -1 || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9a-zA-Z]*\).*/\1/p' <<<"$last")
    status=$(cat "$logs/$t.status")
    finding=none
    if [ "$status" != 0 ] || [ -z "$execs" ]; then
      finding=$(grep -m1 -oE 'ERROR: [A-Za-z]+: [a-z-]+|deadly signal|out-of-memory|timeout|runtime error' "$log" | head -1 || true)
      finding=${finding:-exit $status}
    fi
    echo "| $t | $seconds | ${execs:-0} | $(( ${execs:-0} / seconds )) | ${cov:-?} | ${ft:-?} | ${corp:-?} | $finding |"
  done
} | tee "$table"
echo "fuzz-campaign: table in $table; logs in $logs" >&2
# The table is written in a pipeline's subshell: judge the run here, from
# what each target left.
failed=0
for t in "${targets[@]}"; do
  if [ "$(cat "$logs/$t.status")" != 0 ] || ! grep -q '^stat::number_of_executed_units:' "$logs/$t.log"; then
    failed=1
  fi
done
if [ "$failed" != 0 ]; then
  echo "fuzz-campaign: a target found something or did not run; see $findings and $logs" >&2
  exit 1
fi
