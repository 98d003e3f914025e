#!/usr/bin/env bash
# The desktop entry or the AppStream metainfo as installed, checked by the desktop's own
# validator; skipped (exit 77) when that validator is not installed.
#   validate.sh desktop_entry|metainfo <prefix>
set -u
what=$1 prefix=$2
entry=$prefix/share/applications/org.example.Velmora.desktop
metainfo=$prefix/share/metainfo/org.example.Velmora.metainfo.xml
need() {
  command -v "$1" >/dev/null || { echo "SKIP: $1 is not installed (Debian package $2), nothing validated"; exit 77; }
}
case $what in
  desktop_entry)
    need desktop-file-validate desktop-file-utils
    desktop-file-validate "$entry" || exit 1
    for line in "Categories=Game;BoardGame;" "Exec=velmora" "Icon=velmora"; do
      grep -qxF "$line" "$entry" || { echo "FAIL: no $line"; exit 1; }
    done
    for key in Name Comment; do
      grep -q "^$key=" "$entry" && grep -q "^$key\[ja\]=" "$entry" || { echo "FAIL: $key in English and Japanese"; exit 1; }
    done ;;
  metainfo)
    need appstreamcli appstream
    # The screenshot lies on the project's web site, which a test does not reach.
    appstreamcli validate --no-net "$metainfo" || exit 1
    grep -q '<launchable type="desktop-id">org.example.Velmora.desktop</launchable>' "$metainfo" &&
      grep -q '<screenshot' "$metainfo" && grep -q '<description>' "$metainfo" ||
      { echo "FAIL: the metainfo names no desktop entry, screenshot or description"; exit 1; } ;;
esac
echo "1 passed, 0 failed"
