#!/bin/sh
# Runs the fuzz targets of tests/fuzz with libFuzzer, one after the other.
#
#   tools/fuzz.sh [SECONDS] [TARGET...]     (default 600 seconds each; targets: all)
#
# Builds them with clang, AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz/
# (override with BUILD=dir). Each target starts from its seeds in tests/fuzz/corpus/<name>
# and keeps what it learns in <build>/fuzz-work/<name>. An input that breaks an invariant
# or makes a sanitizer report is copied into tests/fuzz/corpus/<name>/, so that the test
# suite replays it until the fault is fixed; the script then exits non-zero.
set -e
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-600}
[ $# -gt 0 ] && shift
TARGETS=${*:-$(ls tests/fuzz/corpus)}
BUILD=${BUILD:-build-fuzz}
JOBS=${JOBS:-2}
command -v clang++ >/dev/null || { echo "clang++ is missing (tools/install-deps.sh)" >&2; exit 2; }

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBANSHO_SANITIZE=ON -DBANSHO_FUZZ=ON -DBANSHO_TOOLS=OFF >/dev/null
built=""
for t in $TARGETS; do
  [ -d "tests/fuzz/corpus/$t" ] || { echo "no target $t (no tests/fuzz/corpus/$t)" >&2; exit 2; }
  built="$built fuzz_$t"
done
# shellcheck disable=SC2086
cmake --build "$BUILD" -j"$JOBS" --target $built

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# fontconfig's caches live as long as the windows of the history target, which never close.
export LSAN_OPTIONS="suppressions=$(pwd)/tools/lsan.supp:print_suppressions=0"
summary="$BUILD/fuzz-work/summary.txt"
mkdir -p "$BUILD/fuzz-work"
: >"$summary"
failed=0
for t in $TARGETS; do
  work="$BUILD/fuzz-work/$t"
  crashes="$work/crashes"
  mkdir -p "$work/corpus" "$crashes"
  dict=""
  [ -f "tests/fuzz/$t.dict" ] && dict="-dict=tests/fuzz/$t.dict"
  echo "== fuzz_$t for ${SECONDS_EACH}s"
  start=$(date +%s)
  # shellcheck disable=SC2086
  if "$BUILD/tests/fuzz/fuzz_$t" "$work/corpus" "tests/fuzz/corpus/$t" $dict \
      -max_total_time="$SECONDS_EACH" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$crashes/" >"$work/log.txt" 2>&1; then
    result="no finding"
  else
    result="FINDING"
    failed=1
  fi
  took=$(( $(date +%s) - start ))
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/log.txt" | grep -o '[0-9]*$' || echo "?")
  cov=$(grep -o 'cov: [0-9]*' "$work/log.txt" | tail -1 | grep -o '[0-9]*' || echo "?")
  for f in "$crashes"/*; do
    [ -f "$f" ] || continue
    name="found-$(sha1sum "$f" | cut -c1-12)"
    cp "$f" "tests/fuzz/corpus/$t/$name"
    echo "   kept $f as tests/fuzz/corpus/$t/$name"
  done
  rm -f "$crashes"/*
  printf '%-10s %6ss %12s runs  cov %6s  %s\n' "$t" "$took" "$runs" "$cov" "$result" | tee -a "$summary"
  [ "$result" = "FINDING" ] && tail -40 "$work/log.txt"
done
echo
cat "$summary"
exit $failed
