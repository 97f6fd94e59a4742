# shellcheck shell=bash
# Sourced by the scripts that run the Windows program under Wine.

# Boots the prefix in WINEPREFIX when it is new, then waits until it has settled: a prefix used
# while still setting itself up makes every later start wait about 10 s on a service that never
# comes. An existing prefix is left alone, since booting it again starts a second set of services.
wine_prefix_ready() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  wineboot -i >/dev/null 2>&1
  wineserver -w
}
