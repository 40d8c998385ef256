#!/bin/sh
# Start-up time and peak memory of build/bansho beside a bare Qt 6 window showing one label,
# measured side by side under a private Xvfb.
#
#   tools/startup-bench.sh [RUNS]        (default 9 runs of each program, interleaved)
#
# Start-up is the time from exec to the first painted window (median of the runs); peak
# memory is the largest resident set the kernel accounted to the process (median); CPU is
# the user and system time of the whole run (start, first paint, half a second of idling
# and the end; median). Each bansho run is a first start: a copy of the program runs from
# an empty folder, so no settings file is read, and it is ended with SIGTERM, so none is
# written. The targets: bansho at most 1.3x the bare window's time and 1.2x its memory.
# Wall-clock times need a quiet machine; the load average is printed with the table.
set -e
cd "$(dirname "$0")/.."
RUNS=${1:-9}
BANSHO=${BANSHO:-build/bansho}
[ -x "$BANSHO" ] || { echo "no $BANSHO: build the program first" >&2; exit 2; }
for tool in Xvfb cc g++ pkg-config; do
  command -v $tool >/dev/null || { echo "missing $tool" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

src=tools/startup-bench
cc -O2 -o "$work/firstpaint" "$src/firstpaint.c" -lX11
# shellcheck disable=SC2046
g++ -O2 -fPIC -o "$work/bare-window" "$src/bare_window.cpp" $(pkg-config --cflags --libs Qt6Widgets)
mkdir "$work/app"
cp "$BANSHO" "$work/app/bansho"

# A display nobody else uses.
n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
i=0
while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
export QT_QPA_PLATFORM=xcb
mkdir -m 700 "$work/xdg"
export XDG_RUNTIME_DIR="$work/xdg"

run() { # name command...  (a run that cannot reach the display is tried again)
  name=$1; shift
  for attempt in 1 2 3; do
    if out=$("$work/firstpaint" "$@"); then echo "$out" >>"$work/$name"; return; fi
    sleep 0.2
  done
  echo "run of $name failed" >&2
}

# One warm-up of each so that every measured run finds the fonts and libraries cached.
"$work/firstpaint" "$work/bare-window" >/dev/null
(cd "$work/app" && "$work/firstpaint" ./bansho >/dev/null)
rm -f "$work/app/bansho.ENV"

r=0
while [ $r -lt "$RUNS" ]; do
  run bare "$work/bare-window"
  run bare-ja "$work/bare-window" "巨大電卓「バンショ」"
  (cd "$work/app" && run bansho ./bansho)
  rm -f "$work/app/bansho.ENV"
  r=$((r + 1))
done

median() { # file column
  sort -n -k"$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
bt=$(median "$work/bare" 1); bm=$(median "$work/bare" 2); bc=$(median "$work/bare" 3)
jt=$(median "$work/bare-ja" 1); jm=$(median "$work/bare-ja" 2); jc=$(median "$work/bare-ja" 3)
at=$(median "$work/bansho" 1); am=$(median "$work/bansho" 2); ac=$(median "$work/bansho" 3)

echo "Start-up to the first painted window, peak memory and CPU time, median of $RUNS runs (Xvfb :$n)"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
printf '| %-34s | %10s | %8s | %14s | %8s | %8s | %8s |\n' program "start (ms)" "time x" "peak RSS (MiB)" \
  "memory x" "CPU (ms)" "CPU x"
printf '|%s|%s|%s|%s|%s|%s|%s|\n' "------------------------------------" "------------" "----------" \
  "----------------" "----------" "----------" "----------"
row() { # name time rss cpu
  printf '| %-34s | %10.1f | %8.2f | %14.1f | %8.2f | %8.1f | %8.2f |\n' "$1" "$2" \
    "$(echo "$2 $bt" | awk '{ print $1 / $2 }')" "$(echo "$3" | awk '{ print $1 / 1024 }')" \
    "$(echo "$3 $bm" | awk '{ print $1 / $2 }')" "$4" "$(echo "$4 $bc" | awk '{ print ($2 > 0) ? $1 / $2 : 0 }')"
}
row "bare Qt window, label \"0.\"" "$bt" "$bm" "$bc"
row "bare Qt window, Japanese label" "$jt" "$jm" "$jc"
row "build/bansho (first start)" "$at" "$am" "$ac"
echo
ok=$(echo "$at $bt $am $bm" | awk '{ print ($1 <= 1.3 * $2 && $3 <= 1.2 * $4) ? "yes" : "no" }')
echo "targets (time <= 1.3x, memory <= 1.2x the bare window): $ok"
