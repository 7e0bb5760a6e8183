#!/bin/sh
# Makes the README's pictures from a real run of build/zinnet under Xvfb:
# docs/table.png (a deal in progress) and docs/menu-effect.png (the menu
# through the Game Boy effect). Needs xvfb, xdotool and ImageMagick
# (scripts/install-deps.sh) and a built game (scripts/build.sh).
#   tools/screenshots.sh [OUT_DIR]      (default: docs)
set -eu
cd "$(dirname "$0")/.."
OUT=${1:-docs}
mkdir -p "$OUT"
[ -x build/zinnet ] || { echo "screenshots: build/zinnet not found; run scripts/build.sh" >&2; exit 2; }
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} OUT
# The screen is exactly the window's size, so the root window is the game.
xvfb-run -a -s "-screen 0 800x600x24" sh -c '
  set -eu
  build/zinnet >/dev/null 2>&1 & pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  # Waits up to 20 s until the pixel at $1,$2 is (=) or is no longer (!=) the colour $4.
  wait_pixel() {
    for _ in $(seq 200); do
      c=$(import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | sed -n "2s/.*#\([0-9A-F]\{6\}\).*/\1/p")
      [ "$c" "$3" "$4" ] && return 0
      sleep 0.1
    done
    echo "screenshots: pixel $1,$2 never got $3 #$4 (last #$c)" >&2; return 1
  }
  shrink() { convert "$1" -resize 75% -colors 64 -strip "$2"; }
  until xdotool search --name "Zinnet Memory Game" >/dev/null 2>&1; do sleep 0.1; done
  # Intro, then the deal: wait for the faces to turn to their green backs.
  wait_pixel 790 590 = A3A7C2
  xdotool mousemove 400 300 click 1
  wait_pixel 160 140 = 0F380F
  # Turn two cards and catch them face up before a mismatch hides them.
  xdotool mousemove 160 140 click 1
  sleep 0.6
  xdotool mousemove 480 300 click 1
  sleep 0.6
  import -window root /tmp/zinnet-table.png
  # Menu > Options > Effects > Game Boy; the table colour turns to the palette.
  xdotool key Escape
  sleep 0.5
  xdotool key --delay 200 Down Down Return Return Down Down Down Return
  wait_pixel 790 590 != A3A7C2
  import -window root /tmp/zinnet-menu.png
  shrink /tmp/zinnet-table.png "$OUT/table.png"
  shrink /tmp/zinnet-menu.png "$OUT/menu-effect.png"
  rm -f /tmp/zinnet-table.png /tmp/zinnet-menu.png
'
echo "screenshots: wrote $OUT/table.png and $OUT/menu-effect.png"
