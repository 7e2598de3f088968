# Assertions for the shell-driven tests; `finish` prints the tally and sets the exit status.
passed=0
failed=0

check_eq() {  # NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL: %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
  fi
}

check_true() {  # NAME CONDITION [SEEN]: the shell CONDITION, run here, succeeds; SEEN, given
  # when it was read, tells what there was instead
  if eval "$2"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL: %s\n  not true: %s\n' "$1" "$2"
    if [ -n "${3:-}" ]; then printf '  seen: %s\n' "$3"; fi
  fi
}

finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

eventually_eq() {  # NAME EXPECTED COMMAND...: COMMAND's output, asked again for up to 5 s
  local actual
  for _ in $(seq 50); do
    actual=$("${@:3}")
    [ "$actual" == "$2" ] && break
    sleep 0.1
  done
  check_eq "$1" "$2" "$actual"
}

give_up() {  # MESSAGE: a failure that leaves the rest of the suite nothing to stand on
  failed=$((failed + 1))
  echo "FAIL: $1"
  finish
  exit 1
}

await() {  # WHAT COMMAND...: COMMAND asked again every 0.1 s until it succeeds, for up to 30 s
  local what=$1
  shift
  for _ in $(seq 300); do
    "$@" && return 0
    sleep 0.1
  done
  give_up "timed out after 30 s waiting for $what"
}
