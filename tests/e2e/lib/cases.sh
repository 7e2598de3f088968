# What the command-line tests of both builds share: the switch cases, a lease listing as the
# DHCP server prints it, and the log that a lookup over it writes.

# switch_cases: one line per conversion switch: SWITCH ADDRESS RESULT.
switch_cases() {
  cat <<'CASES'
/:. 00:1A:2B:3C:4D:5E 00.1a.2b.3c.4d.5e
/.: 00.1A.2B.3C.4D.5E 00:1a:2b:3c:4d:5e
/:- 00:1A:2B:3C:4D:5E 00-1a-2b-3c-4d-5e
/-: 00-1A-2B-3C-4D-5E 00:1a:2b:3c:4d:5e
/-. 00-1A-2B-3C-4D-5E 00.1a.2b.3c.4d.5e
/.- 00.1A.2B.3C.4D.5E 00-1a-2b-3c-4d-5e
CASES
}

# write_listing FILE: banner, header and rules, aligned columns, a dash without its blank,
# leases that never expire or are inactive, a summary line; every line ends with CR LF.
write_listing() {
  printf '%s\r\n' \
    '' \
    'Changed the current scope context to 192.168.5.0 scope.' \
    '' \
    'Enumerating clients of scope 192.168.5.0 (lab7 wing):' \
    'IP Address      - Subnet Mask    - Unique ID           - Lease Expires          -Type -Name' \
    '=========================================================================================' \
    '192.168.5.20     - 255.255.255.0  - 3c-52-82-0f-1e-77   -12/1/2026 8:15:02 AM   -D-  ws-lab7.corp.example' \
    '192.168.5.21     - 255.255.255.0  - 00-1a-2b-3c-4d-5e   - NEVER EXPIRES          -D- printer2' \
    '192.168.5.27     - 255.255.255.0  - 64-51-06-a1-66-b5   - INACTIVE               -D- lab7-cam.corp.example' \
    '' \
    'No of Clients(version 4): 3 in the Scope : 192.168.5.0.' \
    'Command completed successfully.' >"$1"
}

# The log of one pass over that listing for the term "lab7", the date line shown as DATE.
one_pass_log() {
  printf '%s\r\n' \
    'Searchdate:   DATE' \
    '               ws-lab7' \
    $'              \t             Macaddress:   3c-52-82-0f-1e-77' \
    $'              \t             IPaddress:    192.168.5.20' \
    $'              \t             Mask:         255.255.255.0' \
    $'              \t             Lease:        12/1/2026 8:15:02 AM' \
    'Searchdate:   DATE' \
    '              lab7-cam' \
    $'              \t             Macaddress:   64-51-06-a1-66-b5' \
    $'              \t             IPaddress:    192.168.5.27' \
    $'              \t             Mask:         255.255.255.0' \
    $'              \t             Lease:        INACTIVE'
}

# The clipboard after that pass: the second match's summary, no line end after the last line.
last_summary() {
  printf 'Hostnamelab7-cam\r\nMacaddress:64-51-06-a1-66-b5\r\nIPaddress:192.168.5.27\r\nMask:255.255.255.0\r\nLease:INACTIVE'
}

# dated_log FILE: the log with each date line's date and time replaced by DATE, as od -c shows
# it. Only a date of month, day and four-digit year, then a time of hours, minutes and seconds
# (with AM or PM where the locale writes them) are replaced: a date line without either, or with
# a two-digit year, stays as it is.
dated_log() {
  sed -E 's#^Searchdate:   [0-9]{1,2}/[0-9]{1,2}/[0-9]{4} [0-9]{1,2}:[0-9]{2}:[0-9]{2}( [AP]M)?\r$#Searchdate:   DATE\r#' \
    "$1" | od -c
}
