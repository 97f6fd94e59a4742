#!/usr/bin/env bash
# Builds the Debian package of the viewer with the distribution's compiler and linker flags
# (hardening included) into build-package/: qex-lifts_<version>_amd64.deb and, beside it, the
# -dbgsym package with the program's debug information.
#
#   scripts/package.sh [--no-install] [BUILD_DIR]
#
# --no-install: fail on a missing package instead of installing it (the package test uses it).
set -euo pipefail
cd "$(dirname "$0")/.."
install=1
if [ "${1:-}" = --no-install ]; then
  install=0
  shift
fi
build=${1:-build-package}

if [ $install -eq 1 ]; then
  scripts/deps.sh package
fi
for tool in dpkg-buildflags:dpkg-dev dpkg-shlibdeps:dpkg-dev file:file objcopy:binutils; do
  command -v "${tool%%:*}" >/dev/null || { echo "package: ${tool%%:*} is missing (Debian package ${tool#*:})" >&2; exit 1; }
done

mkdir -p "$build"
build=$(cd "$build" && pwd)
# The same sources give the same package: every time in it is the newest changelog entry's.
changelog_date=$(sed -n 's/^ -- .*>  //p' platforms/linux/share/changelog.Debian | head -n1)
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(date -d "$changelog_date" +%s)}
export SOURCE_DATE_EPOCH

# CMake reads no CPPFLAGS, so they join the compile flags. dpkg-buildflags maps this folder to
# "." in debug information; the build folder, where the packed frames' generated source is, is mapped too.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS) -ffile-prefix-map=$build=build"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQEX_BUILD_TESTS=OFF -DQEX_WERROR=ON \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags"
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB)

# The debug information goes to a -dbgsym package, found by the program's build ID as the
# distribution's own debug packages are; its documentation folder points at the program's.
deb=$(printf '%s\n' "$build"/qex-lifts_*.deb | grep -v -- -dbgsym_)
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
build_id=$(readelf -n "$build/qex-lifts" | sed -n 's/^ *Build ID: //p')
root=$build/dbgsym
debug_file=usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug
rm -rf "$root"
mkdir -p "$root/DEBIAN" "$root/$(dirname "$debug_file")" "$root/usr/share/doc"
objcopy --only-keep-debug --compress-debug-sections "$build/qex-lifts" "$root/$debug_file"
chmod 644 "$root/$debug_file"
ln -s qex-lifts "$root/usr/share/doc/qex-lifts-dbgsym"
(cd "$root" && md5sum "$debug_file") >"$root/DEBIAN/md5sums"
cat >"$root/DEBIAN/control" <<CONTROL
Package: qex-lifts-dbgsym
Source: qex-lifts
Version: $version
Auto-Built-Package: debug-symbols
Architecture: $arch
Maintainer: $(dpkg-deb -f "$deb" Maintainer)
Installed-Size: $(du -sk --apparent-size "$root/usr" | cut -f1)
Depends: qex-lifts (= $version)
Section: debug
Priority: optional
Build-Ids: $build_id
Description: debug symbols for qex-lifts
CONTROL
find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
dpkg-deb --root-owner-group -Zxz --build "$root" "$build/qex-lifts-dbgsym_${version}_${arch}.deb"
