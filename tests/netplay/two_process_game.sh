#!/usr/bin/env bash
# Two Velmora processes on one machine, each from its own copy of the program folder, under a
# private Xvfb display, driven from outside with xdotool at the controls' design positions (the
# game screen's below its menu bar) and on the board with the keyboard: one hosts, one joins on
# 127.0.0.1, they chat and play a game to the end, both close, and the two Chat.log files must
# hold the same lines. Exit status 0 on success.
# Keep screens with VELM_SHOTS=<folder> to see each step.
#   tests/netplay/two_process_game.sh [program folder, default build/bin]
# Needs Xvfb, openbox, xdotool, xprop, ImageMagick, iconv and python3.
set -u
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-$here/../../build/bin}" && pwd)
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
source "$here/../support/desktop_session.sh"
deadline=$((SECONDS + ${VELM_GAME_SECONDS:-110}))
past() { [ "$SECONDS" -ge "$deadline" ]; }
start_desktop 1280x1024

typein() { click "$1" "$2" "$3"; xdotool key ctrl+a BackSpace; xdotool type --delay 20 "$4"; }

dialog() {  # pid, user, host? -> fills the dialog and presses OK
  local d
  d=$(find_window "$1" "Netへの接続") || fail "no dialog for $2"
  xdotool windowactivate --sync "$d"
  sleep 0.3
  click "$d" 60 35                      # rgNet: 接続する (a first start offers 接続しない)
  click "$d" 29 88                      # cbOya off: the machine name box opens
  typein "$d" 160 116 127.0.0.1         # edHostName
  [ "$3" = host ] && click "$d" 29 88   # cbOya on again; the name typed is still used
  typein "$d" 160 148 "$port"           # edPortNo
  typein "$d" 160 180 "$2"              # edUserName
  click "$d" 80 268                     # btOk
}

# The home router is never asked from a test: nothing may go beyond this machine.
for who in host guest; do
  mkdir -p "$work/$who-config/velmora"
  printf '[network]\nopenRouterPort=false\n' >"$work/$who-config/velmora/velmora.conf"
done

enter() {  # name, user, host|guest, caption, left edge -> its pid in `program`, its game screen in `screen`
  copy_program "$1"
  run_program "$1"
  dialog "$program" "$2" "$3"
  screen=$(find_window "$program" "$4") || fail "the $1's game screen did not open"
  sleep 1
  xdotool windowmove --sync "$screen" "$5" 0
}
# The host's caption names the first address others can join at, whatever this machine's is.
enter host Ama host "Velmora-" 0
a=$program ga=$screen
menu=$(find_window "$a" "対戦メニュー") || fail "no match menu"
xdotool windowmove --sync "$menu" 300 560

shot 1-host
enter guest Bea guest "Velmora-127.0.0.1" 640
b=$program gb=$screen
sleep 1

# The host plays the first side itself and invites Bea (second row of the user list) to the second.
xdotool windowactivate --sync "$menu"
xdotool windowmove --sync "$menu" 300 560
sleep 0.3
click "$menu" 238 53          # cbPlay2
xdotool key End Return
sleep 0.3
click "$menu" 238 99          # lbPlayer2, second row: Bea
shot 2-menu
click "$menu" 88 240          # スタート
sleep 0.5
shot 3-started

menu_bar=23  # the game screen's menu bar, above the design's panels
chat() {  # game window, text
  xdotool windowactivate --sync "$1"
  typein "$1" 300 $((180 + menu_bar)) "$2"   # edMessage
  xdotool key Return
  sleep 0.3
}
echo "[$SECONDS s] game started"
chat "$ga" "hello from Ama"
chat "$gb" "hi Ama"
shot 4-chat

# Boxes (passes, the result) are closed with Return. A box can also come up during a sweep and
# take one of its Returns, so the game's end is told by what lasts: each side keeps the finished
# game in its log.
boxes() {
  local id
  for id in $(xdotool search --onlyvisible --name "^(順番|結果)$" 2>/dev/null); do
    xdotool mousemove --window "$id" 10 10 click 1 key Return 2>/dev/null
    sleep 0.2
  done
}
no_boxes() { boxes; [ -z "$(xdotool search --onlyvisible --name "^(順番|結果)$" 2>/dev/null)" ]; }
kept() { compgen -G "$work/$1/games/*.ggf" >/dev/null; }
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
declare -A focused
sweep() {  # game window: every cell of its board with the keyboard, so the first legal one is played
  local w=$1 keys=() r
  # A box that came up after the last look keeps the window from being activated (the window
  # manager activates the box instead); the next look at the boxes closes it.
  xdotool windowactivate "$w" 2>/dev/null
  waitfor 20 active "$w" || return 0
  if [ -z "${focused[$w]:-}" ]; then
    click "$w" 125 $((174 + menu_bar))  # the board's middle: a starting stone, never a move, gives it the keys
    focused[$w]=1
  fi
  for _ in 1 2 3 4 5 6 7; do keys+=(Up Left); done
  for r in 0 1 2 3 4 5 6 7; do  # along each row and back along the next
    keys+=(Return)
    for _ in 1 2 3 4 5 6 7; do [ $((r % 2)) = 0 ] && keys+=(Right Return) || keys+=(Left Return); done
    keys+=(Down)
  done
  xdotool key --delay 1 "${keys[@]}"
}
while ! { kept host && kept guest; } && ! past; do
  sweep "$ga"; sleep 0.15; boxes
  sweep "$gb"; sleep 0.15; boxes
done
shot 5-end
kept host && kept guest || fail "the game did not end in time"
sleep 0.5
waitfor 30 no_boxes || fail "a box stayed open after the game"
echo "[$SECONDS s] game over"
# Both boards must show the same final position, pixel for pixel, the keyboard's frame gone.
for w in "$ga" "$gb"; do
  xdotool windowactivate --sync "$w"
  click "$w" 300 $((180 + menu_bar))
done
for w in "$ga" "$gb"; do import -window "$w" -crop 240x330+5+$((menu_bar + 10)) +repage "$work/board-$w.png"; done
[ "$(compare -metric AE "$work/board-$ga.png" "$work/board-$gb.png" null: 2>&1)" = 0 ] ||
  fail "the two final boards differ"

python3 "$here/close_window.py" "$gb"
waitfor 100 ended "$b" || fail "the guest did not end"
python3 "$here/close_window.py" "$ga"
waitfor 50 ended "$a"
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
