#!/usr/bin/env bash
# The program on Wayland, no X connection of its own, under weston's desktop and kiosk shells
# (weston on a private Xvfb, for its pointer): a titled window drawn natively, no minimize or
# maximize, a close box that ends it with 0, its size and picture kept through a fullscreen
# configure of another size, buffers twice as large on a scale-2 output, and status 1 with one line when
# the compositor goes away. With `fallback`: a WAYLAND_DISPLAY where no compositor answers leaves
# the window to the X server.
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

caption='QEX Zorbuliners&PintaksIn3Lifts  SpaceBar +-\*/,\.  ESC'
log=""
fail() { echo "$1"; grep -v '^\[' "$log" | tail -5; exit 1; }

if [ "${2:-}" = fallback ]; then
  log=$runtime/fallback.log
  WAYLAND_DISPLAY=qex-nobody "$program" 2>"$log" &
  viewer=$!
  timeout 10 xdotool search --sync --name 'QEX Zorbuliners' >/dev/null || fail "no X11 window"
  kill -0 "$viewer" 2>/dev/null || fail "the program ended"
  kill "$viewer"; wait "$viewer" 2>/dev/null || true
  # A program whose Wayland module is missing says so and opens on the X server.
  cp "$program" "$runtime/alone"
  log=$runtime/alone.log
  WAYLAND_DISPLAY=qex-nobody "$runtime/alone" 2>"$log" &
  viewer=$!
  timeout 10 xdotool search --sync --name 'QEX Zorbuliners' >/dev/null || fail "no X11 window without the module"
  grep -q "cannot open its Wayland part: $(dirname "$runtime")/lib[^ .]*/qex-lifts/qex-lifts-wayland.so:" "$log" ||
    fail "no word of the missing module where it was looked for: $(cat "$log")"
  echo "without a compositor, or without the Wayland module, the window opens on the X server"
  exit 0
fi

# weston SHELL WIDTH HEIGHT [OPTION...]: weston with that shell on an output of that size.
weston_on() {
  [ -n "$compositor" ] && { kill "$compositor"; wait "$compositor" 2>/dev/null || true; }
  rm -f "$runtime/qex-$1"
  weston --backend=x11-backend.so --shell="$1" --width="$2" --height="$3" --socket="qex-$1" \
    --idle-time=0 "${@:4}" >"$runtime/weston.log" 2>&1 &
  compositor=$!
  for _ in $(seq 50); do [ -S "$runtime/qex-$1" ] && break; sleep 0.1; done
  [ -S "$runtime/qex-$1" ] || { echo "weston did not start:"; cat "$runtime/weston.log"; exit 1; }
}

# run_on SHELL WIDTH HEIGHT [OPTION...]: the program on weston once it has drawn frames.
run_on() {
  weston_on "$@"
  log=$runtime/$1.log
  env -u DISPLAY WAYLAND_DISPLAY="qex-$1" WAYLAND_DEBUG=client "$program" 2>"$log" &
  viewer=$!
  # The program's own surface is the first it creates; the rest are its title bar's.
  for _ in $(seq 100); do
    surface=$(grep -om1 'create_surface(new id wl_surface@[0-9]*' "$log" | grep -o '[0-9]*$' || true)
    [ -n "$surface" ] && [ "$(grep -c "wl_surface@$surface\.attach" "$log")" -ge 2 ] && break
    kill -0 "$viewer" 2>/dev/null || fail "the program ended on weston's $1:"
    sleep 0.1
  done
  grep -q "set_title(\"$caption\")" "$log" || fail "no window with the caption"
  [ "$(grep -c "wl_surface@$surface\.attach" "$log")" -ge 2 ] || fail "the window drew no frames"
  # The compositor's output is named after its X11 backend; nothing else may mention X11.
  ! grep -i 'xcb\|x11' "$log" | grep -qv 'wl_output@[0-9]*\.geometry' || fail "the program touched X11"
}

# find_title: where the window is, from the pointer's entry into the picture at (150, 300),
# and the title bar's height above it from the window's geometry.
find_title() {
  xdotool mousemove 150 300
  sleep 0.3
  local at
  at=$(grep "wl_pointer@[0-9]*\.enter([0-9]*, wl_surface@$surface, " "$log" | tail -1 |
    sed 's/.*, \([0-9]*\)\.[0-9]*, \([0-9]*\)\.[0-9]*)$/\1 \2/')
  [ -n "$at" ] || fail "the pointer never entered the window"
  set -- $at
  left=$((150 - $1))
  bar=$(grep -om1 'set_window_geometry(0, -[0-9]*' "$log" | grep -o '[0-9]*$') || fail "no title bar"
  top=$((300 - $2 - bar))
}

# click_title FROM_RIGHT: a click on the title bar, that many pixels from its right end.
click_title() {
  kill -0 "$viewer" 2>/dev/null || fail "the program ended after a click on its title:"
  xdotool mousemove $((left + 349 - $1)) $((top + bar / 2)) click 1
  sleep 0.3
}

# close: the close box at the title's right end ends the program with status 0.
close() {
  click_title 12
  for _ in $(seq 30); do kill -0 "$viewer" 2>/dev/null || break; sleep 0.1; done
  ! kill -0 "$viewer" 2>/dev/null || fail "the close box did not end the program"
  wait "$viewer" || fail "the close box ended the program with status $?"
  viewer=""
}

# frame_shown: whether the picture on screen, at the window's place found by find_title, is
# exactly one of the 54 frames.
frame_shown() {
  need convert imagemagick
  local shown
  shown=$(import -window root -crop "345x405+$((left + 2))+$((top + bar + 2))" -depth 8 gray:- | md5sum)
  for bitmap in "$here"/../../frames/bitmaps/image*.bmp; do
    [ "$(convert "$bitmap" -depth 8 gray:- | md5sum)" = "$shown" ] && return 0
  done
  return 1
}

# The output leaves room for the whole window below the panel.
run_on desktop-shell.so 349 600
find_title
# At the fastest pace each buffer the compositor gives back is rewritten where its old frame
# differs from the new one; stopped after that, the picture is exactly one frame.
xdotool mousemove $((left + 4)) $((top + bar + 4)) sleep 1 key slash mousemove 300 10 sleep 0.3
frame_shown || fail "the picture after playing at the fastest pace is none of the frames"
# Where a title bar may have maximize and minimize, and on the caption: at most a move.
for from_right in 39 62 150; do click_title "$from_right"; done
! grep -E 'xdg_toplevel@[0-9]*\.(set_maximized|set_minimized|set_fullscreen)' "$log" || fail "state requests"
grep -q 'xdg_toplevel@[0-9]*\.move(' "$log" || fail "a press on the title did not start a move"
close

# Made fullscreen on a larger output, the window keeps its one size and its unscaled picture,
# without a title bar as any fullscreen window; Escape still ends it with 0.
run_on kiosk-shell.so 480 520
grep -q "xdg_toplevel@[0-9]*\.configure(480, 520, array\[[1-9]" "$log" || fail "not made fullscreen"
geometries=$(grep -o 'set_window_geometry([^)]*)' "$log" | sort -u)
[ "$geometries" = "set_window_geometry(0, 0, 349, 407)" ] || fail "the window's sizes: $geometries"
! grep -q 'create_buffer(new id wl_buffer@[0-9]*, [0-9]*, \(480\|520\),' "$log" || fail "a buffer of the output's size"
xdotool key Escape
timeout 5 tail --pid="$viewer" -f /dev/null || fail "Escape did not end the program"
wait "$viewer" || fail "Escape ended the program with status $?"
viewer=""

# On a scale-2 output every buffer pixel is half a surface pixel: twice the size, told so.
run_on desktop-shell.so 349 600 --scale=2
grep -q "wl_surface@$surface\.set_buffer_scale(2)" "$log" || fail "no buffer scale 2"
grep -q 'create_buffer(new id wl_buffer@[0-9]*, [0-9]*, 698, 814, 2792, ' "$log" || fail "no 698 x 814 buffer"
kill "$viewer"
wait "$viewer" 2>/dev/null || true

# The compositor gone: status 1 and one line naming it.
weston_on desktop-shell.so 349 600
log=$runtime/lost.log
env -u DISPLAY WAYLAND_DISPLAY=qex-desktop-shell.so "$program" 2>"$log" &
viewer=$!
sleep 1
kill -9 "$compositor"
wait "$compositor" 2>/dev/null || true
compositor=""
status=0
timeout 5 tail --pid="$viewer" -f /dev/null || fail "the program outlived its compositor"
wait "$viewer" || status=$?
viewer=""
[ "$status" = 1 ] || fail "the program ended with status $status without its compositor"
[ "$(wc -l <"$log")" = 1 ] && grep -q 'qex-desktop-shell.so' "$log" || fail "not one line naming the compositor:"
echo "runs natively on Wayland: no minimize or maximize, moves by its title, keeps its size and picture when" \
  "fullscreen, closes with status 0, scales by 2, ends with status 1 and one line without its compositor"
