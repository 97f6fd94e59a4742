#!/usr/bin/env bash
# Starts the program on a headless Wayland compositor with Qt's Wayland platform and checks
# that it opens its titled window and draws into it natively (no X server anywhere).
set -euo pipefail
program=$1
# shellcheck source=need.sh
. "$(dirname "$0")/need.sh"
need weston weston

runtime=$(mktemp -d)
chmod 700 "$runtime"
compositor=""
viewer=""
cleanup() {
  [ -n "$viewer" ] && kill "$viewer" 2>/dev/null || true
  [ -n "$compositor" ] && kill "$compositor" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$runtime
unset DISPLAY
weston --backend=headless-backend.so --socket=qex-test --idle-time=0 >"$runtime/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 50); do
  [ -S "$runtime/qex-test" ] && break
  sleep 0.1
done
[ -S "$runtime/qex-test" ] || { echo "the compositor did not start:"; cat "$runtime/weston.log"; exit 1; }

WAYLAND_DISPLAY=qex-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$program" 2>"$runtime/client.log" &
viewer=$!

caption='QEX Zorbuliners&PintaksIn3Lifts  SpaceBar +-\*/,\.  ESC'
for _ in $(seq 100); do
  if grep -q "set_title(\"$caption\")" "$runtime/client.log" &&
     [ "$(grep -c 'wl_surface@[0-9]*\.attach' "$runtime/client.log")" -ge 2 ]; then
    break
  fi
  kill -0 "$viewer" 2>/dev/null || break
  sleep 0.1
done

if ! kill -0 "$viewer" 2>/dev/null; then
  echo "the program ended on the Wayland compositor:"
  grep -v '^\[' "$runtime/client.log" | tail -5
  exit 1
fi
grep -q "set_title(\"$caption\")" "$runtime/client.log" || { echo "no window with the caption"; exit 1; }
attaches=$(grep -c 'wl_surface@[0-9]*\.attach' "$runtime/client.log")
[ "$attaches" -ge 2 ] || { echo "the window drew $attaches buffers, expected frames"; exit 1; }
if grep -qi 'xcb\|x11' "$runtime/client.log"; then
  echo "the program touched X11 on a Wayland-only session"
  exit 1
fi
echo "runs natively on Wayland: titled window, $attaches buffers drawn"
