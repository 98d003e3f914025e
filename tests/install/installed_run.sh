#!/usr/bin/env bash
# The installed program as a user starts it: a real window under a private Xvfb display and
# a data folder of the user's own. Closing the dialog must leave velm.dat in
# $XDG_DATA_HOME/velmora/ and nothing in the program folder. Skipped (exit 77) without Xvfb.
#   installed_run.sh <prefix> <close_window.py>
set -u
prefix=$1 closer=$2
for tool in Xvfb openbox xprop xdotool python3; do
  command -v $tool >/dev/null || { echo "SKIP: $tool is not installed, the installed program was not started"; exit 77; }
done
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/desktop_session.sh"
start_desktop 1024x768
# A desktop session always has a UTF-8 locale; the window is found by its Japanese title.
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8
unset LC_ALL
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$work/runtime"

(cd "$work" && exec "$prefix/bin/velmora" >"$work/velmora.out" 2>&1) &
pid=$!
pids+=($pid)
dialog=""
for _ in $(seq 600); do
  dialog=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Netへの接続$' 2>/dev/null | head -1)
  [ -n "$dialog" ] && break
  ended "$pid" && fail "the program ended before its dialog showed"
  sleep 0.1
done
# What the program shows and where its main thread waits, for a start that never shows the dialog.
program_state() {
  local id
  for id in $(xdotool search --pid "$1" 2>/dev/null); do
    printf 'window %s "%s"; ' "$id" "$(xdotool getwindowname "$id" 2>/dev/null)"
  done
  printf 'main thread %s, waiting in %s' "$(awk '/^State/ {print $2}' "/proc/$1/status" 2>/dev/null)" \
    "$(cat "/proc/$1/wchan" 2>/dev/null)"
}
[ -n "$dialog" ] || fail "no dialog within a minute ($(program_state "$pid"))"
python3 "$closer" "$dialog"
waitfor 600 ended "$pid" || fail "the program did not end when its dialog was closed"

[ "$(stat -c %s "$XDG_DATA_HOME/velmora/velm.dat" 2>/dev/null)" = 412 ] || fail "no velm.dat in \$XDG_DATA_HOME/velmora/"
leftovers=$(find "$prefix/lib/velmora" -name 'velm.dat*' -o -name Chat.log)
[ -z "$leftovers" ] || fail "written into the program folder: $leftovers"
echo "1 passed, 0 failed"
