# Sourced by the desktop tests. need TOOL PACKAGE: a test installs nothing, so a missing tool
# fails it with a line naming the Debian package to install.
need() {
  command -v "$1" >/dev/null 2>&1 || {
    echo "$1 is missing: install the Debian package $2 (scripts/deps.sh test installs every test's tools)"
    exit 1
  }
}
