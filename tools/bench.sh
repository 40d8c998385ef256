#!/bin/sh
# Builds the benchmarks (Google Benchmark) in build-bench/ and prints one table of what a user
# waits for, each against its limit: a keystroke's work, repaint included, under 1 ms; no
# window action longer than 100 ms, even with 1,000,000 history rows. Then the start-up time
# and peak memory of the program under Xvfb (tools/startup-bench.sh).
#
#   tools/bench.sh [--no-startup]      (BUILD=dir to build elsewhere)
#
# Times are CPU times of this machine; run it on a quiet machine for numbers worth comparing.
set -e
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build-bench}
JOBS=${JOBS:-2}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBANSHO_TESTS=OFF >/dev/null
targets="engine-bench text-bench"
for t in window-bench history-bench bansho; do
  ninja -C "$BUILD" -t targets all 2>/dev/null | grep -q "^$t:" && targets="$targets $t"
done
# shellcheck disable=SC2086
cmake --build "$BUILD" -j"$JOBS" --target $targets

export QT_QPA_PLATFORM=offscreen
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for b in engine-bench text-bench window-bench history-bench; do
  [ -x "$BUILD/$b" ] || continue
  echo "running $b ..." >&2
  "$BUILD/$b" --benchmark_format=console --benchmark_counters_tabular=false 2>/dev/null |
    grep '^BM_' | sed "s/^/$b /" >>"$out"
done

# name pattern | what one iteration is | how many user steps it holds | limit per step (ms)
limits='BM_Keystroke|two keystrokes, repaint included|2|1
BM_ZoomStep|one zoom key, laid out and painted|1|1
BM_AppendOneAtMillion|one more row at 1,000,000, painted|1|1
BM_SelectPreviousAtMillion|Up at 1,000,000 rows, painted|1|100
BM_SelectNextAtMillion|Down at 1,000,000 rows, painted|1|100
BM_ScrollAtMillion|a scroll at 1,000,000 rows, painted|1|100
BM_RemoveFirstRowAtMillion|a row removed at 1,000,000 (no re-total)|1|100
BM_RecalcMillionRows|re-total of 1,000,000 rows, shown|1|100
BM_HCAtMillion|HC of 1,000,000 rows|1|100
BM_ACAtMillion|AC of an input receipt of 1,000,000 rows|1|100
BM_CopyAllAtMillion|copy of 1,000,000 rows to the clipboard|1|100
BM_DeleteFirstAtMillion|Delete at 1,000,000 rows, re-totalled|1|100
BM_MoveUpAtMillion|Move up at 1,000,000 rows, re-totalled|1|100
BM_FitFontFromDesignSize|the display font fitted to one width from 64 px|1|100
BM_FitFontEveryWidth|the font fitted to each width 280..3840 in turn|3561|100
BM_LayoutRuleEveryWidth|the layout rule for each width 280..3840 in turn|3561|100
BM_FoldChain1M|re-total of 1,000,000 rows in the engine alone|1|100
BM_AppendMillionRows|a receipt of 1,000,000 rows recorded and listed|1000000|1'

echo
echo "| benchmark | CPU time | per step | limit | ok |"
echo "|---|---:|---:|---:|:-:|"
awk -v limits="$limits" '
BEGIN {
  n = split(limits, rows, "\n")
  for (i = 1; i <= n; i++) { split(rows[i], f, "|"); pat[i] = f[1]; steps[i] = f[3]; lim[i] = f[4] }
}
{
  name = $2; cpu = $5; unit = $6
  ms = cpu; if (unit == "ns") ms = cpu / 1e6; else if (unit == "us") ms = cpu / 1e3; else if (unit == "s") ms = cpu * 1e3
  step = ""; limit = ""; ok = ""
  for (i = 1; i <= n; i++) if (index(name, pat[i]) == 1) {
    per = ms / steps[i]
    step = (per < 1 ? sprintf("%.3f ms", per) : sprintf("%.1f ms", per))
    limit = lim[i] " ms"; ok = (per <= lim[i] ? "yes" : "**NO**")
    break
  }
  printf "| %s | %s %s | %s | %s | %s |\n", name, cpu, unit, step, limit, ok
}' "$out"

if [ "$1" != "--no-startup" ] && [ -x "$BUILD/bansho" ]; then
  echo
  BANSHO="$BUILD/bansho" ./tools/startup-bench.sh
fi
