# start_xvfb FOLDER: a private X display for Wine; sets DISPLAY and xvfb_pid. Xvfb picks a free
# display and writes its number to fd 3, kept in FOLDER/display. Fails when it never does.
start_xvfb() {
  exec 3>"$1/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do [ -s "$1/display" ] && break; sleep 0.1; done
  if [ ! -s "$1/display" ]; then
    echo "Xvfb did not report a display within 10 s" >&2
    return 1
  fi
  export DISPLAY=":$(cat "$1/display")"
}
