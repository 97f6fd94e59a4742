# shellcheck shell=bash
# Helpers for bench/run.sh: packages, private X servers and small statistics.
# Sourced, not run; the caller has set -euo pipefail and a trap that calls bench_cleanup.

bench_pids=()
bench_work=$(mktemp -d "${TMPDIR:-/tmp}/qex-bench.XXXXXX")

# Ends every process the bench started, newest first, and removes its scratch files.
bench_cleanup() {
  local i
  # Wine's server and its processes are not children of the bench; a run cut short ends them too.
  if [ -n "${bench_wine_prefix:-}" ]; then
    WINEPREFIX=$bench_wine_prefix wineserver -k 2>/dev/null || true
  fi
  for ((i = ${#bench_pids[@]} - 1; i >= 0; i--)); do
    kill "${bench_pids[i]}" 2>/dev/null || true
    wait "${bench_pids[i]}" 2>/dev/null || true
  done
  bench_pids=()
  rm -rf "$bench_work"
}

# Installs the Debian packages the bench needs, only those that are missing; with
# bench_no_install=1 (a test installs nothing) a missing one fails the run, named.
bench_install() {
  local package missing=()
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "${bench_no_install:-0}" -eq 1 ]; then
    echo "bench: missing Debian packages: ${missing[*]} (scripts/deps.sh test installs them)" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}" >&2
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q >&2
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
}

# Starts a private Xvfb; sets xvfb_pid and DISPLAY. Each measured viewer gets its own.
xvfb_start() {
  local number_file="$bench_work/display.$RANDOM$RANDOM"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$number_file" 2>/dev/null &
  xvfb_pid=$!
  bench_pids+=("$xvfb_pid")
  local tries
  for ((tries = 0; tries < 200; tries++)); do
    [ -s "$number_file" ] && break
    sleep 0.05
  done
  [ -s "$number_file" ] || { echo "bench: Xvfb did not start" >&2; return 1; }
  DISPLAY=":$(head -n1 "$number_file")"
  export DISPLAY
}

xvfb_stop() {
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  local kept=() pid
  for pid in "${bench_pids[@]}"; do
    [ "$pid" != "$xvfb_pid" ] && kept+=("$pid")
  done
  bench_pids=("${kept[@]+"${kept[@]}"}")
}

# Median of the numbers on standard input.
median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The value after a name in a probe's "name value ..." line.
field() {
  awk -v name="$1" '{ for (i = 1; i < NF; i++) if ($i == name) print $(i + 1) }'
}

# Floating-point arithmetic and comparisons without bc: calc "expression".
calc() {
  awk "BEGIN { x = $1; if (x == int(x) && x < 1e15) printf \"%d\n\", x; else printf \"%.4g\n\", x }"
}
is_true() {
  awk "BEGIN { exit !($1) }"
}

# A few lines about the machine, so results can be compared across runs.
machine_description() {
  local cpu cores memory
  cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
  cores=$(nproc)
  memory=$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
  echo "- CPU: ${cpu:-unknown}, ${cores} logical cores available"
  echo "- Memory: ${memory}"
  echo "- Kernel: $(uname -sr)"
  # Other work on the machine shows in every timing: a load above the core count spoils the pace rows.
  echo "- Load average (1, 5, 15 min) at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "- X server: Xvfb $(dpkg-query -W -f='${Version}' xvfb), 1024x768x24, no window manager; libxcb $(dpkg-query -W -f='${Version}' libxcb1)"
  echo "- Comparison viewers: ImageMagick animate $(dpkg-query -W -f='${Version}' imagemagick-6.q16 2>/dev/null || echo '?'), gifsicle gifview $(dpkg-query -W -f='${Version}' gifsicle)"
}
