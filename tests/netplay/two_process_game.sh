#!/usr/bin/env bash
# Two Velmora processes on one machine, each from its own copy of the program folder, under a
# private Xvfb display, driven from outside with xdotool at the controls' design positions:
# one hosts, one joins on 127.0.0.1, they chat and play a game to the end, both close, and the
# two Chat.log files must hold the same lines. Exit status 0 on success.
# Keep screens with VELM_SHOTS=<folder> to see each step.
#   tests/netplay/two_process_game.sh [program folder, default build/bin]
# Needs Xvfb, openbox, xdotool, xprop, ImageMagick, iconv and python3.
set -u
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-$here/../../build/bin}" && pwd)
work=$(mktemp -d)
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/*.out; do [ -s "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }; done
  exit 1
}
deadline=$((SECONDS + ${VELM_GAME_SECONDS:-110}))
past() { [ "$SECONDS" -ge "$deadline" ]; }
# With VELM_SHOTS set to a folder, the screen is kept there at each step.
shot() { [ -n "${VELM_SHOTS:-}" ] && import -window root "$VELM_SHOTS/$1.png"; true; }

# Xvfb picks a free display number and writes it to the file once it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"
# A window manager, so that windows are placed, raised and given the keyboard as on a desktop.
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.1; done

start() {  # folder name -> pid
  cp -r "$bin" "$work/$1"
  rm -f "$work/$1/velm.dat" "$work/$1/Chat.log"
  (cd "$work/$1" && XDG_CONFIG_HOME="$work/$1-config" QT_QPA_PLATFORM=xcb exec ./velmora >"$work/$1.out" 2>&1) &
  echo $!
}
window() {  # pid, title -> window id (waits)
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --all --onlyvisible --pid "$1" --name "^$2" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
at() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.1; }
typein() { at "$1" "$2" "$3"; xdotool key ctrl+a BackSpace; xdotool type --delay 20 "$4"; }

dialog() {  # pid, user, host? -> fills the dialog and presses OK
  local d
  d=$(window "$1" "Netへの接続") || fail "no dialog for $2"
  xdotool windowactivate --sync "$d"
  sleep 0.3
  at "$d" 29 88                    # cbOya off: the machine name box opens
  typein "$d" 160 116 127.0.0.1    # edHostName
  [ "$3" = host ] && at "$d" 29 88 # cbOya on again; the name typed is still used
  typein "$d" 160 148 "$port"      # edPortNo
  typein "$d" 160 180 "$2"         # edUserName
  at "$d" 80 268                   # btOk
}

a=$(start host); pids+=("$a")
dialog "$a" Ama host
ga=$(window "$a" "Velmora-127.0.0.1") || fail "the host's game screen did not open"
sleep 1
xdotool windowmove --sync "$ga" 0 0
menu=$(window "$a" "対戦メニュー") || fail "no match menu"
xdotool windowmove --sync "$menu" 300 560

shot 1-host
b=$(start guest); pids+=("$b")
dialog "$b" Bea guest
gb=$(window "$b" "Velmora-127.0.0.1") || fail "the guest's game screen did not open"
sleep 1
xdotool windowmove --sync "$gb" 640 0
sleep 1

# The host plays the first side itself and invites Bea (second row of the user list) to the second.
xdotool windowactivate --sync "$menu"
xdotool windowmove --sync "$menu" 300 560
sleep 0.3
at "$menu" 238 53          # cbPlay2
xdotool key End Return
sleep 0.3
at "$menu" 238 99          # lbPlayer2, second row: Bea
shot 2-menu
at "$menu" 88 240          # スタート
sleep 0.5
shot 3-started

chat() {  # game window, text
  xdotool windowactivate --sync "$1"
  typein "$1" 300 180 "$2"   # edMessage
  xdotool key Return
  sleep 0.3
}
echo "[$SECONDS s] game started"
chat "$ga" "hello from Ama"
chat "$gb" "hi Ama"
shot 4-chat

# Boxes (passes, the result) are closed with Return; both results seen ends the game.
results=0
boxes() {
  local id
  for id in $(xdotool search --onlyvisible --name "^(順番|結果)$" 2>/dev/null); do
    [ "$(xdotool getwindowname "$id")" = "結果" ] && results=$((results + 1))
    xdotool mousemove --window "$id" 10 10 click 1 key Return 2>/dev/null
    sleep 0.2
  done
}
sweep() {  # game window: every cell of its board, so the first legal one is played
  local w=$1 cmd=() x y
  for y in 0 1 2 3 4 5 6 7; do
    for x in 0 1 2 3 4 5 6 7; do
      cmd+=(mousemove --window "$w" $((14 + 28 * x + 14)) $((21 + 41 * y + 20)) click --delay 2 1)
    done
  done
  xdotool "${cmd[@]}"
}
while [ "$results" -lt 2 ] && ! past; do
  sweep "$ga"; sleep 0.15; boxes
  sweep "$gb"; sleep 0.15; boxes
done
shot 5-end
[ "$results" -ge 2 ] || fail "the game did not end in time"
echo "[$SECONDS s] game over"
# Both boards must show the same final position, pixel for pixel.
for w in "$ga" "$gb"; do import -window "$w" -crop 230x335+10+18 +repage "$work/board-$w.png"; done
[ "$(compare -metric AE "$work/board-$ga.png" "$work/board-$gb.png" null: 2>&1)" = 0 ] ||
  fail "the two final boards differ"

python3 "$here/close_window.py" "$gb"
sleep 1
python3 "$here/close_window.py" "$ga"
for _ in $(seq 50); do kill -0 "$a" 2>/dev/null || kill -0 "$b" 2>/dev/null || break; sleep 0.1; done
boxes

la="$work/host/Chat.log"; lb="$work/guest/Chat.log"
[ -f "$la" ] && [ -f "$lb" ] || fail "Chat.log missing"
iconv -f CP932 -t UTF-8 "$la" | tr -d '\r' >"$work/host.txt" || fail "the host's Chat.log is not CP932"
iconv -f CP932 -t UTF-8 "$lb" | tr -d '\r' >"$work/guest.txt" || fail "the guest's Chat.log is not CP932"
sed 's/^/host:  /' "$work/host.txt"
sed 's/^/guest: /' "$work/guest.txt"
grep -q "hello from Ama" "$work/guest.txt" && grep -q "hi Ama" "$work/host.txt" || fail "the chat lines are missing"
# The guest joined later and left first, so its log is the host's from its own join notice on,
# without the host's line for the guest's leave.
sed -n '/Beaが入室しました/,$p' "$work/host.txt" | head -n "$(wc -l <"$work/guest.txt")" >"$work/common.txt"
cmp -s "$work/common.txt" "$work/guest.txt" || fail "the two logs differ"
echo "OK: a whole game and the same chat lines on both"
