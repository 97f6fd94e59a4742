#!/usr/bin/env bash
# Builds every file a user downloads into dist/ (or the folder given), from the committed tree
# at HEAD: the Debian package and its -dbgsym package, the Windows installer and zip, the web
# page as a zip of its folder, the source tarball, and SHA256SUMS over them all. The packages
# are built from the source tarball unpacked, so they are what the tarball builds; the same
# commit gives the same bytes at any path.
#
#   scripts/release.sh [--no-install] [DIST_DIR]
#
# --no-install: fail on a missing package instead of installing it (the release test uses it).
set -euo pipefail
cd "$(dirname "$0")/.."
no_install=0
if [ "${1:-}" = --no-install ]; then
  no_install=1
  shift
fi
dist=$(mkdir -p "${1:-dist}" && cd "${1:-dist}" && pwd)

if [ $no_install -eq 1 ]; then
  export QEX_DEPS_NO_INSTALL=1
fi
scripts/deps.sh release

# The one place the version lives: the project's VERSION.
version=$(sed -n 's/^project(qex-lifts VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no project VERSION in CMakeLists.txt" >&2; exit 1; }
commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release: uncommitted changes are left out; this release is of HEAD, $commit" >&2
fi
if [ "$(git rev-parse -q --verify "refs/tags/v$version^{commit}" || true)" != "$commit" ]; then
  echo "release: HEAD is not tagged v$version; tag it when this is the release" >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
name=qex-lifts-$version
git archive --format=tar --prefix="$name/" HEAD | gzip -9 -n >"$work/$name.tar.gz"
tar -C "$work" -xzf "$work/$name.tar.gz"
source=$work/$name

# Every time in every package is the newest changelog entry's, whoever builds it and when.
changelog_date=$(sed -n 's/^ -- .*>  //p' "$source/platforms/linux/share/changelog.Debian" | head -n1)
SOURCE_DATE_EPOCH=$(date -d "$changelog_date" +%s)
export SOURCE_DATE_EPOCH
package_options=()
[ $no_install -eq 1 ] && package_options=(--no-install)
"$source/scripts/package.sh" "${package_options[@]}"
"$source/scripts/windows.sh"
"$source/scripts/web.sh"

# The web page's folder as one zip that unpacks to one folder; names sorted, one time and
# mode for every file, no owner: the same bytes wherever it is made.
web=$work/web/$name-web
mkdir -p "$web"
cp -R "$source/build-web/." "$web/"
find "$web" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
find "$web" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$work/web" && find "$name-web" -type f | LC_ALL=C sort |
  TZ=UTC zip -X -D -q -9 "$work/$name-web.zip" -@)

find "$dist" -maxdepth 1 \( -name 'qex-lifts*' -o -name SHA256SUMS \) -type f -delete
cp "$work/$name.tar.gz" "$work/$name-web.zip" "$source"/build-package/qex-lifts*_"$version"-*.deb \
  "$source/build-windows/$name-win64.exe" "$source/build-windows/$name-win64.zip" "$dist/"
(cd "$dist" && find . -maxdepth 1 -name 'qex-lifts*' -type f -printf '%f\n' | LC_ALL=C sort |
  xargs sha256sum -- >SHA256SUMS)
echo "Release $version of $commit in $dist:"
ls -l "$dist"
