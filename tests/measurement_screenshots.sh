#!/usr/bin/env bash
# The measurement dialog under Xvfb as a user meets it: Ctrl+M, a measured 18 Ом typed, then Enter
# applies the corrected soil and the first row. Usage: tests/measurement_screenshots.sh [build-dir]
# [output-dir]; SCREEN=1920x1080x24 gives another screen than 1024x768x24, and QT_SCALE_FACTOR=2
# passes through to the program. Needs xvfb, xdotool and imagemagick; installs what is missing.
set -euo pipefail
bash "$(dirname "$0")/../scripts/install-deps.sh" xdotool imagemagick
build="${1:-build/release}"
out="${2:-build/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
# A folder of its own, so that the settings file written at close is a first start's.
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
cp "$(cd "$build" && pwd)/ui/stelvorn" "$folder/"

xvfb-run -a -s "-screen 0 ${SCREEN:-1024x768x24}" bash -c '
    set -e
    "$0" & pid=$!
    for _ in $(seq 50); do
        win=$(xdotool search --name "v[.]1[.]" 2>/dev/null | head -n1) && [ -n "$win" ] && break
        sleep 0.1
    done
    sleep 0.5
    xdotool windowfocus "$win"
    xdotool key ctrl+m
    sleep 1
    xdotool type --delay 20 "18"
    sleep 0.5
    import -window root "$1/measurement-dialog.png"
    xdotool key Return
    sleep 0.5
    import -window root "$1/measurement-applied.png"
    kill "$pid"
' "$folder/stelvorn" "$out"
echo "screenshots in $out"
