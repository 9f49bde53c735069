#!/usr/bin/env bash
# Checks what a player installs: the desktop entry and AppStream metainfo
# validate, and the Debian package carries everything the game needs to show
# its first picture when unpacked into an empty folder.
#   scripts/package-check.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}

desktop-file-validate packaging/vornel.desktop
appstreamcli validate --no-net packaging/io.github.vornel.Vornel.metainfo.xml

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/vornel_*.deb | head -n1)
echo "package: $deb"
dpkg-deb --field "$deb" Depends

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for f in usr/games/vornel usr/share/applications/vornel.desktop \
         usr/share/metainfo/io.github.vornel.Vornel.metainfo.xml \
         usr/share/icons/hicolor/32x32/apps/vornel.png usr/share/icons/hicolor/16x16/apps/vornel.png; do
  [ -e "$root/$f" ] || { echo "missing from the package: $f" >&2; exit 1; }
done

# Start the unpacked game on a real X server in an empty folder and look at
# what it shows: the title picture has the board's many shades.
mkdir "$root/cwd"
shot="$root/shot.png"
(cd "$root/cwd" && xvfb-run -a -s "-screen 0 640x560x24" bash -c "
  QT_QPA_PLATFORM=xcb '$root/usr/games/vornel' & pid=\$!
  sleep 3
  kill -0 \$pid || exit 3
  import -window root '$shot'
  kill \$pid")
colours=$(identify -format '%k' "$shot")
echo "first picture of the installed game: $colours colours"
[ "$colours" -gt 50 ] || { echo "the installed game showed no title picture" >&2; exit 1; }
[ ! -e "$root/cwd/vornel.dat" ] || { echo "start-up wrote the ranking file" >&2; exit 1; }
echo "package check passed"
