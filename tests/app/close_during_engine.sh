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
source "$here/../support/desktop_session.sh"
start_desktop 1024x768

# The program folder with the hung engine as its only one.
copy_program prog
rm -rf "$work/prog/DllCpu"
mkdir -p "$work/prog/DllCpu/Hang"
cp "$hang" "$work/prog/DllCpu/Hang/TEKUM.DLL"
run_program prog
velmora=$program

dialog=$(find_window "$velmora" 'Netへの接続') || fail "no dialog"
xdotool windowactivate --sync "$dialog"
click "$dialog" 60 57    # rgNet: 接続しない
click "$dialog" 160 180  # edUserName
xdotool key ctrl+a BackSpace
xdotool type --delay 20 taro
shot 0-dialog
click "$dialog" 80 268   # OK
menu=$(find_window "$velmora" '対戦メニュー') || fail "no match menu"
game=$(find_window "$velmora" 'Velmora')
xdotool windowactivate --sync "$menu"
# The first side's engine list is shown, its engine marked in the colour of a selection, once
# "Cpu" is chosen; the choice offers "Cpu" once the engine search has found the engine.
engine_chosen() {
  local saturation
  saturation=$(import -window "$menu" -crop 121x20+16+72 +repage png:- 2>/dev/null |
    convert - -colorspace HSL -channel G -separate +channel -format '%[fx:maxima]' info: 2>/dev/null)
  awk -v s="${saturation:-0}" 'BEGIN { exit !(s > 0.3) }'
}
for _ in $(seq 20); do
  xdotool key End          # cbPlay1, first in the window's tab order: its last entry, "Cpu" once found
  waitfor 10 engine_chosen && break
done
engine_chosen || fail "the engine was never offered"
shot 1-menu
click "$menu" 88 240     # スタート

runner() { pgrep -f "^$work/prog/velmora-engine move" >/dev/null; }
waitfor 100 runner || fail "the engine was not asked for a move"
shot 2-thinking
start=$(date +%s%N)
python3 "$here/../netplay/close_window.py" "$game"
waitfor 100 ended "$velmora" || fail "the program did not end within 10 s"
ms=$(( ($(date +%s%N) - start) / 1000000 ))
wait "$velmora"
status=$?

[ "$status" = 0 ] || fail "exit status $status"
runner && fail "an engine runner was left behind"
[ "$(stat -c %s "$work/prog/velm.dat" 2>/dev/null)" = 412 ] || fail "velm.dat was not written"
[ -f "$work/prog/Chat.log" ] || fail "Chat.log was not written"
echo "OK: closed in $ms ms while the engine hung; velm.dat and Chat.log written, no runner left"
