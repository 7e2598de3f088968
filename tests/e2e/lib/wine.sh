# Wine test environment: a private X display, a fresh Wine prefix and helpers to drive tavo.exe.
# Sourced by the Wine tests with $tavo and $probe set; `work` is the scratch folder.

source "$(dirname "${BASH_SOURCE[0]}")/assert.sh"

# TAVO_WINE_ARCH is win64 for the 64-bit build of the same sources. A 32-bit exe needs a kernel
# that runs 32-bit programs and wine32; without them, these suites cannot start it at all.
wine_arch=${TAVO_WINE_ARCH:-win32}
if [ "$wine_arch" = win32 ]; then
  root=$(dirname "${BASH_SOURCE[0]}")/../../..
  source "$root/scripts/runs_32bit.sh"
  if ! runs_32bit; then
    why="this kernel cannot run 32-bit programs, so Wine cannot start $(basename "$tavo")"
  elif ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
    why=$(cat "$root/build/wine32-unavailable.txt" 2>/dev/null ||
      echo "wine32:i386 is not installed (scripts/setup.sh installs it)")
  fi
  if [ -n "${why:-}" ]; then
    echo "skipped: $why"
    echo "the wine64 preset runs these suites on a 64-bit build of the same sources"
    exit 77
  fi
fi

work=$(mktemp -d "$(dirname "$tavo")/wine-test.XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$wine_arch" = win64 ]; then
  # Debian's wine command prefers wine32 whenever it is installed; wineboot goes through it too.
  mkdir -p "$work/bin"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$work/bin/$name"
    chmod +x "$work/bin/$name"
  done
  export PATH="$work/bin:$PATH" WINELOADER=/usr/lib/wine/wine64
fi

cleanup() {
  [ -n "${tavo_pid:-}" ] && kill "$tavo_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
start_xvfb "$work" || give_up "no X display for Wine"

# Wine's daemons inherit the standard handles of whoever starts them, so they are started here
# with theirs closed; every wine command below writes to files, never to a pipe.
wineboot -i >"$work/wineboot.log" 2>&1 </dev/null
wineserver -p >/dev/null 2>&1 </dev/null

# on_9x: true when the suite runs the exe as Windows 95, 98 and ME show it (TAVO_W9X=1): with
# their stubbed W functions failing, and Wine reporting Windows 98 to it.
on_9x() { [ "${TAVO_W9X:-}" = 1 ]; }

# probe ARGS...: runs tavo_probe.exe, prints what it printed, returns its exit status.
# Each call has its own output file, so calls in the background do not mix.
probe() {
  local out
  out=$(mktemp "$work/probe.XXXXXX")
  wine "$probe" "$@" >"$out" 2>"$out.err" </dev/null
  local rc=$?
  cat "$out"
  rm -f "$out" "$out.err"
  return $rc
}

# probe_background NAME ARGS...: the probe in the background, its output going to $work/NAME.out
# as it is printed (probe keeps it until the end); its process id is left in $background.
probe_background() {
  local name=$1
  shift
  wine "$probe" "$@" >"$work/$name.out" 2>&1 </dev/null &
  background=$!
}

# start_tavo [ARGS...]: starts tavo.exe in the background and waits for its window; a window
# that never shows ends the suite, with tavo.exe's status and output. Its exit status goes to a
# file, so that wait_tavo_end works in a command substitution too.
start_tavo() {
  rm -f "$work/tavo.status"
  (
    wine "$tavo" "$@" >"$work/tavo.out" 2>&1 </dev/null
    echo $? >"$work/tavo.status"
  ) &
  tavo_pid=$!
  probe wait >/dev/null || give_up "tavo.exe's window did not appear within 60 s; its status: \
$(cat "$work/tavo.status" 2>/dev/null || echo running); its output: $(head -c 2000 "$work/tavo.out")"
}

# wait_tavo_end: waits up to 15 s for tavo.exe to end; prints its exit status or "running".
wait_tavo_end() {
  for _ in $(seq 150); do
    [ -s "$work/tavo.status" ] && cat "$work/tavo.status" && return
    sleep 0.1
  done
  echo running
}

# close_tavo NAME [VERB]: the Close button (or the probe's VERB, such as "close" for the close
# box), and tavo.exe ends with status 0; one still running would take the next suite step's
# messages, so that ends the suite.
close_tavo() {
  probe "${2:-click}" >/dev/null
  local status
  status=$(wait_tavo_end)
  [ "$status" = running ] && give_up "$1: tavo.exe still runs 15 s after Close"
  check_eq "$1: Close ends tavo.exe with status 0" "0" "$status"
}

# hold_clipboard [tavo]: the probe holds the clipboard until C:\release.txt exists; with "tavo",
# for tavo's Text1, as an edit box holds it while it pastes, so that tavo defers its handler.
hold_clipboard() {
  rm -f "$c_drive/release.txt"
  clipboard_before=$(settled_clipboard)
  probe_background hold hold-clipboard 'C:\release.txt' "$@"
  holder=$background
  await "the clipboard to be held" grep -q '^held' "$work/hold.out"
  check_eq "held clipboard: no other program can open it" "1" \
    "$(probe clipboard >/dev/null 2>&1; echo $?)"
}
release_clipboard() {  # NAME: lets go, and the probe held the clipboard to the end
  touch "$c_drive/release.txt"
  wait "$holder"
  check_eq "$1: the clipboard was held until released" "released" "$(tail -1 "$work/hold.out")"
  check_eq "$1: the clipboard keeps what it had" "$clipboard_before" "$(settled_clipboard)"
}
# settled_clipboard: the clipboard's text, byte for byte, asked again for up to 5 s while another
# program (tavo, or Wine's bridge to the X selection) has it open for a moment; nothing when it has
# held no text for all that time.
settled_clipboard() {
  local out=$work/clipboard.txt rc
  for _ in $(seq 50); do
    probe clipboard >"$out" 2>/dev/null
    rc=$?
    [ $rc -eq 0 ] && break
    sleep 0.1
  done
  case $rc in
    0) cat "$out" ;;
    3) ;;
    *) give_up "the clipboard stayed busy for 5 s" ;;
  esac
}
# x_clipboard: the X CLIPBOARD selection, which Wine bridges to its clipboard.
x_clipboard() {
  timeout 5 xclip -o -selection clipboard 2>/dev/null
}

c_drive=$WINEPREFIX/drive_c
if on_9x; then
  wine reg add 'HKCU\Software\Wine\AppDefaults\tavo.exe' /v Version /d win98 /f \
    >/dev/null 2>&1 </dev/null
fi

# wine_cmd ARGS...: runs a Wine program (cmd, reg, ...) with its output in a file; prints it.
wine_cmd() {
  local out
  out=$(mktemp "$work/cmd.XXXXXX")
  wine "$@" >"$out" 2>"$out.err" </dev/null
  local rc=$?
  tr -d '\r' <"$out"
  rm -f "$out" "$out.err"
  return $rc
}

# set_wine_temp PATH: the TEMP and TMP that Wine programs started from now on see.
set_wine_temp() {
  wine_cmd reg add 'HKCU\Environment' /v TEMP /d "$1" /f >/dev/null
  wine_cmd reg add 'HKCU\Environment' /v TMP /d "$1" /f >/dev/null
}

# user_env NAME: the REG_SZ value NAME under HKCU\Environment, or "(none)".
user_env() {
  local line
  line=$(wine_cmd reg query 'HKCU\Environment' /v "$1" | grep -E "^ +$1 +REG_SZ")
  if [ -z "$line" ]; then echo "(none)"; else printf '%s' "${line#*REG_SZ    }"; fi
}

# published_tavo: the TAVO that later sessions will see: the user's registry value on the NT
# family, the last SET line of c:\autoexec.bat (with %% read as %) on 9x; "(none)" if none.
published_tavo() {
  if ! on_9x; then
    user_env TAVO
    return
  fi
  local line
  line=$(tr -d '\r' <"$c_drive/autoexec.bat" 2>/dev/null | grep -a '^SET TAVO=' | tail -1)
  if [ -z "$line" ]; then echo "(none)"; else printf '%s' "${line#SET TAVO=}" | sed 's/%%/%/g'; fi
}

# install_for_lookup [FOLDER...]: tavo.exe as C:\tavo.exe, with C:\temp, C:\leases and FOLDERs.
# The DLLs of a strict copy go beside it.
install_for_lookup() {
  cp "$tavo" "$c_drive/tavo.exe"
  if on_9x || [ "${TAVO_STRICT:-}" = 1 ]; then cp "$(dirname "$tavo")"/*.dll "$c_drive/"; fi
  mkdir -p "$c_drive/temp" "$c_drive/leases" "$@"
}
