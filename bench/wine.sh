# shellcheck shell=bash disable=SC2154  # smoke, runs, probe, ink, together, builds_at, ... are run.sh's
# The Windows program under Wine, for bench/run.sh: sourced after the Linux measurements, whose
# results (together, startup, quit_ms, pace.md) its report sets beside its own.
# Under Wine on Linux, not on Windows: what it shows is that the program does not busy-wait and
# paces and quits as it should there, not what a Windows machine would measure.

wine_packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 wine imagemagick)
wine_ready=0
wine_skipped=""

# Installs (or, in a smoke run, only looks for) what the Windows build needs; sets wine_ready.
wine_prepare() {
  if [ "$smoke" -eq 1 ] || [ "${bench_no_install:-0}" -eq 1 ]; then
    local tool
    for tool in wine x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres; do
      command -v "$tool" >/dev/null || { wine_skipped="$tool is not installed"; return 0; }
    done
  else
    bench_install "${wine_packages[@]}"
  fi
  wine_ready=1
}

# Builds the program and its pace bench for Windows, boots a Wine prefix inside that build and
# measures; every Wine process of the prefix ends with it.
wine_measure() {
  [ $wine_ready -eq 1 ] || return 0
  local build="$builds_at/build-bench-windows"
  { cmake -S "$repo" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$repo/platforms/win32/toolchain-mingw64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DQEX_BUILD_TESTS=OFF -DQEX_BUILD_BENCH=ON -DQEX_WERROR=ON &&
    cmake --build "$build" -j"$(nproc)" --target qex-lifts qex-win-pace-bench; } \
    >"$bench_work/wine-build.log" 2>&1 || { cat "$bench_work/wine-build.log" >&2; return 1; }
  local exe="$build/qex-lifts.exe" i
  export WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  mkdir -p "$WINEPREFIX"
  # shellcheck disable=SC2034  # bench_cleanup ends the prefix's processes when the run is cut short
  bench_wine_prefix=$WINEPREFIX
  xvfb_start
  wine_prefix_ready
  # A persistent server, so each start below finds the prefix warm, as a second start would.
  wineserver -p
  local wineserver_pid
  wineserver_pid=$(wine_server_pid)
  wine_probe start "${ink[@]}" -- wine "$exe" >/dev/null

  echo "Pace of the Windows platform layer under Wine..." >&2
  local pace_args=()
  [ "$smoke" -eq 1 ] && pace_args=(--smoke)
  wine "$build/qex-win-pace-bench.exe" "${pace_args[@]+"${pace_args[@]}"}" 2>/dev/null | tr -d '\r' \
    >"$bench_work/wine-pace"
  echo "Start-up, quit and processor use under Wine..." >&2
  for ((i = 0; i < runs; i++)); do
    wine_probe start "${ink[@]}" -- wine "$exe" | field first_pixels_ms
  done >"$bench_work/wine-start"
  wine_quit_status=0
  for ((i = 0; i < runs; i++)); do
    "$probe" quit "${ink[@]}" --settle 1000 -- wine "$exe" 2>>"$bench_work/wine-probe.log" >>"$bench_work/wine-quit" ||
      wine_quit_status=1
  done
  # Wine's own baseline: the same two servers with the prefix idle, no program running.
  local idle_before idle_after
  idle_before=$(cpu_ticks "$xvfb_pid" "$wineserver_pid")
  sleep "$seconds"
  idle_after=$(cpu_ticks "$xvfb_pid" "$wineserver_pid")
  wine_idle=$(calc "100 * ($idle_after - $idle_before) / $(getconf CLK_TCK) / $seconds")
  wine_play=$(wine_probe play "${ink[@]}" --server "$xvfb_pid" --server "$wineserver_pid" --settle "$settle" \
    --seconds "$seconds" -- wine "$exe")
  wineserver -k || true
  # shellcheck disable=SC2034
  bench_wine_prefix=""
  xvfb_stop
}

# The probe under Wine; a failure names itself instead of ending the run silently.
wine_probe() {
  "$probe" "$@" 2>>"$bench_work/wine-probe.log" ||
    { echo "bench: under Wine: $(tail -n1 "$bench_work/wine-probe.log")" >&2; return 1; }
}

# Processor time (user + system, clock ticks) the given processes have used so far, together.
cpu_ticks() {
  local pid sum=0 fields
  for pid in "$@"; do
    fields=$(sed 's/.*) //' "/proc/$pid/stat")
    sum=$((sum + $(cut -d' ' -f12 <<<"$fields") + $(cut -d' ' -f13 <<<"$fields")))
  done
  echo "$sum"
}

# The wineserver of this prefix: the one whose environment names it.
wine_server_pid() {
  local pid
  for pid in $(pgrep -x wineserver64 || pgrep -x wineserver); do
    if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return 0
    fi
  done
  echo "bench: no wineserver for $WINEPREFIX" >&2
  return 1
}

# The report's section: the Windows program beside the Linux build of the same run.
wine_report() {
  echo
  echo "## Windows program under Wine (not a Windows measurement)"
  echo
  if [ $wine_ready -ne 1 ]; then
    echo "Not measured: $wine_skipped (a full \`bench/run.sh\` installs it)."
    return 0
  fi
  echo "\`qex-lifts.exe\` cross-compiled with MinGW-w64, run by Wine $(wine --version 2>/dev/null) on one Xvfb with"
  echo "a warm prefix (a persistent wineserver); the Linux column is the X11 build measured above."
  echo
  local wine_start wine_quit_ms wall prog server wine_cpu linux_pace wine_pace
  wine_start=$(median <"$bench_work/wine-start")
  wine_quit_ms=$(field quit_ms <"$bench_work/wine-quit" | median)
  wall=$(field wall_s <<<"$wine_play"); prog=$(field program_cpu_s <<<"$wine_play")
  server=$(field server_cpu_s <<<"$wine_play")
  wine_cpu=$(calc "100 * ($prog + $server) / $wall")
  # The worst median error of the waits of 10 ms or more: the pace bench's Delay rows, the spans here.
  linux_pace=$(awk -F'|' '$2 ~ /Delay/ && $5 + 0 >= 10 { e = $7 + 0; if (e < 0) e = -e; if (e > m) m = e } END { printf "%.3f\n", m }' "$bench_work/pace.md")
  wine_pace=$(awk '$1 == "pace" && $2 >= 10 { if ($3 > m) m = $3 } END { printf "%.3f\n", m }' "$bench_work/wine-pace")
  echo "| what | Linux build | Windows program under Wine | target (Wine) | result |"
  echo "| --- | ---: | ---: | --- | --- |"
  echo "| processor at the start-up pace, % of a core (program + X server; under Wine + wineserver) | ${together[qex-lifts-slow]} | $wine_cpu | <= 0.5 | $(verdict "$wine_cpu <= 0.5") |"
  echo "| worst median pace error of waits >= 10 ms, ms | $linux_pace | $wine_pace | <= 0.5 | $(verdict "$wine_pace <= 0.5") |"
  echo "| Escape to process gone, median of $runs, ms | $quit_ms | $wine_quit_ms | <= 100, status 0 | $(verdict "$wine_quit_ms <= 100 && $wine_quit_status == 0") |"
  echo "| start to first frame on screen, median of $runs, ms | ${startup[qex-lifts]} | $wine_start | reported | - |"
  echo "| Wine's idle baseline: wineserver + X server, prefix without the program, % of a core | - | $wine_idle | reported | - |"
  echo
  echo "Under Wine: program $(calc "$prog / $wall") s/s and wineserver + X server $(calc "$server / $wall") s/s of processor over ${seconds} s"
  echo "after ${settle} ms (by schedstat, together: $(calc "100 * ($(field program_run_s <<<"$wine_play") + $(field server_run_s <<<"$wine_play")) / $wall") %);"
  echo "peak resident memory $(calc "$(field peak_rss_kib <<<"$wine_play") / 1024") MiB. The idle baseline is the same two servers"
  echo "over ${seconds} s just before, with nothing of ours running: what Wine itself costs."
  echo "The Windows platform's wait, back to back with a pump after each, as the loop makes them:"
  echo
  echo "| span ms | median error ms | p99 error ms | waits |"
  echo "| ---: | ---: | ---: | ---: |"
  awk '$1 == "pace" { printf "| %s | %s | %s | %s |\n", $2, $3, $4, $5 }' "$bench_work/wine-pace"
}
