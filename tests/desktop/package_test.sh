#!/usr/bin/env bash
# Builds the Debian package, unpacks it, checks that every file is where a desktop expects it,
# validates the desktop entry, and starts the unpacked program under Xvfb until its first frame
# is on screen, then quits it with Escape.
set -euo pipefail
build=$1
source=$2
probe=$3

work=$(mktemp -d)
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=xvfb.sh
. "$(dirname "$0")/xvfb.sh"
fail() { echo "package: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack failed"; }
package=$(ls "$work"/out/qex-lifts_*.deb)
dpkg-deb -x "$package" "$work/root"
root=$work/root/usr

[ -x "$root/bin/qex-lifts" ] || fail "no program in /usr/bin"
[ -f "$root/share/applications/qex-lifts.desktop" ] || fail "no desktop entry"
for size in 16 32 48 64 128 256; do
  icon=$root/share/icons/hicolor/${size}x${size}/apps/qex-lifts.png
  [ -f "$icon" ] || fail "no ${size}px icon"
  [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "${size}px icon is not a PNG"
done
gzip -t "$root/share/man/man1/qex-lifts.1.gz" || fail "man page is not a valid gzip file"
zcat "$root/share/man/man1/qex-lifts.1.gz" | grep -q '^\.SH EXIT STATUS' || fail "man page lacks its exit statuses"
[ -f "$root/share/doc/qex-lifts/copyright" ] || fail "no copyright file"
desktop-file-validate "$root/share/applications/qex-lifts.desktop" || fail "desktop entry does not validate"
depends=$(dpkg-deb -f "$package" Depends)
case "$depends" in *libqt6widgets6*) ;; *) fail "Depends lacks the Qt widgets library: $depends" ;; esac
[ -n "$(dpkg-deb -f "$package" Maintainer)" ] || fail "no maintainer"

# The unpacked program must show its first frame: 95 % of image01's black and white pixels.
first=$source/frames/bitmaps/image01.bmp
white=$(convert "$first" -format '%[fx:round(mean*w*h)]' info:)
total=$(convert "$first" -format '%[fx:w*h]' info:)
black=$((total - white))
start_xvfb "$work"
"$probe" quit --black $((black * 95 / 100)) --white $((white * 95 / 100)) --settle 300 \
  -- "$root/bin/qex-lifts" || fail "the unpacked program did not show its first frame and quit cleanly"
echo "package $(basename "$package"): files in place, desktop entry valid, Depends: $depends"
