#!/usr/bin/env bash
# What `cmake --install` put under the prefix: the command, the whole program folder (every
# program and engine folder the build made), the desktop's files, and the command's answers on
# a terminal without a display.
#   install_layout.sh <prefix> <build/bin>
set -u
prefix=$1 bin=$2 failed=0
fail() { echo "FAIL: $*"; failed=1; }
has() { [ -e "$prefix/$1" ] || fail "$1 is missing"; }

for command in velmora velmora-review; do
  [ "$(readlink "$prefix/bin/$command")" = "../lib/velmora/$command" ] || fail "bin/$command does not lead to lib/velmora/$command"
done
for f in lib/velmora/velmora lib/velmora/velmora.installed lib/velmora/help/start.html lib/velmora/help/start2.html \
         lib/velmora/help/ame.html share/applications/org.example.Velmora.desktop \
         share/metainfo/org.example.Velmora.metainfo.xml share/man/man6/velmora.6.gz share/man/man6/velmora-review.6.gz share/doc/velmora/copyright; do
  has "$f"
done
for size in 16 22 24 32 48 64 128 256; do has "share/icons/hicolor/${size}x${size}/apps/velmora.png"; done
ls "$prefix"/lib/velmora/*.bmp >/dev/null 2>&1 || fail "no character picture in lib/velmora"
# Every program beside velmora (helpers) and every engine folder with all it holds.
for f in "$bin"/*; do
  [ -f "$f" ] && [ -x "$f" ] && has "lib/velmora/${f##*/}"
done
for engine in "$bin"/DllCpu/*/; do
  for f in "$engine"*; do has "lib/velmora/DllCpu/$(basename "$engine")/${f##*/}"; done
done

# Asked on a terminal, with no display at all.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/velmora" --help 2>&1) || fail "--help: exit $?"
grep -q "Usage:" <<<"$out" || fail "--help says: $out"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/velmora" --version 2>&1) || fail "--version: exit $?"
grep -qx "velmora [0-9.]*" <<<"$out" || fail "--version says: $out"

[ $failed = 0 ] && echo "1 passed, 0 failed"
exit $failed
