#!/usr/bin/env bash
# Builds the Debian package twice, from copies of the sources at two different paths (the
# second with its build folder outside them), and checks that both builds give the same bytes
# and that lintian finds no error and no hardening fault. Then unpacks it, checks that every
# file is where a desktop expects it, that it depends on the X11 and Wayland client libraries
# and no toolkit, validates the desktop entry, and starts the unpacked
# program under Xvfb until its first frame is on screen, then quits it with Escape.
set -euo pipefail
source=$1
probe=$2

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
need dpkg-buildflags dpkg-dev
need file file
need lintian lintian
need desktop-file-validate desktop-file-utils
need convert imagemagick
need Xvfb xvfb

# build COPY BUILD_DIR: copies the sources (without build folders) to COPY and packages them.
build() {
  mkdir -p "$1"
  tar -C "$source" --exclude='./build*' --exclude=./.git --exclude=./Testing -cf - . | tar -C "$1" -xf -
  (cd "$1" && scripts/package.sh --no-install "$2") >"$work/build.log" 2>&1 ||
    { cat "$work/build.log"; fail "scripts/package.sh failed in $1"; }
}
export SOURCE_DATE_EPOCH=1700000000
build "$work/one/qex-lifts" "$work/one/qex-lifts/build-package"
build "$work/second-and-longer/path/qex-lifts" "$work/second-build"
for deb in "$work"/one/qex-lifts/build-package/qex-lifts*.deb; do
  other=$work/second-build/$(basename "$deb")
  [ -f "$other" ] || fail "the second build made no $(basename "$deb")"
  cmp -s "$deb" "$other" || {
    diff <(dpkg-deb -c "$deb") <(dpkg-deb -c "$other") || true
    fail "$(basename "$deb") differs between two builds of the same sources at two paths"
  }
done
package=$(ls "$work"/one/qex-lifts/build-package/qex-lifts_*.deb)
debug_package=$(ls "$work"/one/qex-lifts/build-package/qex-lifts-dbgsym_*.deb)

findings=$(lintian --fail-on none "$package" "$debug_package" 2>/dev/null) || fail "lintian did not run"
echo "$findings"
if grep -q '^E: ' <<<"$findings" || grep -q 'hardening' <<<"$findings"; then
  fail "lintian finds errors or hardening faults"
fi
build_id=$(readelf -n "$work/one/qex-lifts/build-package/qex-lifts" | sed -n 's/^ *Build ID: //p')
debug_files=$(dpkg-deb -c "$debug_package")
grep -q "usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug" <<<"$debug_files" ||
  fail "the -dbgsym package lacks the debug file of build ID $build_id"

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
gzip -t "$root/share/doc/qex-lifts/changelog.Debian.gz" || fail "no valid changelog"
desktop-file-validate "$root/share/applications/qex-lifts.desktop" || fail "desktop entry does not validate"
depends=$(dpkg-deb -f "$package" Depends)
# The libraries come from the program itself: X11 and Wayland spoken to directly, no toolkit.
for library in libxcb1 libxkbcommon-x11-0 libwayland-client0 libdecor-0-0; do
  grep -qw "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
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
echo "package $(basename "$package"): the same at two paths, lintian clean, files in place, desktop entry valid, Depends: $depends"
