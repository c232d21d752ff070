# Sourced by the scripts that run the real program on a real X server.

# The window titles are Russian: xdotool matches them only in a UTF-8
# locale, and a bare environment (env -i, a fresh root) has none.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
  *UTF-8* | *utf8*) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac

# start_xvfb NAME WIDTHxHEIGHT FOLDER: starts Xvfb on a display it picks
# itself (it writes the number when ready), sets xvfb_pid and DISPLAY.
# No reset when the last client goes: a copy of the program connecting while
# a short-lived xdotool leaves would meet a server in the middle of a reset
# and fail to start.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$2x24" -nolisten tcp -noreset 3>"$3/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$3/display" ] && break; sleep 0.1; done
  [ -s "$3/display" ] || { echo "$1: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n 1 "$3/display")"
}
