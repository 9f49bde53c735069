#!/usr/bin/env bash
# Makes the README's screenshots from a real window under Xvfb with a window
# manager, so that they can be made again after any change:
#   scripts/screenshots.sh     -> docs/title.png, docs/game.png
set -euo pipefail
cd "$(dirname "$0")/.."

for p in xvfb openbox xdotool imagemagick fonts-ipafont-gothic; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ -n "${missing[*]:-}" ]; then
  sudo=(); [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
cmake --preset default >/dev/null
cmake --build --preset default --target screenshot_scene >/dev/null

export DISPLAY=:96
Xvfb "$DISPLAY" -screen 0 640x560x24 -nolisten tcp 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
openbox >/dev/null 2>&1 &
sleep 1
mkdir -p docs

shoot() {
  local scene=$1 out=$2
  QT_QPA_PLATFORM=xcb ./build/default/tools/screenshot_scene "$scene" &
  local pid=$!
  local id
  for _ in $(seq 50); do
    id=$(xdotool search --sync --onlyvisible --name '^Vornel' 2>/dev/null | head -n1) && [ -n "$id" ] && break
    sleep 0.1
  done
  sleep 1.5
  # The frame that the window manager draws around the window, caption included.
  local frame
  frame=$(xwininfo -id "$id" -children | awk '/Parent window id/ {print $4}')
  import -window "$frame" "$out"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

shoot title docs/title.png
shoot game docs/game.png
echo "wrote docs/title.png docs/game.png"
