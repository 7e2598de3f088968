#!/usr/bin/env bash
# The Linux tavo's files belong to the user: the lookup's files in the state folder, made 0700;
# the script in the runtime folder; and a symbolic link planted at any name tavo writes is never
# followed: the file it points at keeps its bytes.
set -u
tavo=$1
source "$(dirname "$0")/lib/native.sh"
exec </dev/null
write_listing "$work/leases.txt"
printf '%s\r\n' "$work/leases.txt" >"$work/index.txt"

check_eq "a lookup exits 0" "exit 0" "$(status /dhcp "$work/index.txt" lab7)"
check_eq "its log is in the state folder" "2" "$(grep -c '^Searchdate:' "$state/findout.txt")"
check_true "its work file too" '[ -f "$state/datas.txt" ]'
check_eq "nothing under TMPDIR" "" "$(ls -A "$places/tmp")"
check_eq "the state folder is the user's alone" "700" "$(stat -c %a "$state")"
check_true "the script is in the runtime folder" '[ -f "$script" ]'
check_eq "new files are the user's alone" "600 600" \
  "$(stat -c %a "$state/findout.txt") $(stat -c %a "$script")"

# A link planted at each name, pointing at a file whose bytes are known.
printf 'precious\n' >"$work/precious"
plant() { rm -f "$1"; ln -s "$work/precious" "$1"; }
unchanged() { [ "$(cat "$work/precious")" = precious ] && echo unchanged || echo changed; }

for name in datas.txt findout.txt; do
  plant "$state/$name"
  check_eq "a link at $name: the lookup fails and names the file" \
    "exit 1|tavo: cannot open $state/$name" "$(run /dhcp "$work/index.txt" lab7 | tail -2 |
      tr '\n' '|' | cut -d: -f1-2 | sed 's/|$//')"
  check_eq "a link at $name: the file it points at" "unchanged" "$(unchanged)"
  rm -f "$state/$name"
done

plant "$script"
check_eq "a link at wmac.cmd: the conversion goes on" "exit 0" "$(status /:- 00:1A)"
check_eq "a link at wmac.cmd: the file it points at" "unchanged" "$(unchanged)"
check_true "a link at wmac.cmd: a script of its own instead" \
  '[ -f "$script" ] && [ ! -L "$script" ]'

for name in registry.new registry.tmp; do plant "$registry.${name#registry.}"; done
check_eq "links beside the registry stand-in: the conversion goes on" "exit 0" "$(status /:- 00:1B)"
check_eq "links beside the registry stand-in: the file they point at" "unchanged" "$(unchanged)"
check_eq "the registry stand-in holds the value" $'HKEY_CURRENT_USER\tEnvironment\tTAVO\t00-1b' \
  "$(cat "$registry")"
check_eq "the registry stand-in is the user's alone" "600 700" \
  "$(stat -c %a "$registry") $(stat -c %a "$(dirname "$registry")")"

# No home folder: HOME unset or relative, for a user whom the password database does not know
# (a container run under a bare uid). The conversion is published where it can be, the lookup
# fails, the reason is said once, and nothing is ever written in the current folder. As root only,
# which can become such a user.
if [ "$(id -u)" = 0 ]; then
  cwd=$(mktemp -d)
  chmod 777 "$cwd"
  no_home="tavo: no home folder: HOME is unset or relative, and the password database has none \
for this user; what tavo keeps there is not kept"
  for home in "" HOME=relhome; do
    stranger() { (cd "$cwd" && env -i $home setpriv --reuid=54321 --regid=54321 --clear-groups \
      "$tavo" "$@" 2>&1; echo "exit $?"); }
    check_eq "[$home] no home: the conversion is printed, the reason said once" \
      "$no_home|00-1a|exit 0" "$(stranger /:- 00:1A | tr '\n' '|' | sed 's/|$//')"
    check_eq "[$home] no home: the lookup fails" \
      "$no_home|tavo: no home folder, and XDG_STATE_HOME is unset|exit 1" \
      "$(stranger /dhcp index.txt lab7 | tr '\n' '|' | sed 's/|$//')"
    check_eq "[$home] no home: nothing in the current folder" "" "$(ls -A "$cwd")"
  done
  rm -rf "$cwd"
fi
finish
