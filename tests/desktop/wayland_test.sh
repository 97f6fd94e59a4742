#!/usr/bin/env bash
# The program with Qt's Wayland platform, no X connection of its own, under weston's desktop and
# kiosk shells (weston on a private Xvfb, for its pointer): a titled window drawn natively, no
# minimize or maximize, its size kept when made fullscreen, and a close box that ends it with 0.
set -euo pipefail
program=$1
here=$(dirname "$0")
# shellcheck source=need.sh
. "$here/need.sh"
# shellcheck source=xvfb.sh
. "$here/xvfb.sh"
need weston weston
need xdotool xdotool

runtime=$(mktemp -d)
chmod 700 "$runtime"
server=""
compositor=""
viewer=""
cleanup() {
  [ -n "$viewer" ] && kill "$viewer" 2>/dev/null || true
  [ -n "$compositor" ] && kill "$compositor" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT
start_xvfb "$runtime"
export XDG_RUNTIME_DIR=$runtime

# The window's width, and its height with the desktop shell's panel: either shell has one place
# for the window, at the left edge, and the panel's height or half of it from the top.
width=349
height=463
caption='QEX Zorbuliners&PintaksIn3Lifts  SpaceBar +-\*/,\.  ESC'
log=""
fail() { echo "$1"; grep -v '^\[' "$log" | tail -5; exit 1; }

# run_on SHELL: weston with that shell, and the program on it once it has drawn frames.
run_on() {
  [ -n "$compositor" ] && { kill "$compositor"; wait "$compositor" 2>/dev/null || true; }
  weston --backend=x11-backend.so --shell="$1" --width=$width --height=$height --socket="qex-$1" \
    --idle-time=0 >"$runtime/weston.log" 2>&1 &
  compositor=$!
  for _ in $(seq 50); do [ -S "$runtime/qex-$1" ] && break; sleep 0.1; done
  [ -S "$runtime/qex-$1" ] || { echo "weston did not start:"; cat "$runtime/weston.log"; exit 1; }
  log=$runtime/$1.log
  env -u DISPLAY WAYLAND_DISPLAY="qex-$1" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$program" 2>"$log" &
  viewer=$!
  for _ in $(seq 100); do
    [ "$(grep -c 'wl_surface@[0-9]*\.attach' "$log")" -ge 2 ] && break
    kill -0 "$viewer" 2>/dev/null || fail "the program ended on weston's $1:"
    sleep 0.1
  done
  grep -q "set_title(\"$caption\")" "$log" || fail "no window with the caption"
  [ "$(grep -c 'wl_surface@[0-9]*\.attach' "$log")" -ge 2 ] || fail "the window drew no frames"
  # The compositor's output is named after its X11 backend; nothing else may mention X11.
  ! grep -i 'xcb\|x11' "$log" | grep -qv 'wl_output@[0-9]*\.geometry' || fail "the program touched X11"
}

# click_title FROM_RIGHT TOP: a click on the title bar, that many pixels from its right end.
click_title() {
  kill -0 "$viewer" 2>/dev/null || fail "the program ended after a click on its title:"
  xdotool mousemove $((width - $1)) $(($2 + 12)) click 1
  sleep 0.3
}

# close_from TOP: the close box at the title's right end ends the program with status 0.
close_from() {
  click_title 12 "$1"
  for _ in $(seq 30); do kill -0 "$viewer" 2>/dev/null || break; sleep 0.1; done
  ! kill -0 "$viewer" 2>/dev/null || fail "the close box did not end the program"
  wait "$viewer" || fail "the close box ended the program with status $?"
  viewer=""
}

run_on desktop-shell.so
# Where Qt's own title bar has maximize and minimize, and on the caption: at most a move.
for from_right in 39 62 150; do click_title "$from_right" 32; done
! grep -E 'xdg_toplevel@[0-9]*\.(set_maximized|set_minimized|set_fullscreen)' "$log" || fail "state requests"
grep -q 'xdg_toplevel@[0-9]*\.move(' "$log" || fail "a press on the title did not start a move"
close_from 32

run_on kiosk-shell.so
grep -q "xdg_toplevel@[0-9]*\.configure($width, $height, array\[[1-9]" "$log" || fail "not made fullscreen"
# Through the fullscreen configure the window keeps its one size: the picture and a title above it.
geometries=$(grep -o 'set_window_geometry([^)]*)' "$log" | sort -u)
[ "$geometries" = "set_window_geometry(0, 0, 349, 431)" ] || fail "the window's sizes: $geometries"
close_from 16
echo "runs natively on Wayland: no minimize or maximize, moves by its title, keeps its size when fullscreen, closes with status 0"
