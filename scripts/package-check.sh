#!/usr/bin/env bash
# Checks what a player installs: the Debian package passes lintian, its
# desktop entry and AppStream metainfo validate, and the game it carries shows
# its first picture when unpacked: on an X server started as the menu starts
# it, and in an empty folder under a Wayland compositor. The two first pictures are left in BUILD_DIR
# as package-check-x.png and package-check-wayland.png.
#   scripts/package-check.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}

fail() { echo "package check: $*" >&2; exit 1; }
for tool in lintian desktop-file-validate appstreamcli dpkg-parsechangelog xvfb-run import \
            identify weston weston-screenshooter; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/dev installs it)"
done
[ -x /usr/libexec/appstreamcli-compose ] || fail "appstream-compose is not installed (scripts/dev installs it)"

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/vornel_*.deb | head -n1)
echo "package: $deb"
dpkg-deb --field "$deb" Version Depends Recommends

# Debian's own checker: every error and warning fails; info and pedantic
# notes are shown but allowed.
lintian --display-info --pedantic --fail-on error,warning "$deb" || fail "lintian found errors or warnings"
echo "lintian: no errors or warnings"

root=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$root"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$root"
game=usr/games/vornel
for f in "$game" usr/share/applications/vornel.desktop \
         usr/share/metainfo/io.github.vornel.Vornel.metainfo.xml \
         usr/share/icons/hicolor/{16x16,32x32,64x64,128x128,256x256}/apps/vornel.png \
         usr/share/icons/hicolor/scalable/apps/vornel.svg \
         usr/share/man/man6/vornel.6.gz usr/share/doc/vornel/copyright usr/share/doc/vornel/changelog.gz; do
  [ -e "$root/$f" ] || fail "missing from the package: $f"
done
desktop-file-validate "$root/usr/share/applications/vornel.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.vornel.Vornel.metainfo.xml"
# What a software centre's catalogue makes of the package: no error and no
# warning (icons large enough, the entry and metainfo agreeing, ...).
report=$(appstreamcli compose --no-color --no-net --print-report=full --origin=vornel \
           --result-root="$root/catalogue" "$root" 2>&1) || { echo "$report" >&2; fail "appstreamcli compose failed"; }
echo "$report" | grep -q '^ *[EW]: ' && { echo "$report" >&2; fail "appstreamcli compose raised errors or warnings"; }
zcat "$root/catalogue/usr/share/swcatalog/xml/vornel.xml.gz" | grep -q '<icon type="cached" width="128"' ||
  fail "the catalogue has no 128-pixel icon"
rm -r "$root/catalogue"
echo "appstreamcli compose: catalogue made without errors or warnings"
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/vornel.desktop")
[ "$exec_line" = "/$game --menu" ] || fail "the desktop entry starts '$exec_line', not /$game --menu"
logged=$(zcat "$root/usr/share/doc/vornel/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[ "$logged" = "$(dpkg-deb --field "$deb" Version)" ] ||
  fail "the newest changelog entry is $logged, not the package's version"

colours() { identify -format '%k' "$1"; }
# The title picture has the board's many shades.
expect_title() {
  local shot=$1 where=$2 n
  n=$(colours "$shot")
  echo "first picture of the installed game $where: $n colours"
  [ "$n" -gt 50 ] || fail "the installed game showed no title picture $where"
}

# On a real X server, started as a desktop's launcher starts the menu entry:
# its Exec line, from the home folder. The game plays in the player's data
# folder, which it makes, and writes nothing else.
home="$root/home"
mkdir "$home"
data="$home/.local/share/vornel"
shot="$root/shot.png"
(cd "$home" && HOME="$home" xvfb-run -a -s "-screen 0 640x560x24" bash -c "
  unset XDG_DATA_HOME
  QT_QPA_PLATFORM=xcb '$root'$exec_line & pid=\$!
  sleep 3
  kill -0 \$pid || exit 3
  import -window root '$shot'
  readlink /proc/\$pid/cwd >'$root/menu-cwd'
  kill \$pid")
expect_title "$shot" "under X"
cp "$shot" "$build/package-check-x.png"
[ "$(cat "$root/menu-cwd")" = "$data" ] || fail "started from the menu, the game plays in $(cat "$root/menu-cwd")"
[ "$(stat -c %a "$data")" = 700 ] || fail "the data folder $data is not private"
[ -z "$(ls -A "$data")" ] || fail "start-up wrote into the data folder"
[ "$(ls -A "$home")" = .local ] || fail "start-up wrote into the home folder: $(ls -A "$home")"

# Under a headless Wayland compositor with a desktop shell, as in a GNOME or
# KDE session: Qt's Wayland plugin and no X server to fall back to. The shell
# draws a black screen and nothing else, so every colour comes from the game.
runtime="$root/runtime"
mkdir -m 0700 "$runtime"
socket="vornel-check-$$"
cat >"$root/weston.ini" <<'EOF'
[core]
idle-time=0
[shell]
panel-position=none
background-color=0xff000000
startup-animation=none
animation=none
close-animation=none
focus-animation=none
EOF
XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --use-pixman --debug \
  --socket="$socket" --width=640 --height=560 --config="$root/weston.ini" \
  >"$root/weston.log" 2>&1 &
weston=$!
pids+=("$weston")
for _ in $(seq 100); do
  [ -S "$runtime/$socket" ] && break
  kill -0 "$weston" 2>/dev/null || break
  sleep 0.1
done
[ -S "$runtime/$socket" ] || { cat "$root/weston.log" >&2; fail "weston did not start"; }

wayland_shot() {
  local dir
  dir=$(mktemp -d -p "$root")
  (cd "$dir" && XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" weston-screenshooter) || fail "weston-screenshooter failed"
  mv "$dir"/wayland-screenshot-*.png "$1" 2>/dev/null || fail "weston-screenshooter wrote no picture"
}
wayland_shot "$root/empty.png"
[ "$(colours "$root/empty.png")" -le 2 ] || fail "the compositor shows more than a plain screen by itself"

mkdir "$root/cwd-wayland"
env -u DISPLAY -C "$root/cwd-wayland" XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" \
  QT_QPA_PLATFORM=wayland "$root/$game" >"$root/game-wayland.log" 2>&1 &
pid=$!
pids+=("$pid")
shot="$root/shot-wayland.png"
for _ in $(seq 40); do
  kill -0 "$pid" 2>/dev/null || { cat "$root/game-wayland.log" >&2; fail "the game ended under Wayland"; }
  sleep 0.5
  wayland_shot "$shot"
  [ "$(colours "$shot")" -gt 50 ] && break
done
kill -0 "$pid" 2>/dev/null || { cat "$root/game-wayland.log" >&2; fail "the game ended under Wayland"; }
expect_title "$shot" "under Wayland"
cp "$shot" "$build/package-check-wayland.png"
[ -z "$(ls -A "$root/cwd-wayland")" ] || fail "start-up wrote into its folder under Wayland"
echo "package check passed"
