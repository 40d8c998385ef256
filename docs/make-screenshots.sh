#!/bin/sh
# Makes the pictures of the user guide (docs/guide/images/*.png) from the real program:
# a copy of build/bansho runs with factory settings under a private Xvfb, is driven by
# key presses as a user would drive it, and each window is cut out of the screen.
#
#   docs/make-screenshots.sh [BANSHO]      (default build/bansho)
#
# Needs Xvfb, xdotool and ImageMagick (apt-get install xvfb xdotool imagemagick). The same
# program and fonts give the same pictures: no time stamps are written into the PNGs.
# The pictures are kept in git, so building the guide and the package needs none of this.
set -e
cd "$(dirname "$0")/.."
BANSHO=${1:-build/bansho}
OUT=docs/guide/images
[ -x "$BANSHO" ] || { echo "no $BANSHO: build the program first" >&2; exit 2; }
for tool in Xvfb xdotool import convert; do
  command -v $tool >/dev/null || { echo "missing $tool" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# A display nobody else uses.
n=${SCREENSHOT_DISPLAY:-90}
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
i=0
while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8
mkdir -m 700 "$work/xdg"
export XDG_RUNTIME_DIR="$work/xdg" HOME="$work/home"
mkdir -p "$HOME"

# The program in a folder of its own, so its settings are the factory ones plus a window
# placed at the top left of the screen.
mkdir "$work/app"
cp "$BANSHO" "$work/app/bansho"
printf '[BANSHO]\r\nLeft=24\r\nTop=24\r\nWidth=760\r\n\r\n' >"$work/app/bansho.ENV"
(cd "$work/app" && exec ./bansho) &
app_pid=$!
main=$(xdotool search --sync --all --onlyvisible --pid "$app_pid" --name 'ver ' | head -1)
sleep 1

press() { xdotool key --delay 60 "$@"; sleep 0.4; }

# Cuts the screen to the given windows into OUT/NAME.png: one window exactly, several
# as their union with a margin.
shoot() {
  name=$1; shift
  m=0; [ $# -gt 1 ] && m=8
  box=""
  for w in "$@"; do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    box="$box $X $Y $((X + WIDTH)) $((Y + HEIGHT))"
  done
  # shellcheck disable=SC2086
  set -- $box
  x0=$1; y0=$2; x1=$3; y1=$4; shift 4
  while [ $# -ge 4 ]; do
    [ "$1" -lt "$x0" ] && x0=$1; [ "$2" -lt "$y0" ] && y0=$2
    [ "$3" -gt "$x1" ] && x1=$3; [ "$4" -gt "$y1" ] && y1=$4
    shift 4
  done
  x0=$((x0 - m)); y0=$((y0 - m)); x1=$((x1 + m)); y1=$((y1 + m))
  [ $x0 -lt 0 ] && x0=0; [ $y0 -lt 0 ] && y0=0
  sleep 0.6
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" +repage -strip \
    -define png:exclude-chunks=date,time "$OUT/$name.png"
  echo "$OUT/$name.png"
}

# The window of the program whose title contains TEXT (dialogs come and go).
window() { xdotool search --sync --all --onlyvisible --pid "$app_pid" --name "$1" | head -1; }

mkdir -p "$OUT"
xdotool windowfocus --sync "$main"
hist=$(window 'レシート')

# An input receipt: 1,280 + 450 + 2,300 =.
press KP_1 KP_2 KP_8 KP_0 KP_Add KP_4 KP_5 KP_0 KP_Add KP_2 KP_3 KP_0 KP_0 KP_Enter
shoot main "$main" "$hist"

# Correcting the receipt: into the receipt, up to the row of 450, Space opens the
# correction dialog.
press Tab
press Up
press space
edit=$(window '訂正')
shoot edit "$edit"
press Escape
xdotool windowfocus --sync "$main"

# The tax-included amount (F11).
press F11
shoot tax "$main"

# Function-key set B: memory keys.
press space
shoot set-b "$main"

# The customization dialog from function-key set C (F8), page by page.
press space
press F8
custom=$(window 'カスタマイズ')
shoot custom-calc "$custom"
press ctrl+Tab
shoot custom-keys "$custom"
press ctrl+Tab
shoot custom-display "$custom"
press ctrl+Tab
shoot custom-option "$custom"
press Escape

# NUM-key mode on (Insert): the NUM mark lights up.
xdotool windowfocus --sync "$main"
press Insert
shoot num "$main"

# Pricing from the entry menu (補助, F6 in set C): cost 1,500, margin 20, then the price.
press Insert
press Home
menu_item() { press F6; i=0; while [ $i -lt "$1" ]; do xdotool key Down; i=$((i + 1)); done; press Return; }
press KP_1 KP_5 KP_0 KP_0
menu_item 11
press KP_2 KP_0
menu_item 13
menu_item 12
shoot pricing "$main" "$hist"

# Time, days and the re-key check, from the 補助 menu (F6 of set C): its last four items are
# 時間, 日付, 両端入れ and 検算, so Up from the end selects them without a mouse.
press Home
menu_item() { press F6; sleep 1; for _ in $(seq "$1"); do xdotool key Up; done; press Return; }
press KP_2 KP_0 KP_2 KP_6 KP_1 KP_1 KP_2 KP_0; menu_item 3
press KP_Subtract KP_2 KP_0 KP_2 KP_6 KP_0 KP_4 KP_2 KP_7; menu_item 3
press KP_Enter
shoot days "$main" "$hist"

press KP_1; menu_item 4; press KP_3 KP_0 KP_Add KP_2; menu_item 4; press KP_4 KP_5 KP_Enter
shoot time "$main" "$hist"

# The first keying, then 検算 and a second keying with 540 for 450.
press KP_1 KP_2 KP_8 KP_0 KP_Add KP_4 KP_5 KP_0 KP_Add KP_2 KP_3 KP_0 KP_0 KP_Enter
menu_item 1
press KP_1 KP_2 KP_8 KP_0 KP_Add KP_5 KP_4 KP_0 KP_Add
shoot check "$main" "$hist"

# A bill at two rates: 1,000 at 10%, 150 at 8%, 620 at 10%, then the tax
# total, after AC (which also leaves the check). Rate 2's tax-included key and the tax total
# are items 8 and 10 of the input-help menu (F6 of set C); the menu is opened from set A and
# set A comes back after it.
press Home
press space
choose() {
  press space space F6
  i=0; while [ $i -lt "$1" ]; do xdotool key Down; i=$((i + 1)); done
  press Return
  press space
}
press KP_1 KP_0 KP_0 KP_0 F11
press KP_1 KP_5 KP_0
choose 8
press KP_6 KP_2 KP_0 F11
choose 10
shoot bill "$main" "$hist"
