# shellcheck shell=bash disable=SC2034  # sets `server` for its caller
# Sourced by the desktop tests. start_xvfb WORKDIR: starts a private Xvfb on a display number
# it picks itself, sets `server` to its pid and exports DISPLAY; the caller's trap kills it.
start_xvfb() {
  exec 3>"$1/display"
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  server=$!
  exec 3>&-
  for _ in $(seq 50); do
    [ -s "$1/display" ] && break
    sleep 0.1
  done
  [ -s "$1/display" ] || { echo "Xvfb did not start"; return 1; }
  DISPLAY=":$(head -n1 "$1/display")"
  export DISPLAY
  unset WAYLAND_DISPLAY
}
