#!/usr/bin/env bash
# Checks a built Debian package and its -dbgsym package: lintian finds no error and no hardening
# fault, every file is where a desktop expects it, it depends on the X11 and Wayland client
# libraries and no toolkit, the desktop entry and the AppStream metainfo
# validate, and the unpacked program starts under Xvfb until its first frame is on screen, then
# quits with Escape. The release test builds them (twice, at two paths) and runs this.
#   package_test.sh SOURCE PROBE PACKAGE DEBUG_PACKAGE
set -euo pipefail
source=$1
probe=$2
package=$3
debug_package=$4

work=$(mktemp -d)
server=""
cleanup() {
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
here=$(dirname "$0")
# shellcheck source=xvfb.sh
. "$here/xvfb.sh"
# shellcheck source=need.sh
. "$here/need.sh"
fail() { echo "package: $*"; exit 1; }
need lintian lintian
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need convert imagemagick
need Xvfb xvfb

findings=$(lintian --fail-on none "$package" "$debug_package" 2>/dev/null) || fail "lintian did not run"
echo "$findings"
if grep -q '^E: ' <<<"$findings" || grep -q 'hardening' <<<"$findings"; then
  fail "lintian finds errors or hardening faults"
fi

dpkg-deb -x "$package" "$work/root"
root=$work/root/usr

[ -x "$root/bin/qex-lifts" ] || fail "no program in /usr/bin"
build_id=$(readelf -n "$root/bin/qex-lifts" | sed -n 's/^ *Build ID: //p')
debug_files=$(dpkg-deb -c "$debug_package")
grep -q "usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug" <<<"$debug_files" ||
  fail "the -dbgsym package lacks the debug file of build ID $build_id"
[ -f "$root/share/applications/qex-lifts.desktop" ] || fail "no desktop entry"
for size in 16 32 48 64 128 256; do
  icon=$root/share/icons/hicolor/${size}x${size}/apps/qex-lifts.png
  [ -f "$icon" ] || fail "no ${size}px icon"
  [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "${size}px icon is not a PNG"
done
gzip -t "$root/share/man/man1/qex-lifts.1.gz" || fail "man page is not a valid gzip file"
zcat "$root/share/man/man1/qex-lifts.1.gz" | grep -q '^\.SH EXIT STATUS' || fail "man page lacks its exit statuses"
[ -f "$root/share/doc/qex-lifts/copyright" ] || fail "no copyright file"
gzip -t "$root/share/doc/qex-lifts/changelog.Debian.gz" || fail "no valid changelog"
desktop-file-validate "$root/share/applications/qex-lifts.desktop" || fail "desktop entry does not validate"
# Software centres read the metainfo with the desktop entry and icon it names.
appstreamcli validate-tree --no-net "$work/root" || fail "the AppStream metainfo does not validate"
depends=$(dpkg-deb -f "$package" Depends)
# The libraries come from the program itself: X11 and Wayland spoken to directly, no toolkit.
for library in libxcb1 libxkbcommon-x11-0 libxcb-xkb1 libxcb-randr0 libwayland-client0 libdecor-0-0; do
  grep -qw "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
# A start maps only what the first frame on X11 needs; the rest is opened later.
needed=$(readelf -d "$root/bin/qex-lifts" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p' | sort | tr '\n' ' ')
[ "$needed" = "ld-linux-x86-64.so.2 libc.so.6 libxcb.so.1 " ] || fail "the program links more than xcb and libc: $needed"
[ -n "$(find "$root/lib" -path '*/qex-lifts/qex-lifts-wayland.so')" ] || fail "no Wayland module"
! grep -qi 'qt' <<<"$depends" || fail "Depends names a toolkit library: $depends"
grep -qw libdecor-0-plugin-1-cairo <<<"$(dpkg-deb -f "$package" Recommends)" ||
  fail "the title-bar plugin libdecor loads at run time is not recommended"
[ -n "$(dpkg-deb -f "$package" Maintainer)" ] || fail "no maintainer"

# The unpacked program must show its first frame: 95 % of image01's black and white pixels.
first=$source/frames/bitmaps/image01.bmp
white=$(convert "$first" -format '%[fx:round(mean*w*h)]' info:)
total=$(convert "$first" -format '%[fx:w*h]' info:)
black=$((total - white))
start_xvfb "$work"
"$probe" quit --black $((black * 95 / 100)) --white $((white * 95 / 100)) --settle 300 \
  -- "$root/bin/qex-lifts" || fail "the unpacked program did not show its first frame and quit cleanly"
echo "package $(basename "$package"): lintian clean, files in place, desktop entry and metainfo valid, Depends: $depends"
