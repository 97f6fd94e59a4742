#!/usr/bin/env bash
# Plays the sanitizer-built program for 5 s in a real X server with some input, ends it with
# Escape, and fails on any leak the leak checker finds: on X11 the program loads no library
# that keeps memory for the life of the process, so nothing is suppressed.
set -euo pipefail
program=$1

work=$(mktemp -d)
server=""
viewer=""
cleanup() {
  [ -n "$viewer" ] && kill -9 "$viewer" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=xvfb.sh
. "$(dirname "$0")/xvfb.sh"

start_xvfb "$work"

ASAN_OPTIONS="detect_leaks=1" "$program" 2>"$work/stderr" &
viewer=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --name QEX | head -n1)
xdotool windowfocus --sync "$window"
sleep 1
xdotool mousemove --window "$window" 40 40 sleep 2.5 click 1 mousemove --window "$window" 40 60 \
  mousemove --window "$window" 40 50 click 1 key space key plus key period key minus
sleep 1.5
xdotool key Escape
status=0
wait "$viewer" || status=$?
viewer=""
if grep -q "LeakSanitizer" "$work/stderr" || [ "$status" -ne 0 ]; then
  echo "status $status"
  cat "$work/stderr"
  exit 1
fi
echo "no leaks after 5 s of play, ended by Escape with status 0"
