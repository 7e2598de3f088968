# The Linux tavo's test environment: every place tavo may write is a fresh folder of its own under
# $places, and run() starts tavo there. Sourced by the native suites with $tavo set.
source "$(dirname "${BASH_SOURCE[0]}")/assert.sh"
source "$(dirname "${BASH_SOURCE[0]}")/cases.sh"

tavo=$(realpath "$tavo")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
places=$work/places
mkdir -p "$places"/{home,config,state,runtime,tmp,cwd}
state=$places/state/tavo  # "c:\temp"
script=$places/runtime/wmac.cmd
registry=$places/config/tavo/registry
# No desktop session, so no clipboard tool; "temp" unset, so the script goes to the runtime folder.
tavo_env=(env -u DISPLAY -u WAYLAND_DISPLAY -u temp -u TEMP HOME="$places/home"
  XDG_CONFIG_HOME="$places/config" XDG_STATE_HOME="$places/state"
  XDG_RUNTIME_DIR="$places/runtime" TMPDIR="$places/tmp")
# ThreadSanitizer's runtime keeps a file of its own in TMPDIR for a moment; it is not tavo's.
if ldd "$tavo" 2>/dev/null | grep -q libtsan; then
  mkdir -p "$work/sanitizer"
  tavo_env+=(TMPDIR="$work/sanitizer")
fi
runner=()  # what tavo runs under, such as a tracer

# run ARGS...: tavo in the empty $places/cwd, its input this one's; prints its standard output,
# "exit N" and its standard error, each also kept in $work/out.txt and $work/err.txt.
run() {
  (cd "$places/cwd" && "${tavo_env[@]}" "${runner[@]}" "$tavo" "$@") \
    >"$work/out.txt" 2>"$work/err.txt"
  local rc=$?
  cat "$work/out.txt"
  echo "exit $rc"
  cat "$work/err.txt"
  return $rc
}
# status ARGS...: as run, printing only "exit N".
status() {
  run "$@" >/dev/null
  echo "exit $?"
}
# tavo_value: TAVO as the registry stand-in holds it.
tavo_value() { sed -n 's/^HKEY_CURRENT_USER\tEnvironment\tTAVO\t//p' "$registry"; }
