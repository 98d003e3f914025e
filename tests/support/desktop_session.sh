# The real program on a private desktop, for the scripts that drive it from outside with
# xdotool. Source it after setting `bin` (the program folder to copy). It gives:
#   $work                     a private folder, removed at exit together with every pid in `pids`
#   fail MESSAGE              prints the message and each program's output, exits 1
#   shot NAME                 keeps the screen as $VELM_SHOTS/NAME.png when VELM_SHOTS is set
#   waitfor TENTHS COMMAND…   retries the command every tenth of a second
#   ended PID                 true once the process has ended (for waitfor)
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
ended() { ! kill -0 "$1" 2>/dev/null; }
start_desktop() {
  # A display number of its own: Xvfb takes the number's lock before it opens a socket, so a
  # server started beside another on the same number ends at once and the next number is
  # tried. (Letting Xvfb pick a free number instead races with servers starting side by side:
  # one can take over the socket of another's display.)
  local try number server
  for try in $(seq 20); do
    number=$(( 100 + (RANDOM + $$ + try) % 900 ))
    [ -e "/tmp/.X$number-lock" ] && continue
    # -noreset: the look below is the server's first client, and a server that resets when its
    # last client goes would wipe the window manager's properties as it comes up.
    Xvfb ":$number" -screen 0 "$1x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    server=$!
    export DISPLAY=":$number"
    # Ours once it answers and the lock names it (not a server that won the number meanwhile).
    if waitfor 100 sh -c 'xprop -root -len 0 _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1' &&
      [ "$(tr -d ' \n' <"/tmp/.X$number-lock" 2>/dev/null)" = "$server" ]; then
      pids+=("$server")
      break
    fi
    kill "$server" 2>/dev/null
    server=""
  done
  [ -n "$server" ] || fail "no display could be started"
  # A window manager, so that windows are placed, raised and given the keyboard as on a desktop;
  # one that has not come up after a while (or has ended) is started again.
  local manager
  for try in 1 2 3; do
    openbox --sm-disable >>"$work/openbox.out" 2>&1 &
    manager=$!
    pids+=("$manager")
    waitfor 150 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' &&
      kill -0 "$manager" 2>/dev/null && return 0
    kill "$manager" 2>/dev/null
  done
  fail "no window manager came up"
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
