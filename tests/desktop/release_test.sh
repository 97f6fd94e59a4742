#!/usr/bin/env bash
# make release, from two copies of the sources at two paths, each committed the same way: both
# give the same bytes; every file is listed in SHA256SUMS with its sum; the licence is in the
# source tarball, the Debian package, the Windows zip, the installer (installed silently under
# Wine and read back, then uninstalled) and the web zip. Then the package checks.
#   release_test.sh SOURCE PROBE
set -euo pipefail
export LC_ALL=C
source=$(cd "$1" && pwd)
probe=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "release: $*"; exit 1; }
# shellcheck source=need.sh
. "$here/need.sh"
need git git
need unzip unzip
need wine wine

# Two copies of the sources without build folders, taken together and committed the same way,
# each released into its dist/.
one=$work/one/qex-lifts
two=$work/second-and-longer/path/qex-lifts
for copy in "$one" "$two"; do
  mkdir -p "$copy"
  tar -C "$source" --exclude='./build*' --exclude=./.git --exclude=./Testing --exclude=./dist -cf - . |
    tar -C "$copy" -xf -
done
for copy in "$one" "$two"; do
  git -C "$copy" init -q
  git -C "$copy" add -A
  GIT_AUTHOR_DATE=@1700000000 GIT_COMMITTER_DATE=@1700000000 git -C "$copy" \
    -c user.name=release-test -c user.email=release-test@qex-lifts.invalid commit -q -m "release test"
  "$copy/scripts/release.sh" --no-install >"$work/release.log" 2>&1 ||
    { cat "$work/release.log"; fail "scripts/release.sh failed in $copy"; }
done
dist=$one/dist
diff -r "$dist" "$two/dist" || fail "two releases of the same commit at two paths differ"
# From here on the sources are the copy's, as they were released.
source=$one
here=$one/tests/desktop

version=$(sed -n 's/^project(qex-lifts VERSION \([0-9.]*\) .*/\1/p' "$source/CMakeLists.txt")
name=qex-lifts-$version
expected="$name-web.zip $name-win64.exe $name-win64.zip $name.tar.gz"
expected+=" qex-lifts-dbgsym_${version}-1_amd64.deb qex-lifts_${version}-1_amd64.deb"
[ "$(ls "$dist" | xargs)" = "SHA256SUMS $expected" ] || fail "dist holds $(ls "$dist" | xargs)"
[ "$(cut -d' ' -f3 "$dist/SHA256SUMS" | xargs)" = "$expected" ] || fail "SHA256SUMS lists other files"
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "a sum in SHA256SUMS is wrong"

# The licence, byte for byte, in each; with CRLF line ends for Windows.
licence=$source/LICENSE
tar -xzOf "$dist/$name.tar.gz" "$name/LICENSE" | cmp -s - "$licence" || fail "the tarball's LICENSE differs"
unzip -p "$dist/$name-web.zip" "$name-web/LICENSE.txt" | cmp -s - "$licence" || fail "the web zip's LICENSE.txt differs"
sed 's/$/\r/' "$licence" >"$work/LICENSE.txt"
unzip -p "$dist/$name-win64.zip" "$name-win64/LICENSE.txt" | cmp -s - "$work/LICENSE.txt" ||
  fail "the Windows zip's LICENSE.txt is not the licence with CRLF line ends"
dpkg-deb --fsys-tarfile "$dist/qex-lifts_${version}-1_amd64.deb" |
  tar -xOf - ./usr/share/doc/qex-lifts/copyright >"$work/copyright"
grep -q '^License: MIT$' "$work/copyright" || fail "the package's copyright names no MIT licence"
sed 's/^ //; s/^\.$//' "$work/copyright" | sed -n '/^Permission/,$p' |
  cmp -s - <(sed -n '/^Permission/,$p' "$licence") || fail "the package's copyright lacks the licence's text"

# The installer under Wine, in a prefix of this test's own.
export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# shellcheck source=../../scripts/wine_prefix.sh
. "$source/scripts/wine_prefix.sh"
wine_prefix_ready
"$source/tests/windows/windows_checks.sh" installer "$dist" || fail "the installer check failed"
wineserver -k 2>/dev/null || true

"$here/package_test.sh" "$source" "$probe" "$dist/qex-lifts_${version}-1_amd64.deb" \
  "$dist/qex-lifts-dbgsym_${version}-1_amd64.deb"
echo "release $version: the same at two paths, sums right, the licence in every file a user downloads"
