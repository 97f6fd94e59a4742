#!/usr/bin/env bash
# What only the Windows program needs checking: its imports, its resources, its window's styles
# as Wine hands them to the X server, and its installer under Wine.
# usage: windows_checks.sh imports|resources|window|dpi|installer <cross build folder>
# Wine's variables (WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES) come from the caller: CTest sets them.
set -euo pipefail
check=$1
build=$2
exe=$build/qex-lifts.exe
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A private X server, of the given size or 1024x768; its display goes to DISPLAY.
start_x() {
  Xvfb -displayfd 3 -noreset -screen 0 "${1:-1024x768}x24" 3>"$work/display" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -1 "$work/display")"
}

# Starts the given exe under Wine and waits for its window; sets program and window.
start_program() {
  wine "$1" 2>"$work/stderr" &
  program=$!
  pids+=("$program")
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name QEX 2>/dev/null | head -1 || true)
    [ -n "$window" ] && return 0
    sleep 0.1
  done
  fail "the window did not appear; stderr: $(cat "$work/stderr")"
}

# Escape ends the program with status 0.
end_program() {
  xdotool windowfocus --sync "$window"
  xdotool key Escape
  local status=0
  wait "$program" || status=$?
  [ "$status" -eq 0 ] || fail "Escape ended the program with status $status"
}

case $check in
imports)
  # Everything but the system's own DLLs is linked in: nothing else to ship beside the exe.
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  [ -n "$dlls" ] || fail "no imports found"
  for dll in $dlls; do
    case $dll in
      kernel32.dll|user32.dll|gdi32.dll|msvcrt.dll|winmm.dll|advapi32.dll|ntdll.dll) ;;
      *) fail "imports $dll, which Windows does not have" ;;
    esac
  done
  ;;
resources)
  x86_64-w64-mingw32-windres -i "$exe" -O rc -o "$work/resources.rc"
  rc=$work/resources.rc
  grep -q 'Has 6 elements' "$rc" || fail "the icon group does not hold six sizes"
  for size in '\\020\\020' '\\040\\040' '\\060\\060' '\\100\\100' '\\200\\200' '\\000\\000'; do
    grep -q "^ *\"$size\\\\000\\\\000\", 1, 32," "$rc" || fail "no 32-bit icon entry $size"
  done
  grep -Eq 'VALUE "FileVersion", "[0-9]+\.[0-9]+\.[0-9]+"' "$rc" || fail "no file version"
  grep -q 'VALUE "ProductName", "qex-lifts"' "$rc" || fail "no product name"
  grep -q 'VALUE "OriginalFilename", "qex-lifts.exe"' "$rc" || fail "no original file name"
  grep -q 'PerMonitorV2' "$rc" || fail "the manifest does not ask for per-monitor DPI awareness"
  version=$(sed -n 's/^project(qex-lifts VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
  grep -q "assemblyIdentity.*version=\"\"$version.0\"\"" "$rc" || fail "the manifest's version is not $version.0"
  # The installer's own version resource, which its Properties dialog shows.
  x86_64-w64-mingw32-windres -i "$(ls "$build"/qex-lifts-*-win64.exe)" -O rc -o "$work/installer.rc"
  grep -q "VALUE \"ProductVersion\", \"$version\"" "$work/installer.rc" || fail "the installer has no version resource"
  [ "$(grep -c '^[0-9]* RCDATA' "$rc")" -eq 54 ] || fail "not 54 frame resources"
  ;;
window)
  start_x
  start_program "$exe"
  props=$(xprop -id "$window")
  # Motif hints as Wine derives them from the window styles: functions, then decorations.
  hints=$(sed -n 's/^_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = //p' <<<"$props")
  IFS=', ' read -r flags functions decorations _ <<<"$hints"
  (( flags & 1 )) || fail "no function hints: $hints"
  (( (functions & (2 | 8 | 16)) == 0 )) || fail "resizable, minimizable or maximizable: $hints"
  (( functions & 32 )) || fail "no close function: $hints"
  (( (decorations & (4 | 32 | 64)) == 0 )) || fail "a sizing border or minimize/maximize box: $hints"
  (( decorations & 8 )) || fail "no title bar: $hints"
  grep -q 'minimum size: 349 by 407' <<<"$props" || fail "minimum size is not 349 x 407"
  grep -q 'maximum size: 349 by 407' <<<"$props" || fail "maximum size is not 349 x 407"
  # Owned by a hidden window: no task-bar button, yet a normal window.
  grep -q '_NET_WM_STATE_SKIP_TASKBAR' <<<"$props" || fail "the window has a task-bar button"
  grep -q '^WM_TRANSIENT_FOR' <<<"$props" || fail "the window has no owner"
  grep -q '^_NET_WM_ICON' <<<"$props" || fail "the window has no icon"
  end_program
  ;;
dpi)
  # At 200 % every bitmap pixel is an exact 2 x 2 block: the frame on screen is the bitmap
  # doubled, below the client edge, which stays 2 device pixels.
  start_x 1024x1024
  # Wine's own services, started here, keep what they inherit open: no output of the test.
  desktop='HKCU\Control Panel\Desktop'
  wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 192 /f </dev/null >/dev/null 2>&1
  trap 'wine reg delete "$desktop" /v LogPixels /f </dev/null >/dev/null 2>&1; cleanup' EXIT
  start_program "$exe"
  sleep 0.5
  # Wine keeps the screen size of the first display its server met, and may cut the window to
  # it: then the rows above its bottom edge are compared.
  read -r width height < <(xwininfo -id "$window" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')
  [ "$width" = 694 ] || fail "the window is $width pixels wide at 200 %, not 694"
  rows=$(( height >= 812 ? 810 : height - 6 ))
  size=690x$rows
  import -window "$window" -crop "$size+2+2" +repage "$work/shown.png"
  bitmaps=$(dirname "$0")/../../frames/bitmaps
  for holder in 02 03; do
    convert "$bitmaps/image$holder.bmp" -filter point -resize 200% -crop "$size+0+0" +repage "$work/doubled.png"
    differing=$(compare -metric AE "$work/shown.png" "$work/doubled.png" null: 2>&1 || true)
    [ "$differing" = 0 ] && break
  done
  [ "$differing" = 0 ] || fail "the frame at 200 % is not the bitmap doubled: $differing pixels differ"
  end_program
  ;;
installer)
  installer=$(ls "$build"/qex-lifts-*-win64.exe | head -1)
  start_x
  target='C:\qex-lifts-check'
  rm -rf "$(winepath -u "$target")"
  # /D must come last and unquoted.
  wine "$installer" /S "/D=$target"
  dir=$(winepath -u "$target")
  for file in qex-lifts.exe README.txt LICENSE.txt Uninstall.exe; do
    [ -f "$dir/$file" ] || fail "the installer left no $file"
  done
  sed 's/$/\r/' "$(dirname "$0")/../../LICENSE" | cmp -s - "$dir/LICENSE.txt" ||
    fail "the installed LICENSE.txt is not the licence with CRLF line ends"
  # Settings > Apps reads the size and the absent modify and repair buttons as DWORDs.
  entry=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\qex-lifts' </dev/null)
  for value in EstimatedSize NoModify NoRepair; do
    grep -Eq "^ *$value +REG_DWORD +0x[1-9a-f]" <<<"$entry" || fail "no DWORD $value in the uninstall entry: $entry"
  done
  # Both packages hold the same stripped copy of the program built.
  zip=${installer%.exe}.zip
  /usr/bin/python3 -c 'import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    sys.stdout.buffer.write(z.read(next(n for n in z.namelist() if n.endswith("/qex-lifts.exe"))))' \
    "$zip" >"$work/zipped.exe"
  cmp -s "$work/zipped.exe" "$dir/qex-lifts.exe" || fail "the installed program is not the one packaged"
  [ -n "$(find "$WINEPREFIX/drive_c" -name 'qex-lifts.lnk' -path '*Start Menu*')" ] ||
    fail "no Start-menu entry"
  start_program "$dir/qex-lifts.exe"
  end_program
  # The uninstaller copies itself away and carries on in the background.
  wine "$dir/Uninstall.exe" /S
  # The Start-menu entry goes last: once it and the folder have gone, the uninstaller is done.
  start_menu_entry() { find "$WINEPREFIX/drive_c" -name 'qex-lifts.lnk' -path '*Start Menu*'; }
  for _ in $(seq 300); do [ -e "$dir" ] || [ -n "$(start_menu_entry)" ] || break; sleep 0.1; done
  [ ! -e "$dir/qex-lifts.exe" ] || fail "the uninstaller left the program"
  [ ! -e "$dir" ] || fail "the uninstaller left the install folder: $(ls -A "$dir")"
  [ -z "$(start_menu_entry)" ] || fail "the uninstaller left the Start-menu entry"
  for key in 'Software\The qex-lifts developers' 'Software\Microsoft\Windows\CurrentVersion\Uninstall\qex-lifts'; do
    ! wine reg query "HKLM\\$key" </dev/null >/dev/null 2>&1 || fail "the uninstaller left HKLM\\$key"
  done
  ;;
*)
  fail "unknown check $check"
  ;;
esac
