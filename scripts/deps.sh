#!/usr/bin/env bash
# Installs the Debian packages one purpose needs, only those that are missing.
# deps.sh run: building and running the viewer. deps.sh package: that and the Debian packaging
# tools. deps.sh web: the web page. deps.sh windows: the Windows program.
# deps.sh release: package, web, windows and what packs them. deps.sh test: all of that and
# every test's tools. With QEX_DEPS_NO_INSTALL=1 it installs nothing and fails on what is missing.
set -euo pipefail

run_packages=(g++ cmake make pkgconf libxcb1-dev libxcb-randr0-dev libxcb-xkb-dev libxkbcommon-x11-dev
              libwayland-dev libdecor-0-dev)
# libdecor's title bar for compositors that draw none (GNOME, weston): needed only where a
# Wayland session runs, and there its graphics libraries are already installed; on a machine
# without one it would bring 25 packages that nothing uses.
title_bar_packages=(libdecor-0-plugin-1-cairo)
if [ -n "${WAYLAND_DISPLAY:-}" ]; then
  run_packages+=("${title_bar_packages[@]}")
fi
package_packages=(dpkg-dev file)
test_packages=("${title_bar_packages[@]}" libgtest-dev libgmock-dev
               xvfb xauth xdotool x11-utils x11-apps x11-xserver-utils
               desktop-file-utils lintian weston
               libx11-dev libxtst-dev imagemagick gifsicle
               metacity mutter openbox dbus-daemon wmctrl picom appstream unzip)
windows_packages=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 imagemagick nsis)
windows_test_packages=(wine wine64 zip)
web_packages=(emscripten nodejs googletest chromium chromium-driver python3-selenium
              firefox-esr python3-websocket webkit2gtk-driver xvfb)
release_packages=(git zip)

case "${1:-}" in
  run) packages=("${run_packages[@]}") ;;
  package) packages=("${run_packages[@]}" "${package_packages[@]}") ;;
  web) packages=(cmake make emscripten) ;;
  windows) packages=("${windows_packages[@]}") ;;
  release) packages=("${run_packages[@]}" "${package_packages[@]}" emscripten
                     "${windows_packages[@]}" "${release_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${package_packages[@]}" "${test_packages[@]}"
                  "${web_packages[@]}" "${windows_packages[@]}" "${windows_test_packages[@]}"
                  "${release_packages[@]}") ;;
  *) echo "usage: $0 run|package|web|windows|release|test" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "${QEX_DEPS_NO_INSTALL:-0}" = 1 ]; then
  echo "Missing Debian packages: ${missing[*]} (scripts/deps.sh ${1} installs them)" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
