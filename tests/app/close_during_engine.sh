#!/usr/bin/env bash
# The real program, closed while its engine hangs: a copy of the program folder whose only
# engine never answers, started under a private Xvfb display and driven with xdotool (no
# network, the engine for the first side), closed while the engine thinks. The program must end
# at once (well before the engine's time limit of a minute) with a clean exit, write velm.dat
# and Chat.log, and leave no engine runner behind. Prints how long the close took.
#   tests/app/close_during_engine.sh <program folder> <engine that never returns>
# Needs Xvfb, openbox, xdotool, xprop, python3 (and ImageMagick with VELM_SHOTS=<folder>).
set -u
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1" && pwd)
hang=$2
work=$(mktemp -d)
pids=()
cleanup() {
  # A runner dies with the program that started it.
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/out" ] && cat "$work/out" >&2
  exit 1
}
shot() { [ -n "${VELM_SHOTS:-}" ] && import -window root "$VELM_SHOTS/$1.png"; true; }
waitfor() {  # tenths of a second, command...
  local n=$1
  shift
  for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done
  return 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
waitfor 100 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
waitfor 50 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'

# The program folder with the hung engine as its only one.
cp -r "$bin" "$work/prog"
rm -rf "$work/prog/DllCpu" "$work/prog/velm.dat" "$work/prog/Chat.log"
mkdir -p "$work/prog/DllCpu/Hang"
cp "$hang" "$work/prog/DllCpu/Hang/TEKUM.DLL"
(cd "$work/prog" && XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb exec ./velmora >"$work/out" 2>&1) &
velmora=$!
pids+=("$velmora")

window() {  # title -> window id
  xdotool search --all --onlyvisible --pid "$velmora" --name "^$1" 2>/dev/null | head -1
}
shown() { [ -n "$(window "$1")" ]; }
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.2; }

waitfor 100 shown 'Netへの接続' || fail "no dialog"
dialog=$(window 'Netへの接続')
xdotool windowactivate --sync "$dialog"
click "$dialog" 60 57    # rgNet: 接続しない
click "$dialog" 160 180  # edUserName
xdotool type --delay 20 taro
shot 0-dialog
click "$dialog" 80 268   # OK
waitfor 100 shown '対戦メニュー' || fail "no match menu"
menu=$(window '対戦メニュー')
game=$(window 'Velmora')
xdotool windowactivate --sync "$menu"
sleep 2                  # the engine search: a few milliseconds for one engine
click "$menu" 76 53      # cbPlay1
xdotool key End Return   # "Cpu", its last entry
sleep 0.3
shot 1-menu
click "$menu" 88 240     # スタート

runner() { pgrep -f "^$work/prog/velmora-engine move" >/dev/null; }
waitfor 100 runner || fail "the engine was not asked for a move"
shot 2-thinking
start=$(date +%s%N)
python3 "$here/../netplay/close_window.py" "$game"
waitfor 100 sh -c "! kill -0 $velmora 2>/dev/null" || fail "the program did not end within 10 s"
ms=$(( ($(date +%s%N) - start) / 1000000 ))
wait "$velmora"
status=$?

[ "$status" = 0 ] || fail "exit status $status"
runner && fail "an engine runner was left behind"
[ "$(stat -c %s "$work/prog/velm.dat" 2>/dev/null)" = 412 ] || fail "velm.dat was not written"
[ -f "$work/prog/Chat.log" ] || fail "Chat.log was not written"
echo "OK: closed in $ms ms while the engine hung; velm.dat and Chat.log written, no runner left"
