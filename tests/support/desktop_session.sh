# The real program on a private desktop, for the scripts that drive it from outside with
# xdotool. Source it after setting `bin` (the program folder to copy). It gives:
#   $work                     a private folder, removed at exit together with every pid in `pids`
#   fail MESSAGE              prints the message and each program's output, exits 1
#   shot NAME                 keeps the screen as $VELM_SHOTS/NAME.png when VELM_SHOTS is set
#   waitfor TENTHS COMMAND…   retries the command every tenth of a second
#   start_desktop WxH         a private Xvfb display that answers, with openbox on it; sets DISPLAY
#   copy_program NAME         $work/NAME: a copy of the program folder without velm.dat and Chat.log
#   run_program NAME          starts velmora in $work/NAME; its pid in `program`, its output in $work/NAME.out
#   find_window PID TITLE     the id of PID's shown window whose title starts with TITLE (waits 10 s)
#   click WINDOW X Y          a click at X, Y inside the window
work=$(mktemp -d)
pids=()
session_end() {
  # An engine runner dies with the program that started it.
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap session_end EXIT
fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/*.out; do [ -s "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }; done
  exit 1
}
shot() { [ -n "${VELM_SHOTS:-}" ] && import -window root "$VELM_SHOTS/$1.png"; true; }
waitfor() {
  local n=$1
  shift
  for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done
  return 1
}
start_desktop() {
  # Xvfb picks a free display number and writes it to the file once it is ready. Servers
  # starting side by side can race for a number; a display that does not answer is given up
  # and another one started.
  local try server
  for try in 1 2 3; do
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    server=$!
    pids+=("$server")
    waitfor 100 test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -1 "$work/display")"
    waitfor 50 sh -c 'xprop -root -len 0 _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1' && break
    kill "$server" 2>/dev/null
    [ "$try" = 3 ] && fail "no display answered"
  done
  # A window manager, so that windows are placed, raised and given the keyboard as on a desktop.
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=($!)
  waitfor 50 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'
}
copy_program() {
  cp -r "$bin" "$work/$1"
  rm -f "$work/$1/velm.dat" "$work/$1/Chat.log"
}
run_program() {
  (cd "$work/$1" && XDG_CONFIG_HOME="$work/$1-config" QT_QPA_PLATFORM=xcb exec ./velmora >"$work/$1.out" 2>&1) &
  program=$!
  pids+=("$program")
}
find_window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --all --onlyvisible --pid "$1" --name "^$2" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.1; }
