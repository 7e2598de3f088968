#!/usr/bin/env bash
# The native tavo as a program: pastes on standard input, end of input ends it with status 0.
set -u
tavo=$1
source "$(dirname "$0")/assert.sh"

# Without a desktop clipboard each paste reports its clipboard failure and the loop goes on.
out=$(printf '00-1A-2B\n001122\n' | env -u DISPLAY -u WAYLAND_DISPLAY "$tavo" 2>err.txt)
check_eq "exit status at end of input" "0" "$?"
check_eq "nothing printed on the surface yet" "" "$out"
check_eq "each paste reports the missing clipboard" "2" "$(grep -c 'no desktop clipboard' err.txt)"

out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$tavo" </dev/null 2>err.txt)
check_eq "empty input ends at once" "0" "$?"
check_eq "no message without input" "" "$(cat err.txt)"
rm -f err.txt
finish
