#!/usr/bin/env bash
# Starts the program with Qt's Wayland platform (no X connection of its own) on a weston whose
# kiosk shell makes every window fullscreen, and checks in the protocol log and by pointer
# clicks that it opens its titled window, draws natively, keeps its size through the fullscreen
# configure, offers no minimize or maximize, moves by its title and ends with status 0 by its
# close box. Weston runs on a private Xvfb only because its headless backend has no pointer.
set -euo pipefail
program=$1
here=$(dirname "$0")
# shellcheck source=need.sh
. "$here/need.sh"
# shellcheck source=xvfb.sh
. "$here/xvfb.sh"
need weston weston
need Xvfb xvfb
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
output_width=700
output_height=560
weston --backend=x11-backend.so --shell=kiosk-shell.so --width=$output_width --height=$output_height \
  --socket=qex-test --idle-time=0 >"$runtime/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 50); do
  [ -S "$runtime/qex-test" ] && break
  sleep 0.1
done
[ -S "$runtime/qex-test" ] || { echo "the compositor did not start:"; cat "$runtime/weston.log"; exit 1; }

log=$runtime/client.log
env -u DISPLAY WAYLAND_DISPLAY=qex-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$program" 2>"$log" &
viewer=$!

caption='QEX Zorbuliners&PintaksIn3Lifts  SpaceBar +-\*/,\.  ESC'
for _ in $(seq 100); do
  if grep -q "set_title(\"$caption\")" "$log" && [ "$(grep -c 'wl_surface@[0-9]*\.attach' "$log")" -ge 2 ]; then
    break
  fi
  kill -0 "$viewer" 2>/dev/null || break
  sleep 0.1
done

alive() {
  kill -0 "$viewer" 2>/dev/null && return 0
  echo "the program ended on the Wayland compositor $1:"
  grep -v '^\[' "$log" | tail -5
  exit 1
}
alive "at start"
grep -q "set_title(\"$caption\")" "$log" || { echo "no window with the caption"; exit 1; }
attaches=$(grep -c 'wl_surface@[0-9]*\.attach' "$log")
[ "$attaches" -ge 2 ] || { echo "the window drew $attaches buffers, expected frames"; exit 1; }
# The compositor's output is named after its X11 backend; nothing else may mention X11.
if grep -i 'xcb\|x11' "$log" | grep -qv 'wl_output@[0-9]*\.geometry'; then
  echo "the program touched X11 on a Wayland-only session"
  exit 1
fi
grep -q "xdg_toplevel@[0-9]*\.configure($output_width, $output_height, array\[[1-9]" "$log" ||
  { echo "the compositor never configured the window fullscreen"; exit 1; }

# The window keeps its one size: the picture's width, its height or more for a title above it.
geometries=$(grep -o 'set_window_geometry(0, 0, [0-9]*, [0-9]*)' "$log" | sort -u)
width=$(echo "$geometries" | sed -n 's/.*(0, 0, \([0-9]*\), [0-9]*)/\1/p' | head -n1)
height=$(echo "$geometries" | sed -n 's/.*(0, 0, [0-9]*, \([0-9]*\))/\1/p' | head -n1)
[ "$(echo "$geometries" | wc -l)" -eq 1 ] && [ "$width" -eq 349 ] && [ "$height" -ge 407 ] ||
  { echo "the window's geometry changed or is not 349 wide:"; echo "$geometries"; exit 1; }

# Kiosk windows are centred. Where Qt's own title bar had minimize and maximize, and on the
# title itself, a click may at most start a move.
left=$(( (output_width - width) / 2 ))
top=$(( (output_height - height) / 2 ))
for from_right in 62 39 150; do
  xdotool mousemove $((left + width - from_right)) $((top + 12)) click 1
  sleep 0.3
done
alive "after clicks on its title"
if grep -E 'xdg_toplevel@[0-9]*\.(set_maximized|set_minimized|set_fullscreen)' "$log"; then
  echo "the window asked to change its state"
  exit 1
fi
grep -q 'xdg_toplevel@[0-9]*\.move(' "$log" || { echo "a press on the title did not start a move"; exit 1; }

xdotool mousemove $((left + width - 12)) $((top + 12)) click 1
for _ in $(seq 30); do
  kill -0 "$viewer" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$viewer" 2>/dev/null && { echo "the close box did not end the program"; exit 1; }
status=0
wait "$viewer" || status=$?
viewer=""
[ "$status" -eq 0 ] || { echo "the close box ended the program with status $status"; exit 1; }
echo "runs natively on Wayland: titled window, $attaches buffers drawn, ${width}x$height through a fullscreen configure, no state requests, closed with status 0"
