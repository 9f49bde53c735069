#!/usr/bin/env bash
# Checks what a player installs: the Debian package passes lintian, carries a
# game built with Debian's hardening, comes out the same from a second build,
# its desktop entry and AppStream metainfo validate and make a software
# centre's catalogue, and the game it carries shows its first picture when
# unpacked: on an X server started as the menu starts it, and in an empty
# folder under a Wayland compositor. The two first pictures are left in
# BUILD_DIR as package-check-x.png and package-check-wayland.png.
#   scripts/package-check.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
# CPack gives the archive's members the modes of the files it writes.
umask 022
build=${1:-build/default}

fail() { echo "package check: $*" >&2; exit 1; }
for tool in lintian desktop-file-validate appstreamcli dpkg-parsechangelog hardening-check \
            xvfb-run import identify weston weston-screenshooter; do
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
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$root" "$work"
}
trap cleanup EXIT

# Reproducible: a second build of the same sources, copied to another folder
# and built there later, the game alone, makes the same package byte for
# byte; every date in it is the newest changelog entry's.
released=$(dpkg-parsechangelog -l packaging/changelog -S Timestamp)
dates=$(TZ=UTC dpkg-deb -c "$deb" | awk '{print $4, $5}' | sort -u)
[ "$dates" = "$(date -u -d "@$released" '+%Y-%m-%d %H:%M')" ] ||
  fail "the package's files are dated $dates, not by the changelog"
tar -C . --exclude=./build --exclude=./.git -cf - . | (mkdir "$work/src" && tar -C "$work/src" -xf -)
rebuild="$work/src/$(realpath --relative-to=. "$build")"
cmake -S "$work/src" -B "$rebuild" -G Ninja -DBUILD_TESTING=OFF -DVORNEL_BENCH=OFF \
  -DCMAKE_BUILD_TYPE="$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")" >/dev/null
cmake --build "$rebuild" -j"$(nproc)" >/dev/null
(cd "$rebuild" && cpack -G DEB >/dev/null)
if ! cmp -s "$deb" "$rebuild/$(basename "$deb")"; then
  dpkg-deb -R "$deb" "$work/first"
  dpkg-deb -R "$rebuild/$(basename "$deb")" "$work/second"
  diff -r "$work/first" "$work/second" >&2 || true
  fail "a second build of the same sources made another package"
fi
echo "reproducible: a second build made the same package, dated $dates"

dpkg-deb -x "$deb" "$root"
game=usr/games/vornel
# Debian's hardening, as dpkg-buildflags gives it. Control-flow protection is
# left out: Debian 12's C library start files carry no IBT or SHSTK mark, so
# no program linked on it can show one.
hardening-check --nocfprotection "$root/$game" || fail "the game lacks Debian's hardening"
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
# The package's version is the project's; the changelog's newest entry and
# the metainfo's newest release must name it.
version=$(dpkg-deb --field "$deb" Version)
logged=$(zcat "$root/usr/share/doc/vornel/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[ "$logged" = "$version" ] || fail "the newest changelog entry is $logged, not the package's version"
released=$(grep -o -m1 '<release version="[^"]*"' "$root/usr/share/metainfo/io.github.vornel.Vornel.metainfo.xml" |
           cut -d'"' -f2)
[ "$released" = "$version" ] || fail "the metainfo's newest release is '$released', not the package's version"

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
